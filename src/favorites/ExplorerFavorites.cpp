#include "favorites/ExplorerFavorites.h"

#include <windows.h>

#include <vector>

#include "config/SharedStore.h"
#include "favorites/InternetShortcut.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/Trace.h"
#include "store/LastImport.h"
#include "store/LeftOutEntries.h"
#include "store/NodeWalk.h"
#include "store/OperationResult.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"

namespace {
const char* const kFallbackFolder = "Quendal Browser-Links";

// Whether name ends with ext, ignoring case; base receives the part before it.
bool hasExtension(const std::string& name, const std::string& ext, std::string& base) {
    if (name.size() < ext.size()) return false;
    size_t start = name.size() - ext.size();
    if (CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name.c_str() + start, static_cast<int>(ext.size()),
                       ext.c_str(), static_cast<int>(ext.size())) != CSTR_EQUAL)
        return false;
    base = name.substr(0, start);
    return true;
}

// A store name that would lead out of the folder it is written to ("." or ".." as a path step).
bool leavesFolder(const std::string& name) {
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        std::string step = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (step == "." || step == "..") return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

template <typename Visit> bool forEachEntry(const std::string& dir, Visit visit) {
    WIN32_FIND_DATAA data;
    ScopedFind find(FindFirstFileA(appendPath(dir, "*.*").c_str(), &data));
    if (!find) return false;
    do {
        visit(data);
    } while (FindNextFileA(find.get(), &data));
    return true;
}

// The store name of a file system name; false (noted as left out) when the store cannot hold
// the entry.
bool storableName(const std::string& section, const std::string& fileName, const NodeValues& values,
                  std::string& name) {
    name = fileName;
    replaceUnstorableCharacters(name);
    std::string refusal = storeRefusal(section, name, values);
    if (refusal.empty()) return true;
    noteLeftOut(pathBelowRoot(childSection(section, name)), refusal);
    return false;
}

bool importDirectoryWith(NodeStore& store, ChildAppender& appender, const std::string& section,
                         const std::string& dir, const std::string& ext, bool recurse) {
    if (recurse) {
        bool listed = forEachEntry(dir, [&](const WIN32_FIND_DATAA& data) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || isDotEntry(data.cFileName)) return;
            std::string name;
            if (!storableName(section, data.cFileName, {}, name)) return;
            std::string child = appender.addChild(section, name, true);
            store.setNodeValue(child, kTypeKey, kFolderType);
            importDirectoryWith(store, appender, child, appendPath(dir, data.cFileName), ext, true);
        });
        if (!listed) return false;
    }
    return forEachEntry(dir, [&](const WIN32_FIND_DATAA& data) {
        std::string base, name;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !hasExtension(data.cFileName, ext, base)) return;
        std::string url = readInternetShortcut(appendPath(dir, base + ext));
        if (!storableName(section, base, {{kUrlKey, url}}, name)) return;
        std::string child = appender.addChild(section, name, false);
        store.setNodeValue(child, kTypeKey, kFileType);
        store.setNodeValue(child, kUrlKey, url);
        store.setNodeValue(child, kCreatedDateKey, getDateString());
    });
}

void writeShortcutOrFallback(const std::string& path, const std::string& url) {
    if (path.size() + 4 < MAX_PATH) {
        writeInternetShortcut(path + ".url", url);
        return;
    }
    std::string fallback = appendPath(getFavoritesFolder(), kFallbackFolder);
    createDirectory(fallback, false);
    fallback += path.substr(path.rfind('\\'));
    if (fallback.size() + 4 < MAX_PATH) writeInternetShortcut(fallback + ".url", url);
}
} // namespace

bool importDirectory(NodeStore& store, const std::string& section, const std::string& dir,
                     const std::string& ext, bool recurse) {
    ChildAppender appender(store);
    return importDirectoryWith(store, appender, section, dir, ext, recurse);
}

int import_MIE(SharedStore& store, const std::string& destFolder) {
    trace("<<< import_MIE BEGIN >>>\n");
    std::string favorites = getFavoritesFolder();
    if (favorites.empty()) return kOperationFailed; // no folder to read: never fall back to the current drive
    StoreBatch batch(store);
    ImportUndoCapture undo(store, ImportKind::favorites, destFolder);
    SharedStoreNodes nodes(store);
    std::string section = childSection(getFavTreeRoot(), destFolder);
    if (nodes.getNodeValue(section, kTypeKey).empty()) {
        nodes.setNodeValue(section, kTypeKey, kFolderType);
        nodes.setNodeValue(getFavTreeRoot(), findItemKey(nodes, getFavTreeRoot(), &destFolder), destFolder);
    }
    importDirectory(nodes, section, favorites, ".url", true);
    if (!batch.commit() || !store.saveAfterChange()) return kOperationFailed;
    undo.keep();
    trace("<<< import_MIE END >>>\n");
    return kOperationDone;
}

void exportFolderToDirectory(NodeStore& store, const std::string& section, const std::string& dir) {
    if (readNodeKind(store, section) != NodeKind::folder) return;
    std::vector<std::string> dirs{dir}; // the directory of each open folder, by depth
    forEachNode(store, section, [&](const NodeVisit& node) {
        if (leavesFolder(node.name)) return WalkStep::skip;
        dirs.resize(node.depth + 1);
        std::string path = appendPath(dirs.back(), node.name);
        if (node.kind == NodeKind::folder) {
            createDirectory(path, false);
            dirs.push_back(std::move(path));
            return WalkStep::descend;
        }
        if (node.kind == NodeKind::file)
            writeShortcutOrFallback(path, store.getNodeValue(node.section, kUrlKey));
        return WalkStep::skip;
    });
}

int export_MIE(SharedStore& store, const std::string& sourceFolder) {
    trace("<<< export_MIE BEGIN >>>\n");
    std::string favorites = getFavoritesFolder();
    std::string rootName = store.getRegistryValue("FavoritesRootName", "Favoriten");
    std::string relative = sourceFolder.size() > rootName.size() ? sourceFolder.substr(rootName.size() + 1) : "";
    if (favorites.empty() || leavesFolder(relative)) return kOperationFailed;
    std::string target = appendPath(favorites, relative);
    if (target.back() == '\\') target.pop_back();
    trace("destFolder : [%s]\n", target.c_str());
    createDirectory(target, false);
    SharedStoreNodes nodes(store);
    exportFolderToDirectory(nodes, childSection(getFavTreeRoot(), sourceFolder), target);
    trace("<<< export_MIE END >>>\n");
    return kOperationDone;
}
