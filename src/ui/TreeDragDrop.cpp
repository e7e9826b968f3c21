#include "ui/TreeDragDrop.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/Host.h"
#include "platform/Trace.h"
#include "ui/TreeItems.h"
#include "ui/TreeSelection.h"

namespace {
constexpr size_t kMovedLabelLimit = 48;

// Asks for one full repaint at the first mouse move of a drag.
bool repaintOnDragMove = false;

// Paints without the drag image in the way.
void repaintUnderImage(HWND tree) {
    ImageList_DragShowNolock(FALSE);
    treeItems::repaint(tree);
    ImageList_DragShowNolock(TRUE);
}
} // namespace

CTreeDragDrop::~CTreeDragDrop() {
    if (image_) ImageList_Destroy(image_);
}

void CTreeDragDrop::begin() {
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(tree_, &point);
    selection_.items(items_);
    if (items_.empty()) return;
    start_ = treeItems::hitTest(tree_, point);
    if (!start_) {
        items_.clear();
        return;
    }
    dragging_ = true;
    image_ = reinterpret_cast<HIMAGELIST>(
        SendMessageA(tree_, TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(start_)));
    ImageList_DragShowNolock(TRUE);
    ImageList_BeginDrag(image_, 0, 0, 0);
    ImageList_DragMove(point.x, point.y);
    ImageList_DragEnter(tree_, point.x, point.y);
    SetCapture(tree_);
    repaintOnDragMove = true;
}

bool CTreeDragDrop::autoScroll(POINT point) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(tree_, SB_VERT, &info)) return false;
    const int limit = info.nMax - static_cast<int>(info.nPage) + 1;
    if (limit <= 0) return false;
    POINT screen = point;
    ClientToScreen(tree_, &screen);
    RECT window{};
    GetWindowRect(tree_, &window);
    const bool up = screen.y < window.top && info.nPos > 0;
    const bool down = screen.y >= window.bottom && info.nPos < limit;
    if (!up && !down) return false;
    trace(up ? "****Scroll Ctrl Up\n" : "****Scroll Ctrl Down\n");
    for (HTREEITEM item = treeItems::next(tree_, nullptr, TVGN_FIRSTVISIBLE); item;
         item = treeItems::next(tree_, item, TVGN_NEXTVISIBLE)) {
        RECT row{};
        if (!TreeView_GetItemRect(tree_, item, &row, FALSE) || !PtInRect(&row, point)) continue;
        scrollTarget_ = item;
        SetTimer(tree_, kScrollTimer, 50, nullptr);
        return true;
    }
    return false;
}

void CTreeDragDrop::moveTo(POINT point) {
    ImageList_DragMove(point.x, point.y);
    lastMouse_ = point;
    KillTimer(tree_, kScrollTimer);
    if (autoScroll(point)) return;
    HTREEITEM item = treeItems::hitTest(tree_, point);
    if (item && !treeItems::isFolder(tree_, item)) {
        KillTimer(tree_, kExpandTimer);
    } else if (item && item != hoverItem_ &&
               treeItems::next(tree_, item, TVGN_NEXTVISIBLE) != treeItems::next(tree_, item, TVGN_CHILD)) {
        trace("itemText: %s\n", treeItems::text(tree_, item).c_str());
        SetTimer(tree_, kExpandTimer, 600, nullptr);
    }
    if (item) {
        hoverItem_ = dropTarget_ = item;
        ImageList_DragShowNolock(FALSE);
        SendMessageA(tree_, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(item));
        ImageList_DragShowNolock(TRUE);
    }
    if (std::exchange(repaintOnDragMove, false)) repaintUnderImage(tree_);
}

void CTreeDragDrop::onTimer(UINT_PTR id) {
    if (id == kExpandTimer) {
        trace("CMultiTree::OnTimer(%d) - Tree espand\n", static_cast<int>(id));
        ImageList_DragShowNolock(FALSE);
        if (hoverItem_) SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hoverItem_));
        treeItems::repaint(tree_);
        ImageList_DragShowNolock(TRUE);
        KillTimer(tree_, kExpandTimer);
        return;
    }
    trace("CMultiTree::OnTimer(%d) - Auto Scrolling\n", static_cast<int>(id));
    HTREEITEM item = treeItems::hitTest(tree_, lastMouse_);
    if (!item && scrollTarget_)
        item =
            treeItems::next(tree_, scrollTarget_, lastMouse_.y < 0 ? TVGN_PREVIOUSVISIBLE : TVGN_NEXTVISIBLE);
    if (!item) {
        KillTimer(tree_, kScrollTimer);
        return;
    }
    trace("visible item :%s\n", treeItems::text(tree_, item).c_str());
    scrollTarget_ = item;
    ImageList_DragShowNolock(FALSE);
    SendMessageA(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    treeItems::repaint(tree_);
    ImageList_DragShowNolock(TRUE);
}

HTREEITEM CTreeDragDrop::moveItem(HTREEITEM item, HTREEITEM folder) {
    std::string label = treeItems::text(tree_, item);
    if (label.size() > kMovedLabelLimit) label.resize(kMovedLabelLimit);
    TVITEMA old{};
    old.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    old.hItem = item;
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&old));
    TVINSERTSTRUCTA insert{};
    insert.hParent = folder;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = label.data();
    insert.item.iImage = old.iImage;
    insert.item.iSelectedImage = old.iSelectedImage;
    HTREEITEM moved = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!moved) return nullptr;
    if (old.iImage == 0 && old.lParam) {
        // The data block changes its owner item.
        TVITEMA data{};
        data.mask = TVIF_PARAM;
        data.hItem = moved;
        data.lParam = old.lParam;
        SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
        data.hItem = item;
        data.lParam = 0;
        SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    }
    for (HTREEITEM child = treeItems::next(tree_, item, TVGN_CHILD); child;
         child = treeItems::next(tree_, item, TVGN_CHILD)) {
        moveItem(child, moved);
        SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
    }
    return moved;
}

void CTreeDragDrop::end() {
    ImageList_DragLeave(tree_);
    ImageList_EndDrag();
    if (image_) ImageList_Destroy(std::exchange(image_, nullptr));
    KillTimer(tree_, kExpandTimer);
    KillTimer(tree_, kScrollTimer);
    trace("*** Drag & drop Begin\n");
    int clashes = 0;
    std::vector<HTREEITEM> dragged = std::move(items_);
    HTREEITEM target = dropTarget_;
    std::vector<HTREEITEM> moved;
    for (size_t i = 0; i < dragged.size(); ++i) {
        HTREEITEM item = dragged[i];
        // An item whose folder moved already went with it; its old handle is gone.
        if (std::any_of(moved.begin(), moved.end(),
                        [&](HTREEITEM gone) { return treeItems::isInSubtree(tree_, item, gone); }))
            continue;
        trace("item %d [%s]\n", static_cast<int>(i), treeItems::text(tree_, item).c_str());
        if (!target || item == target || treeItems::isInSubtree(tree_, target, item) ||
            treeItems::next(tree_, item, TVGN_PARENT) == target || !treeItems::isFolder(tree_, target))
            continue;
        if (treeItems::hasChildLabeled(tree_, target, treeItems::text(tree_, item))) {
            ++clashes;
            continue;
        }
        if (!moveItem(item, target)) continue;
        moved.push_back(item);
        SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    }
    trace("*** Drag & drop End\n");
    items_.clear();
    if (GetCapture() == tree_) ReleaseCapture();
    dragging_ = false;
    dropTarget_ = hoverItem_ = start_ = scrollTarget_ = nullptr;
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
    if (clashes) host().ask("MessageBoxTreeMoveItems", "");
    RedrawWindow(tree_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}
