#include "platform/Registry.h"

#include "platform/Handles.h"

#include <shlobj.h>

namespace {
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
}

std::string readRegistryString(HKEY root, const std::string& subKey, const std::string& valueName,
                               const std::string& defaultValue, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return defaultValue;
    ScopedRegKey key(opened);
    char buffer[1024] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer);
    LONG status = RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return defaultValue;
    // The stored value need not be zero-terminated; take what was delivered up to its zero.
    return std::string(buffer, strnlen(buffer, size < sizeof(buffer) ? size : sizeof(buffer)));
}

bool getRegistrySubKeys(const std::string& subKey, HKEY root, std::vector<std::string>& names) {
    if (subKey.empty()) return false;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return false;
    ScopedRegKey key(opened);
    for (DWORD index = 0;; ++index) {
        char name[512] = {};
        DWORD length = sizeof(name);
        LONG status = RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) continue;
        names.emplace_back(name, length);
    }
    return true;
}

std::string getFavoritesFolder() { return readRegistryString(HKEY_CURRENT_USER, kShellFolders, "Favorites", ""); }
std::string getPersonalFolder() { return readRegistryString(HKEY_CURRENT_USER, kShellFolders, "Personal", "c:\\"); }
std::string getAppDataFolder() { return readRegistryString(HKEY_CURRENT_USER, kShellFolders, "AppData", "c:\\"); }

std::string getLocalAppDataFolder() {
    std::string folder = readRegistryString(HKEY_CURRENT_USER, kShellFolders, "Local AppData", "");
    if (!folder.empty()) return folder;
    char path[MAX_PATH] = {};
    return SHGetSpecialFolderPathA(nullptr, path, CSIDL_LOCAL_APPDATA, FALSE) ? path : "";
}
