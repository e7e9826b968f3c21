#include "favorites/BrowserImport.h"

#include <windows.h>

#include <cstdio>

#include "config/SharedStore.h"
#include "favorites/BookmarkFile.h"
#include "favorites/BookmarkImport.h"
#include "favorites/FavoritePaths.h"
#include "favorites/FirefoxBookmarks.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Trace.h"
#include "store/LastImport.h"
#include "store/OperationResult.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"

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

int fail(BrowserImportNotes* notes, const std::string& reason) {
    if (notes) notes->why = reason;
    return kOperationFailed;
}

BrowserBookmarks readChromiumBookmarks(const BrowserProfile& profile) {
    BrowserBookmarks result;
    result.fileRead = profile.bookmarksFile;
    if (!profile.problem.empty()) {
        result.problem = profile.problem;
        return result;
    }
    ChromiumBookmarkReader reader(profile.rootNames, wideToAnsi, localDate);
    for (const std::string& path : {profile.bookmarksFile, profile.accountFile}) {
        if (path.empty() || !fileExists(path)) continue;
        std::optional<std::string> text = readFileInUse(path, kMaxChromiumBookmarksFile);
        if (!text || !reader.add(*text)) {
            result.problem = (text ? "keine Lesezeichen-Datei: " : "Lesezeichen nicht lesbar: ") + path;
            return result;
        }
    }
    result.links = reader.linkCount();
    result.roots = reader.takeTree();
    return result;
}
} // namespace

BrowserBookmarks readBrowserBookmarks(const BrowserProfile& profile) {
    switch (profile.kind) {
    case BrowserKind::Firefox:
        return readFirefoxBookmarks(profile, BrowserNodeMaker(wideToAnsi, localDate));
    case BrowserKind::Chromium:
        break;
    }
    return readChromiumBookmarks(profile);
}

int import_Browser(SharedStore& store, const std::string& destFolder, const std::string& profileId,
                   BrowserImportNotes* notes) {
    trace("<<< import_Browser BEGIN >>>\n");
    std::optional<BrowserProfile> profile = findBrowserProfile(profileId);
    if (!profile) return fail(notes, "kein Browser-Profil " + profileId);
    BrowserBookmarks bookmarks = readBrowserBookmarks(*profile);
    if (!bookmarks.problem.empty()) return fail(notes, bookmarks.problem);
    if (notes) {
        notes->backupDate = bookmarks.backupDate;
        notes->databaseProblem = bookmarks.databaseProblem;
    }

    FolderPathParts dest = splitFolderPath(destFolder);
    BookmarkNode root(kFolderNode, dest.name, "");
    root.firstChild = std::move(bookmarks.roots);
    StoreBatch batch(store);
    ImportUndoCapture undo(store, ImportKind::favorites, destFolder);
    SharedStoreNodes nodes(store);
    std::string rootSection =
        dest.parent.empty() ? getFavTreeRoot() : childSection(getFavTreeRoot(), dest.parent);
    importBookmarkTree(nodes, rootSection, &root, getDateString());
    // A result that does not fit the shared store is refused whole: the store is as before.
    if (!batch.commit()) return fail(notes, "die Lesezeichen passen nicht in die Konfiguration");
    if (!store.saveAfterChange()) return kOperationFailed; // the user has been told why
    undo.keep();
    trace("<<< import_Browser END >>>\n");
    return kOperationDone;
}
