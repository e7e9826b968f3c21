#include "archive/ArchiveUndo.h"

#include "archive/ArchiveStore.h"
#include "config/IniDocument.h"
#include "platform/FileSystem.h"

namespace {
// Only a folder the import made: directly in the offline data folder, never that folder itself.
bool isUnpackedFolder(const std::string& folder) {
    const std::string name = folder.substr(folder.rfind('\\') + 1);
    return !name.empty() && name != "." && name != ".." &&
           equalsNoCase(getParentPath(folder), getOfflineDataFolder());
}
} // namespace

UndoResult undoLastArchivImport(SharedStore& store) {
    UndoResult result = undoLastImport(store, ImportKind::archive);
    if (result.outcome == UndoResult::done && isUnpackedFolder(result.unpackedFolder) &&
        isDirectory(result.unpackedFolder))
        deleteDirectory(result.unpackedFolder);
    return result;
}
