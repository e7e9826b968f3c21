#include "favorites/NetscapeProfiles.h"

#include <windows.h>

#include "favorites/FavoritePaths.h"
#include "platform/Registry.h"

namespace {
const std::string kNavigatorKey = "Software\\Netscape\\Netscape Navigator";
const std::string kUsersKey = kNavigatorKey + "\\biff\\users";

std::string currentUserValue(const std::string& subKey, const std::string& name) {
    return readRegistryString(HKEY_CURRENT_USER, subKey, name, "");
}

// Netscape Navigator is a 32-bit program: 64-bit Windows keeps its machine keys, and the
// program folder it was installed into, in the 32-bit view. HKCU\Software is not redirected.
std::string machineValue(const std::string& subKey, const std::string& name) {
    return readRegistryString(HKEY_LOCAL_MACHINE, subKey, name, "", KEY_WOW64_32KEY);
}
} // namespace

std::string getNetscapeVersion() {
    return machineValue("SOFTWARE\\Netscape\\Netscape Navigator", "CurrentVersion");
}

std::string getNetscapeCurrentUser() { return currentUserValue(kNavigatorKey + "\\biff", "CurrentUser"); }

std::string getNetscapeInstallDirectory() { return currentUserValue(kNavigatorKey + "\\Main", "Install Directory"); }

bool getNetscapeUserList(std::vector<std::string>& users) {
    return getRegistrySubKeys(kUsersKey, HKEY_CURRENT_USER, users);
}

std::string getUserBookmarkPath(const std::string& user) {
    std::string userKey = kUsersKey + "\\" + user;
    std::string server = currentUserValue(userKey, "defaultServer");
    if (!server.empty()) {
        std::string popstate = currentUserValue(userKey + "\\servers\\" + server, "popstatePath");
        return popstate.empty() ? std::string() : bookmarkPathFromPopstate(popstate);
    }
    std::string installDirectory = getNetscapeInstallDirectory();
    return installDirectory.empty() ? std::string() : bookmarkPathFromInstallDirectory(installDirectory, user);
}

std::string getDefaultBookmarkPath() {
    std::string programFiles =
        machineValue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
    return programFiles.empty() ? std::string() : defaultBookmarkPathFrom(programFiles);
}

std::string resolveBookmarkPath(const std::string& user) {
    std::string path = getUserBookmarkPath(user);
    if (path.empty() && user == "default") path = getDefaultBookmarkPath();
    return path;
}
