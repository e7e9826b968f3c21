#include "favorites/BrowserImport.h"

#include <windows.h>

#include <cstdio>

#include "config/FileSystem.h"
#include "config/SharedIni.h"
#include "favorites/BookmarkFile.h"
#include "favorites/BookmarkImport.h"
#include "favorites/FavoritePaths.h"
#include "favorites/FavoritesStore.h"
#include "favorites/LastImport.h"
#include "platform/Trace.h"

namespace {
// Microseconds since 1601-01-01 UTC as the local date "dd.mm.yyyy"; "" when out of range.
std::string localDate(uint64_t microseconds) {
    if (microseconds > UINT64_MAX / 10) return "";
    uint64_t ticks = microseconds * 10;
    FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time)) return "";
    char text[32];
    std::snprintf(text, sizeof(text), "%02d.%02d.%02d", time.wDay, time.wMonth, time.wYear);
    return text;
}

int fail(std::string* why, const std::string& reason) {
    if (why) *why = reason;
    return -1;
}
} // namespace

ChromiumBookmarkReader browserBookmarkReader(const BrowserProfile& profile) {
    return ChromiumBookmarkReader(profile.rootNames, wideToAnsi, localDate);
}

std::string readBrowserBookmarks(const BrowserProfile& profile, ChromiumBookmarkReader& reader) {
    if (!profile.problem.empty()) return profile.problem;
    for (const std::string& path : {profile.bookmarksFile, profile.accountFile}) {
        if (path.empty() || !fileExists(path)) continue;
        std::optional<std::string> text = readFileInUse(path, kMaxChromiumBookmarksFile);
        if (!text) return "Lesezeichen nicht lesbar: " + path;
        if (!reader.add(*text)) return "keine Lesezeichen-Datei: " + path;
    }
    return "";
}

int import_Browser(const std::string& destFolder, const std::string& profileId, std::string* why) {
    trace("<<< import_Browser BEGIN >>>\n");
    std::optional<BrowserProfile> profile = findBrowserProfile(profileId);
    if (!profile) return fail(why, "kein Browser-Profil " + profileId);
    ChromiumBookmarkReader reader = browserBookmarkReader(*profile);
    std::string problem = readBrowserBookmarks(*profile, reader);
    if (!problem.empty()) return fail(why, problem);

    FolderPathParts dest = splitFolderPath(destFolder);
    BookmarkNode root(kFolderNode, dest.name, "");
    root.firstChild = reader.takeTree();
    StoreBatch batch;
    ImportUndoCapture undo(ImportKind::favorites, destFolder);
    std::string rootSection = getFavTreeRoot() + (dest.parent.empty() ? "" : "\\" + dest.parent);
    importBookmarkTree(sharedStoreNodes(), rootSection, &root, getDateString());
    // A result that does not fit the shared store is refused whole: the store is as before.
    if (!batch.commit()) return fail(why, "die Lesezeichen passen nicht in die Konfiguration");
    if (!saveSharedIniAfterChange()) return -1; // the user has been told why
    undo.keep();
    trace("<<< import_Browser END >>>\n");
    return 1;
}
