#include "ui/FolderTreeView.h"

#include <vector>

#include "favorites/FavoritePaths.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"
#include "toolkit/TreeView.h"

namespace {
// Store paths keep labels longer than an edited label may be.
constexpr size_t kPathLabelLimit = 2047;
} // namespace

void fillFolderTree(HWND tree, HTREEITEM parent, const std::string& section) {
    CTreeView view(tree);
    if (parent && getNodeValue(section, "type") != "folder") return;
    std::vector<std::string> children = listChildren(sharedStoreNodes(), section);
    if (!parent && children.empty()) {
        if (section == getFavTreeRoot()) view.insert(nullptr, "Favoriten", true);
        if (section == getOfflineTreeRoot()) view.insert(nullptr, "Seitenarchiv", true);
    }
    for (const std::string& child : children) {
        std::string childPath = childSection(section, child);
        if (getNodeValue(childPath, "type") != "folder") continue;
        HTREEITEM item = view.insert(parent, child, true);
        fillFolderTree(tree, item, childPath);
    }
}

std::string getTreeItemPath(HWND tree, HTREEITEM item) {
    CTreeView view(tree);
    std::vector<std::string> ancestors;
    for (HTREEITEM up = view.parent(item); up; up = view.parent(up))
        ancestors.insert(ancestors.begin(), view.text(up, kPathLabelLimit));
    return composeTreeItemPath(ancestors, view.text(item, kPathLabelLimit), view.isFolder(item));
}
