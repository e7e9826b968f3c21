#include "ui/FolderTreeView.h"

#include <vector>

#include "favorites/FavoritePaths.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"

namespace {
struct ItemLabel {
    std::string text;
    int image = 0;
};

ItemLabel readItem(HWND tree, HTREEITEM item) {
    char buffer[2048] = {};
    TVITEMA data{};
    data.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = sizeof(buffer);
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return {};
    return {buffer, data.iImage};
}

HTREEITEM parentOf(HWND tree, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
}
} // namespace

HTREEITEM insertTreeFolder(HWND tree, HTREEITEM parent, const std::string& label, bool isFolder) {
    std::string text = label;
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = text.data();
    insert.item.iImage = isFolder ? 1 : 0;
    insert.item.iSelectedImage = isFolder ? 2 : 0;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void fillFolderTree(NodeStore& store, HWND tree, HTREEITEM parent, const std::string& section) {
    if (parent && store.getNodeValue(section, "type") != "folder") return;
    std::vector<std::string> children = listChildren(store, section);
    if (!parent && children.empty()) {
        if (section == getFavTreeRoot()) insertTreeFolder(tree, nullptr, "Favoriten", true);
        if (section == getOfflineTreeRoot()) insertTreeFolder(tree, nullptr, "Seitenarchiv", true);
    }
    for (const std::string& child : children) {
        std::string childPath = childSection(section, child);
        if (store.getNodeValue(childPath, "type") != "folder") continue;
        HTREEITEM item = insertTreeFolder(tree, parent, child, true);
        fillFolderTree(store, tree, item, childPath);
    }
}

std::string getTreeItemPath(HWND tree, HTREEITEM item) {
    std::vector<std::string> ancestors;
    for (HTREEITEM up = parentOf(tree, item); up; up = parentOf(tree, up))
        ancestors.insert(ancestors.begin(), readItem(tree, up).text);
    ItemLabel own = readItem(tree, item);
    return composeTreeItemPath(ancestors, own.text, own.image);
}
