#include "ui/MultiTree.h"

#include <windowsx.h>

#include <cstdlib>
#include <utility>

#include "platform/Host.h"
#include "ui/TreeItems.h"
#include "ui/TreeRubberBand.h"

namespace {
bool keyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

std::string& editedLabel() {
    static std::string label;
    return label;
}
} // namespace

CMultiTree::~CMultiTree() = default;

const std::string& CMultiTree::lastEditedLabel() {
    return editedLabel();
}

CTreeSelection& CMultiTree::selection() const {
    selection_.attach(handle());
    return selection_;
}

void CMultiTree::configure(bool multiSelect, bool dragDrop, bool labelEdit, bool keepEditedLabel) {
    selection_.setMultiSelect(multiSelect);
    dragDrop_ = dragDrop;
    labelEdit_ = labelEdit;
    keepEditedLabel_ = keepEditedLabel;
}

bool CMultiTree::isFolder(HTREEITEM item) const {
    return treeItems::isFolder(handle(), item);
}

void CMultiTree::attachItemData(HTREEITEM item, std::unique_ptr<CTreeItemData> data) {
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    info.lParam = reinterpret_cast<LPARAM>(data.release());
    send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
}

void CMultiTree::freeItemData() {
    std::vector<HTREEITEM> pending{treeItems::root(handle())};
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        for (; item; item = treeItems::next(handle(), item, TVGN_NEXT)) {
            if (HTREEITEM child = treeItems::next(handle(), item, TVGN_CHILD)) pending.push_back(child);
            TVITEMA info{};
            info.mask = TVIF_PARAM | TVIF_IMAGE;
            info.hItem = item;
            if (!send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info)) || info.iImage != 0 || !info.lParam)
                continue;
            std::unique_ptr<CTreeItemData> owned(reinterpret_cast<CTreeItemData*>(info.lParam));
            info.mask = TVIF_PARAM;
            info.lParam = 0;
            send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

LRESULT CMultiTree::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (!multiSelect() || editing_) break;
        onButtonDown(message, wParam, lParam);
        return 0;
    case WM_KEYDOWN:
        if (!multiSelect()) break;
        selection().onKeyDown(wParam, keyDown(VK_SHIFT), keyDown(VK_CONTROL),
                              [&] { CSubclassedWindow::windowProc(WM_KEYDOWN, wParam, lParam); });
        return 0;
    case WM_CHAR:
        // The space never reaches the control: it would search for an item starting with it.
        if (wParam == VK_SPACE) return 0;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        LRESULT result = CSubclassedWindow::windowProc(message, wParam, lParam);
        if (multiSelect())
            for (HTREEITEM item = getFirstSelected(); item; item = getNextSelected(item)) {
                RECT label{};
                if (TreeView_GetItemRect(handle(), item, &label, TRUE))
                    InvalidateRect(handle(), &label, TRUE);
            }
        return result;
    }
    case WM_MOUSEMOVE:
        if (!drag_) break;
        drag_->moveTo({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (drag_) std::exchange(drag_, nullptr)->end();
        break;
    case WM_TIMER:
        if (!drag_ || (wParam != CTreeDragDrop::kExpandTimer && wParam != CTreeDragDrop::kScrollTimer)) break;
        drag_->onTimer(wParam);
        return 0;
    case WM_DESTROY:
        drag_.reset();
        freeItemData();
        break;
    default:
        break;
    }
    return CSubclassedWindow::windowProc(message, wParam, lParam);
}

void CMultiTree::onButtonDown(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool left = message == WM_LBUTTONDOWN;
    const bool shift = (wParam & MK_SHIFT) != 0, ctrl = (wParam & MK_CONTROL) != 0;
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    UINT flags = 0;
    HTREEITEM item = treeItems::hitTest(handle(), point, &flags);
    const bool checkBoxes = (style() & TVS_CHECKBOXES) != 0;
    if (item && ((flags & TVHT_ONITEMBUTTON) || (left && checkBoxes && (flags & TVHT_ONITEMSTATEICON)))) {
        CSubclassedWindow::windowProc(message, wParam, lParam);
        return;
    }
    CTreeSelection::CauseScope scope(selection(), CTreeSelection::kMouse);
    if (!item || !(flags & TVHT_ONITEM)) {
        CTreeRubberBand(handle(), selection_).run(left, point, shift, ctrl);
        return;
    }
    const bool wasSelected = isSelected(item) || caretItem() == item;
    selection_.applyClickRules(item, left, shift, ctrl);
    trackButton(item, left, point, shift, ctrl, wasSelected);
}

void CMultiTree::trackButton(HTREEITEM item, bool left, POINT start, bool shift, bool ctrl,
                             bool wasSelected) {
    const UINT upMessage = left ? WM_LBUTTONUP : WM_RBUTTONUP;
    SetCapture(handle());
    MSG message{};
    bool clicked = false, dragged = false;
    while (GetCapture() == handle() && GetMessageA(&message, nullptr, 0, 0)) {
        if (message.hwnd == handle() && message.message == upMessage) {
            clicked = true;
            break;
        }
        if (message.hwnd == handle() && message.message == WM_MOUSEMOVE &&
            (std::abs(GET_X_LPARAM(message.lParam) - start.x) > GetSystemMetrics(SM_CXDRAG) ||
             std::abs(GET_Y_LPARAM(message.lParam) - start.y) > GetSystemMetrics(SM_CYDRAG))) {
            dragged = true;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (GetCapture() == handle()) ReleaseCapture();
    if (dragged) {
        setItemSelection(item, kCaretBit | kSelectedBit, kCaretBit | kSelectedBit);
        if (style() & TVS_DISABLEDRAGDROP) return;
        NMTREEVIEWA drag{};
        drag.hdr = {handle(), static_cast<UINT_PTR>(GetDlgCtrlID(handle())),
                    left ? TVN_BEGINDRAGA : TVN_BEGINRDRAGA};
        drag.itemNew.hItem = item;
        drag.itemNew.mask = TVIF_HANDLE;
        drag.ptDrag = start;
        SendMessageA(GetParent(handle()), WM_NOTIFY, drag.hdr.idFrom, reinterpret_cast<LPARAM>(&drag));
        return;
    }
    if (!clicked) return;
    if (left && !shift && ctrl)
        setItemSelection(item, isSelected(item) ? 0 : kSelectedBit, kSelectedBit);
    else if (!shift) {
        selectAllExcept(false, item);
        setItemSelection(item, kSelectedBit, kSelectedBit);
    }
    setItemSelection(item, kCaretBit | (isSelected(item) ? kSelectedBit : 0), kCaretBit | kSelectedBit);
    SetFocus(handle());
    if (!shift && !ctrl && left && wasSelected && (isSelected(item) || caretItem() == item)) {
        // A click on the selected item lets the control start editing its label.
        PostMessageA(handle(), message.message, message.wParam, message.lParam);
        CSubclassedWindow::windowProc(WM_LBUTTONDOWN, 0, MAKELPARAM(start.x, start.y));
        return;
    }
    treeItems::notifyParent(handle(), left ? NM_CLICK : NM_RCLICK);
    DispatchMessageA(&message);
}

void CMultiTree::beginDrag() {
    if (!dragDrop_ || drag_) return;
    drag_ = std::make_unique<CTreeDragDrop>(handle(), selection());
    drag_->begin();
    if (!drag_->dragging()) drag_.reset();
}

bool CMultiTree::beginLabelEdit(const NMTVDISPINFOA& info) {
    editing_ = 1;
    const bool allowed = labelEdit_ && info.item.hItem != treeItems::root(handle());
    if (allowed)
        labelBeforeEdit_ = treeItems::text(handle(), info.item.hItem);
    else
        editing_ = 0;
    return allowed;
}

bool CMultiTree::acceptEditedLabel(const NMTVDISPINFOA& info) {
    if (!info.item.pszText) return false;
    std::string text(info.item.pszText);
    if (text.size() > treeItems::kLabelLimit) text.resize(treeItems::kLabelLimit);
    HTREEITEM item = info.item.hItem;
    auto reopen = [&] {
        SetFocus(handle());
        PostMessageA(handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item));
        return false;
    };
    if (labelCheck_ && !labelCheck_(text)) return reopen();
    HTREEITEM parent = treeItems::next(handle(), item, TVGN_PARENT);
    HTREEITEM first = parent ? treeItems::next(handle(), parent, TVGN_CHILD) : treeItems::root(handle());
    for (HTREEITEM sibling = first; sibling; sibling = treeItems::next(handle(), sibling, TVGN_NEXT)) {
        if (sibling == item || sibling == caretItem() || treeItems::text(handle(), sibling) != text) continue;
        host().ask(isFolder(sibling) ? "MessageBoxFolderExists" : "MessageBoxFileExists", "");
        return reopen();
    }
    if (keepEditedLabel_) editedLabel() = text;
    labelBeforeEdit_.clear();
    return true;
}

bool CMultiTree::reflectNotify(NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
        if (multiSelect()) selection().onItemExpanding(reinterpret_cast<NMTREEVIEWA&>(header));
        return false;
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
        selection().onItemExpanded(reinterpret_cast<NMTREEVIEWA&>(header));
        return false;
    case TVN_BEGINLABELEDITA:
        result = beginLabelEdit(reinterpret_cast<NMTVDISPINFOA&>(header)) ? FALSE : TRUE;
        return true;
    case TVN_ENDLABELEDITA:
        if (!editing_) return false;
        editing_ = 0;
        result = acceptEditedLabel(reinterpret_cast<NMTVDISPINFOA&>(header)) ? TRUE : FALSE;
        return true;
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW:
        result = 0;
        beginDrag();
        return true;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
        selection_.forget(reinterpret_cast<NMTREEVIEWA&>(header).itemOld.hItem);
        return false;
    default:
        return false;
    }
}
