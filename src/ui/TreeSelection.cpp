#include "ui/TreeSelection.h"

#include <utility>

bool CTreeSelection::setMultiSelect(bool on) {
    const bool previous = multiSelect_;
    multiSelect_ = on;
    if (on) return previous;
    HTREEITEM caretItem = caret();
    const bool keepCaret = caretItem && isSelected(caretItem);
    for (HTREEITEM item = first(); item; item = next(item))
        if (item != caretItem || !keepCaret) view().setState(item, 0, kSelectedBit);
    if (keepCaret) SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(caretItem));
    return previous;
}

HTREEITEM CTreeSelection::first() const {
    HTREEITEM top = view().root();
    return top && isSelected(top) ? top : next(top);
}

HTREEITEM CTreeSelection::next(HTREEITEM item) const {
    for (HTREEITEM current = item ? view().nextVisible(item) : nullptr; current;
         current = view().nextVisible(current))
        if (isSelected(current)) return current;
    return nullptr;
}

void CTreeSelection::items(std::vector<HTREEITEM>& selected) const {
    selected.clear();
    for (HTREEITEM item = first(); item; item = next(item))
        selected.push_back(item);
}

bool CTreeSelection::isSelected(HTREEITEM item) const {
    return view().isSelected(item);
}

HTREEITEM CTreeSelection::caret() const {
    return view().caret();
}

bool CTreeSelection::notify(UINT code, HTREEITEM item, bool selecting) const {
    NMTREEVIEWA change{};
    change.hdr.hwndFrom = tree_;
    change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(tree_));
    change.hdr.code = code;
    change.action = static_cast<UINT>(cause_);
    TVITEMA& target = selecting ? change.itemNew : change.itemOld;
    target.mask = TVIF_HANDLE | TVIF_PARAM;
    target.hItem = item;
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&target));
    return SendMessageA(GetParent(tree_), WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change)) !=
           0;
}

bool CTreeSelection::set(HTREEITEM item, UINT state, UINT mask) {
    if (!item) return false;
    CauseScope scope(*this, kProgram);
    if (!multiSelect_) {
        if ((mask & kCaretBit) && (state & kCaretBit))
            SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        if (mask & ~kCaretBit) view().setState(item, state & ~kCaretBit, mask & ~kCaretBit);
        return true;
    }
    HTREEITEM caretItem = caret();
    const bool wasCaret = caretItem == item;
    const bool caretSelected = caretItem && isSelected(caretItem);
    bool selected = isSelected(item);
    const bool caretRequested = (mask & kCaretBit) != 0, caretWanted = (state & kCaretBit) != 0;
    state &= ~kCaretBit;
    mask &= ~kCaretBit;

    if (caretRequested && caretWanted && !wasCaret) {
        if (!SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))) return false;
        // Moving the caret deselected the old caret item: it keeps its selection here.
        if (caretItem && caretSelected) view().setState(caretItem, kSelectedBit, kSelectedBit);
        const bool wantSelected = (mask & kSelectedBit) && (state & kSelectedBit);
        if (wantSelected) {
            mask &= ~kSelectedBit;
        } else if (!selected) {
            view().setState(item, 0, kSelectedBit);
        }
        selected = isSelected(item);
    } else if (caretRequested && !caretWanted && wasCaret) {
        const bool keep = (mask & kSelectedBit) ? (state & kSelectedBit) != 0 : selected;
        SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, 0);
        view().setState(item, keep ? kSelectedBit : 0, kSelectedBit);
        mask &= ~kSelectedBit;
        selected = keep;
    }
    if ((mask & kSelectedBit) && ((state & kSelectedBit) != 0) != selected) {
        const bool becomesSelected = (state & kSelectedBit) != 0;
        if (notify(TVN_SELCHANGINGA, item, becomesSelected)) return false;
        view().setState(item, state & kSelectedBit, kSelectedBit);
        notify(TVN_SELCHANGEDA, item, becomesSelected);
    }
    if (mask & ~kSelectedBit) view().setState(item, state, mask & ~kSelectedBit);
    return true;
}

void CTreeSelection::selectAllExcept(bool on, HTREEITEM except) {
    for (HTREEITEM item = view().root(); item; item = view().nextVisible(item))
        if (item != except && isSelected(item) != on) set(item, on ? kSelectedBit : 0, kSelectedBit);
}

void CTreeSelection::selectRange(HTREEITEM from, HTREEITEM to, bool clearOutside) {
    bool inside = false;
    for (HTREEITEM item = view().root(); item; item = view().nextVisible(item)) {
        const bool boundary = item == from || item == to;
        const bool inRange = inside || boundary;
        if (boundary && from != to) inside = !inside;
        if (inRange && !isSelected(item))
            set(item, kSelectedBit, kSelectedBit);
        else if (!inRange && clearOutside && isSelected(item))
            set(item, 0, kSelectedBit);
    }
}

void CTreeSelection::applyClickRules(HTREEITEM item, bool left, bool shift, bool ctrl) {
    if (!left) {
        if (ctrl && !shift) anchor_ = item;
        if (ctrl || shift) return;
    }
    if (left && shift) {
        if (!anchor_) anchor_ = caret();
        selectRange(anchor_ ? anchor_ : item, item, !ctrl);
        set(item, kCaretBit | (isSelected(item) ? kSelectedBit : 0), kCaretBit | kSelectedBit);
        return;
    }
    if (!ctrl) {
        if (!isSelected(item)) selectAllExcept(false, item);
        set(item, kCaretBit | kSelectedBit, kCaretBit | kSelectedBit);
    }
    anchor_ = nullptr;
}

void CTreeSelection::onKeyDown(WPARAM key, bool shift, bool ctrl, const std::function<void()>& runDefault) {
    CauseScope scope(*this, kKeyboard);
    HTREEITEM caretItem = caret();
    if (key == VK_SPACE) {
        if (caretItem) set(caretItem, (ctrl && isSelected(caretItem)) ? 0 : kSelectedBit, kSelectedBit);
        return;
    }
    const bool navigation = key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME ||
                            key == VK_UP || key == VK_DOWN;
    if (!navigation) {
        runDefault();
        return;
    }
    if (!anchor_) anchor_ = caretItem;
    if (!ctrl && !shift) {
        anchor_ = nullptr;
        selectAllExcept(false, nullptr);
    }
    if (ctrl && !shift) {
        // Ctrl moves the caret only.
        HTREEITEM target = nullptr;
        if (key == VK_END)
            target = view().next(nullptr, TVGN_LASTVISIBLE);
        else if (key == VK_HOME)
            target = view().root();
        else if (key == VK_UP && caretItem)
            target = view().next(caretItem, TVGN_PREVIOUSVISIBLE);
        else if (key == VK_DOWN && caretItem)
            target = view().nextVisible(caretItem);
        if (target)
            set(target, kCaretBit | (isSelected(target) ? kSelectedBit : 0), kCaretBit | kSelectedBit);
        return;
    }
    runDefault();
    HTREEITEM moved = caret();
    if (shift && moved) {
        selectRange(anchor_ ? anchor_ : moved, moved, true);
    } else if (moved) {
        set(moved, kSelectedBit, kSelectedBit);
    }
}

void CTreeSelection::deselectDescendants(HTREEITEM folder, bool& hadCaret) {
    HTREEITEM caretItem = caret();
    for (HTREEITEM child = view().firstChild(folder); child; child = view().nextSibling(child)) {
        if (child == caretItem) hadCaret = true;
        if (isSelected(child)) set(child, 0, kSelectedBit);
        deselectDescendants(child, hadCaret);
    }
}

void CTreeSelection::onItemExpanding(const NMTREEVIEWA& change) {
    HTREEITEM folder = change.itemNew.hItem;
    int image = CTreeView::kOpenFolderImage;
    if (change.action & TVE_COLLAPSE) {
        bool hadCaret = false;
        deselectDescendants(folder, hadCaret);
        clearCaretAfterCollapse_ = hadCaret && !isSelected(folder);
        if (clearCaretAfterCollapse_) SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, 0);
        image = CTreeView::kClosedFolderImage;
    }
    view().setImage(folder, image);
}

void CTreeSelection::onItemExpanded(const NMTREEVIEWA& change) {
    // Some controls hand the caret to the collapsed folder itself; it is taken back.
    HTREEITEM folder = change.itemNew.hItem;
    if (std::exchange(clearCaretAfterCollapse_, false) && caret() == folder) {
        SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, 0);
        view().setState(folder, 0, kSelectedBit);
    }
}
