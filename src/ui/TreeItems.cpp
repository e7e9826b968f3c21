#include "ui/TreeItems.h"

namespace treeItems {

HTREEITEM next(HWND tree, HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM caret(HWND tree) {
    return next(tree, nullptr, TVGN_CARET);
}

HTREEITEM root(HWND tree) {
    return next(tree, nullptr, TVGN_ROOT);
}

HTREEITEM hitTest(HWND tree, POINT point, UINT* flags) {
    TVHITTESTINFO hit{};
    hit.pt = point;
    HTREEITEM item =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (flags) *flags = hit.flags;
    return item;
}

bool isSelected(HWND tree, HTREEITEM item) {
    return item && (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_SELECTED) &
                    TVIS_SELECTED) != 0;
}

void setState(HWND tree, HTREEITEM item, UINT state, UINT mask) {
    TVITEMA info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.state = state;
    info.stateMask = mask;
    SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
}

bool isFolder(HWND tree, HTREEITEM item) {
    TVITEMA info{};
    info.mask = TVIF_IMAGE;
    info.hItem = item;
    return SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info)) && info.iImage != 0;
}

std::string text(HWND tree, HTREEITEM item, size_t limit) {
    std::string label(limit + 1, '\0');
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = label.data();
    info.cchTextMax = static_cast<int>(label.size());
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) return {};
    label.resize(label.find('\0'));
    return label;
}

bool isInSubtree(HWND tree, HTREEITEM item, HTREEITEM root) {
    for (HTREEITEM up = item; up; up = next(tree, up, TVGN_PARENT))
        if (up == root) return true;
    return false;
}

bool hasChildLabeled(HWND tree, HTREEITEM folder, const std::string& label) {
    for (HTREEITEM child = next(tree, folder, TVGN_CHILD); child; child = next(tree, child, TVGN_NEXT))
        if (text(tree, child) == label) return true;
    return false;
}

void notifyParent(HWND tree, UINT code) {
    NMHDR header{tree, static_cast<UINT_PTR>(GetDlgCtrlID(tree)), code};
    SendMessageA(GetParent(tree), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void repaint(HWND tree) {
    RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

} // namespace treeItems
