#include "toolkit/TreeView.h"

HTREEITEM CTreeView::next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM CTreeView::hitTest(POINT point, UINT* flags) const {
    TVHITTESTINFO hit{};
    hit.pt = point;
    HTREEITEM item =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (flags) *flags = hit.flags;
    return item;
}

HTREEITEM CTreeView::insert(HTREEITEM parent, const std::string& label, bool isFolder) const {
    std::string text = label;
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = text.data();
    insert.item.iImage = isFolder ? kFolderImage : kPageImage;
    insert.item.iSelectedImage = isFolder ? kClosedFolderImage : kPageImage;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool CTreeView::getItem(TVITEMA& item) const {
    return SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

void CTreeView::setItem(TVITEMA& item) const {
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

bool CTreeView::isFolder(HTREEITEM item) const {
    TVITEMA info{};
    info.mask = TVIF_IMAGE;
    info.hItem = item;
    return getItem(info) && isFolderImage(info.iImage);
}

bool CTreeView::isSelected(HTREEITEM item) const {
    return item && (SendMessageA(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_SELECTED) &
                    TVIS_SELECTED) != 0;
}

void CTreeView::setState(HTREEITEM item, UINT state, UINT mask) const {
    TVITEMA info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.state = state;
    info.stateMask = mask;
    setItem(info);
}

void CTreeView::setImage(HTREEITEM item, int image) const {
    TVITEMA info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    info.iImage = image;
    info.iSelectedImage = image;
    setItem(info);
}

LPARAM CTreeView::data(HTREEITEM item) const {
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    return getItem(info) ? info.lParam : 0;
}

void CTreeView::setData(HTREEITEM item, LPARAM data) const {
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    info.lParam = data;
    setItem(info);
}

std::string CTreeView::text(HTREEITEM item, size_t limit) const {
    std::string label(limit + 1, '\0');
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = label.data();
    info.cchTextMax = static_cast<int>(label.size());
    if (!getItem(info)) return {};
    label.resize(label.find('\0'));
    return label;
}

bool CTreeView::isInSubtree(HTREEITEM item, HTREEITEM ancestor) const {
    for (HTREEITEM up = item; up; up = parent(up))
        if (up == ancestor) return true;
    return false;
}

bool CTreeView::hasChildLabeled(HTREEITEM folder, const std::string& label) const {
    for (HTREEITEM child = firstChild(folder); child; child = nextSibling(child))
        if (text(child) == label) return true;
    return false;
}

void CTreeView::notifyParent(UINT code) const {
    NMHDR header{tree_, static_cast<UINT_PTR>(GetDlgCtrlID(tree_)), code};
    SendMessageA(GetParent(tree_), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void CTreeView::repaint() const {
    RedrawWindow(tree_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}
