#include "favorites/NetscapeTransfer.h"

#include "config/SharedStore.h"
#include "favorites/BookmarkFile.h"
#include "favorites/BookmarkImport.h"
#include "favorites/BookmarkParser.h"
#include "favorites/BookmarkWriter.h"
#include "favorites/FavoritePaths.h"
#include "favorites/NetscapeProfiles.h"
#include "favorites/ReplaceFile.h"
#include "platform/FileSystem.h"
#include "platform/Host.h"
#include "platform/Platform.h"
#include "platform/Trace.h"
#include "store/LastImport.h"
#include "store/OperationResult.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"

namespace {
std::string folderSection(const std::string& folder) {
    return childSection(getFavTreeRoot(), folder);
}

std::string folderBlockOf(NodeStore& store, const std::string& folder) {
    return buildFolderBlock(store, folderSection(folder), splitFolderPath(folder).name);
}
} // namespace

int import_NC(SharedStore& store, const std::string& destFolder, const std::string& userOrFile, bool isFile) {
    trace("<<< import_NC BEGIN >>>\n");
    std::string path = isFile ? userOrFile : resolveBookmarkPath(userOrFile);
    CBookmarkParser parser(path);
    if (path.empty() || !parser.loadFile()) return kOperationFailed;
    FolderPathParts dest = splitFolderPath(destFolder);
    parser.setRootName(dest.name);
    parser.parse();
    dumpTree(parser.bookmarkRoot.get());

    StoreBatch batch(store);
    ImportUndoCapture undo(store, ImportKind::favorites, destFolder);
    SharedStoreNodes nodes(store);
    std::string rootSection =
        dest.parent.empty() ? getFavTreeRoot() : childSection(getFavTreeRoot(), dest.parent);
    trace("rootSectionName : [%s] \n", rootSection.c_str());
    importBookmarkTree(nodes, rootSection, parser.bookmarkRoot.get(), getDateString());
    freeTree(parser.bookmarkRoot);
    // A result that does not fit the shared store is refused whole: the store is as before.
    if (!batch.commit() || !store.saveAfterChange()) return kOperationFailed; // the user has been told why
    undo.keep();
    trace("<<< import_NC END >>>\n");
    return kOperationDone;
}

int import_NCFile(SharedStore& store, const std::string& destFolder, const std::string& path) {
    trace("<<< import_NCFile >>>\n");
    if (isBookmarkFileTooLarge(path))
        return kOperationFailed; // no store could take it: an error, not a wrong format
    if (!isNetscapeBookmarkFile(path)) {
        host().ask("MessageBoxFavExportNotNetscapeFormat", "");
        return kOperationAbandoned;
    }
    // import_NC brackets and saves its own changes; a bracket around it would let its save write
    // a result that the outer publication then refuses.
    return import_NC(store, destFolder, path, true) == kOperationFailed ? kOperationFailed : kOperationDone;
}

int export_NC(NodeStore& store, const std::string& sourceFolder, const std::string& user) {
    trace("<<< export_NC BEGIN >>>\n");
    std::string path = resolveBookmarkPath(user);
    trace("bookmarkPath : [%s]\n", path.c_str());
    std::optional<std::string> text = path.empty() ? std::nullopt : readWholeFile(path);
    if (!text) return kOperationFailed;
    // The profile's file keeps its own encoding: only the inserted block follows it.
    if (!insertFolderBlock(*text, folderBlockOf(store, sourceFolder), ansiToWide)) return kOperationFailed;
    trace("write new bookmark file : [%s]\n", path.c_str());
    bool written = replaceFileContent(path, *text);
    trace("<<< export_NC END >>>\n");
    return written ? kOperationDone : kOperationFailed;
}

int export_NCFile(NodeStore& store, const std::string& sourceFolder, const std::string& path) {
    trace("<<< export_NCFile>>>\n");
    if (fileExists(path)) {
        int button = host().ask("MessageBoxAssistentFileNotAvailable", "").button;
        if (button != IDYES && button != IDOK) return kOperationAbandoned;
    }
    // A whole document in UTF-8, as other programs expect it; the reader takes it back as well.
    std::optional<std::string> document = buildBookmarkDocument(
        store, folderSection(sourceFolder), splitFolderPath(sourceFolder).name, ansiToWide);
    if (!document) return kOperationFailed;
    trace("write new bookmark file : [%s]\n", path.c_str());
    return replaceFileContent(path, *document) ? kOperationDone : kOperationFailed;
}
