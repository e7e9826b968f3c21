#include "favorites/BrowserProfiles.h"

#include <windows.h>

#include "favorites/BookmarkFile.h"
#include "favorites/ChromiumLocalState.h"
#include "favorites/FirefoxBookmarks.h"
#include "favorites/FirefoxProfilesIni.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/Registry.h"

namespace {
const ChromiumRootNames kChromeRoots{"Lesezeichenleiste", "Weitere Lesezeichen", "Mobile Lesezeichen"};
const ChromiumRootNames kEdgeRoots{"Favoritenleiste", "Weitere Favoriten", "Mobile Favoriten"};

struct Browser {
    const char* name;  // the id's first part
    const char* shown; // the wizard's name of the browser
    bool roaming;      // below the roaming application data folder, else the local one
    const char* folder;
    bool singleProfile; // the folder is the one profile
    const ChromiumRootNames& roots;
};

const Browser kBrowsers[] = {
    {"chrome", "Google Chrome", false, "Google\\Chrome\\User Data", false, kChromeRoots},
    {"chrome-beta", "Google Chrome Beta", false, "Google\\Chrome Beta\\User Data", false, kChromeRoots},
    {"chrome-canary", "Google Chrome Canary", false, "Google\\Chrome SxS\\User Data", false, kChromeRoots},
    {"chromium", "Chromium", false, "Chromium\\User Data", false, kChromeRoots},
    {"edge", "Microsoft Edge", false, "Microsoft\\Edge\\User Data", false, kEdgeRoots},
    {"brave", "Brave", false, "BraveSoftware\\Brave-Browser\\User Data", false, kChromeRoots},
    {"vivaldi", "Vivaldi", false, "Vivaldi\\User Data", false, kChromeRoots},
    {"opera", "Opera", true, "Opera Software\\Opera Stable", true, kChromeRoots},
    {"opera-gx", "Opera GX", true, "Opera Software\\Opera GX Stable", true, kChromeRoots},
};

std::string utf8ToAnsi(const std::string& text) {
    if (text.empty()) return text;
    int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (count <= 0) return "";
    std::u16string units(static_cast<size_t>(count), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                        reinterpret_cast<LPWSTR>(units.data()), count);
    return wideToAnsi(units).value_or("");
}

// Why a bookmarks file cannot be read, or "" when it opens and its text begins as a JSON object.
// Only its first bytes are read: the wizard lists the profiles while it opens.
std::string readProblem(const std::string& path) {
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    char start[64] = {};
    DWORD read = 0;
    if (!file || !GetFileSizeEx(file.get(), &size) ||
        size.QuadPart > static_cast<LONGLONG>(kMaxChromiumBookmarksFile) ||
        !ReadFile(file.get(), start, sizeof(start), &read, nullptr))
        return "Lesezeichen nicht lesbar";
    std::string_view text(start, read);
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || text[first] != '{')
        return "Lesezeichen verschl\xFCsselt oder besch\xE4\x64igt";
    return "";
}

void addProfile(std::vector<BrowserProfile>& profiles, const Browser& browser,
                const std::string& profileFolder, const std::string& folderName,
                const std::string& shownName) {
    BrowserProfile profile;
    profile.bookmarksFile = appendPath(profileFolder, "Bookmarks");
    profile.accountFile = appendPath(profileFolder, "AccountBookmarks");
    bool hasOwn = fileExists(profile.bookmarksFile), hasAccount = fileExists(profile.accountFile);
    if (!hasOwn && !hasAccount) return;
    if (!hasOwn) std::swap(profile.bookmarksFile, profile.accountFile);
    profile.id = std::string(browser.name) + ":" + folderName;
    profile.displayText = std::string(browser.shown) + (shownName.empty() ? "" : " \x96 " + shownName);
    profile.problem = readProblem(profile.bookmarksFile);
    profile.rootNames = browser.roots;
    profiles.push_back(std::move(profile));
}

std::vector<std::string> subfolders(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileA(appendPath(folder, "*").c_str(), &entry));
    if (!find) return names;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isDotEntry(entry.cFileName))
            names.emplace_back(entry.cFileName);
    } while (FindNextFileA(find.get(), &entry));
    return names;
}

void addBrowser(std::vector<BrowserProfile>& profiles, const Browser& browser) {
    std::string base = browser.roaming ? getAppDataFolder() : getLocalAppDataFolder();
    if (base.empty()) return;
    std::string userData = appendPath(base, browser.folder);
    if (!isDirectory(userData)) return;
    if (browser.singleProfile) {
        addProfile(profiles, browser, userData, userData.substr(userData.rfind('\\') + 1), "");
        return;
    }
    std::vector<std::string> listed;
    std::optional<std::string> localState = readFileInUse(appendPath(userData, "Local State"), 16u << 20);
    for (const ChromiumProfileEntry& entry : parseLocalStateProfiles(localState.value_or(""))) {
        if (entry.folder.find_first_of("\\/:") != std::string::npos || entry.folder == "..") continue;
        listed.push_back(entry.folder);
        addProfile(profiles, browser, appendPath(userData, entry.folder), entry.folder,
                   utf8ToAnsi(entry.displayName));
    }
    for (const std::string& folder : subfolders(userData)) {
        bool known = false;
        for (const std::string& each : listed)
            known = known || CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, each.c_str(), -1,
                                            folder.c_str(), -1) == CSTR_EQUAL;
        if (!known) addProfile(profiles, browser, appendPath(userData, folder), folder, folder);
    }
}
// Firefox's profiles as its profiles.ini lists them, those with a database or a backup.
void addFirefox(std::vector<BrowserProfile>& profiles) {
    std::string base = getAppDataFolder();
    if (base.empty()) return;
    std::string firefox = appendPath(base, "Mozilla\\Firefox");
    std::optional<std::string> ini = readFileInUse(appendPath(firefox, "profiles.ini"), 1u << 20);
    if (!ini) return;
    for (const FirefoxProfileEntry& entry : parseFirefoxProfiles(*ini)) {
        std::string path = utf8ToAnsi(entry.path);
        if (path.empty()) continue;
        std::string folder = entry.relative ? appendPath(firefox, path) : path;
        BrowserProfile profile;
        profile.kind = BrowserKind::Firefox;
        profile.bookmarksFile = appendPath(folder, kPlacesFile);
        if (!fileExists(profile.bookmarksFile) && newestFirefoxBackup(folder).empty()) continue;
        std::string folderName = profileFolderName(folder), shownName = utf8ToAnsi(entry.name);
        profile.id = "firefox:" + folderName;
        profile.displayText = "Mozilla Firefox \x96 " + (shownName.empty() ? folderName : shownName);
        profiles.push_back(std::move(profile));
    }
}
} // namespace

std::vector<BrowserProfile> findBrowserProfiles() {
    std::vector<BrowserProfile> profiles;
    for (const Browser& browser : kBrowsers)
        addBrowser(profiles, browser);
    addFirefox(profiles);
    return profiles;
}

std::optional<BrowserProfile> findBrowserProfile(const std::string& id) {
    for (BrowserProfile& profile : findBrowserProfiles())
        if (profile.id == id) return std::move(profile);
    return std::nullopt;
}
