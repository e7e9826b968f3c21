#include "ui/FolderTreeView.h"

#include <vector>

#include "favorites/FavoritePaths.h"
#include "store/NodeWalk.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"
#include "toolkit/TreeView.h"

namespace {
// Store paths keep labels longer than an edited label may be.
constexpr size_t kPathLabelLimit = 2047;
} // namespace

void fillFolderTree(NodeStore& store, HWND tree, HTREEITEM parent, const std::string& section) {
    CTreeView view(tree);
    if (parent && readNodeKind(store, section) != NodeKind::folder) return;
    if (!parent && store.getNodeValue(section, itemKey(0)).empty()) {
        if (section == getFavTreeRoot()) view.insert(nullptr, "Favoriten", true);
        if (section == getOfflineTreeRoot()) view.insert(nullptr, "Seitenarchiv", true);
    }
    std::vector<HTREEITEM> items{parent}; // the item of each open folder, by depth
    forEachNode(store, section, [&](const NodeVisit& node) {
        if (node.kind != NodeKind::folder) return WalkStep::skip;
        items.resize(node.depth + 1);
        items.push_back(view.insert(items.back(), node.name, true));
        return WalkStep::descend;
    });
}

std::string getTreeItemPath(HWND tree, HTREEITEM item) {
    CTreeView view(tree);
    std::vector<std::string> ancestors;
    for (HTREEITEM up = view.parent(item); up; up = view.parent(up))
        ancestors.insert(ancestors.begin(), view.text(up, kPathLabelLimit));
    return composeTreeItemPath(ancestors, view.text(item, kPathLabelLimit), view.isFolder(item));
}
