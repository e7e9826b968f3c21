#include "ui/MultiTree.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "platform/Handles.h"

#include "archive/FileChecks.h"
#include "platform/QuestionSeam.h"
#include "platform/Trace.h"

namespace {
constexpr size_t kEditLimit = 255;
constexpr size_t kMovedLabelLimit = 48;
constexpr UINT_PTR kExpandTimer = 100;
constexpr UINT_PTR kScrollTimer = 101;

// Asks for one full repaint at the first mouse move of a drag.
bool repaintOnDragMove = false;

std::string& editedLabel() {
    static std::string label;
    return label;
}

bool keyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

std::string itemText(HWND tree, HTREEITEM item, size_t limit) {
    std::string text(limit + 1, '\0');
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text.data();
    info.cchTextMax = static_cast<int>(text.size());
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) return {};
    text.resize(text.find('\0'));
    return text;
}
} // namespace

// Saves the selecting value of the control and restores it when the operation ends, also when
// nested message loops ran other handlers in between.
class CMultiTree::SelectingScope {
  public:
    SelectingScope(int& selecting, int value) : selecting_(selecting), saved_(selecting) {
        if (value) selecting_ = value;
    }
    ~SelectingScope() { selecting_ = saved_; }
    SelectingScope(const SelectingScope&) = delete;
    SelectingScope& operator=(const SelectingScope&) = delete;

  private:
    int& selecting_;
    int saved_;
};

CMultiTree::~CMultiTree() = default;

const std::string& CMultiTree::lastEditedLabel() {
    return editedLabel();
}

void CMultiTree::configure(bool multiSelect, bool dragDrop, bool labelEdit, bool keepEditedLabel) {
    multiSelect_ = multiSelect;
    dragDrop_ = dragDrop;
    labelEdit_ = labelEdit;
    keepEditedLabel_ = keepEditedLabel;
}

bool CMultiTree::setMultiSelect(bool on) {
    const bool previous = multiSelect_;
    multiSelect_ = on;
    if (on) return previous;
    HTREEITEM caret = caretItem();
    const bool keepCaret = caret && isSelected(caret);
    for (HTREEITEM item = getFirstSelected(); item; item = getNextSelected(item))
        if (item != caret || !keepCaret) setState(item, 0, kSelectedBit);
    if (keepCaret) send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(caret));
    return previous;
}

HTREEITEM CMultiTree::next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

UINT CMultiTree::itemState(HTREEITEM item, UINT mask) const {
    return static_cast<UINT>(send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
}

void CMultiTree::setState(HTREEITEM item, UINT state, UINT mask) const {
    TVITEMA info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.state = state;
    info.stateMask = mask;
    send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
}

bool CMultiTree::isSelected(HTREEITEM item) const {
    return item && (itemState(item, TVIS_SELECTED) & TVIS_SELECTED) != 0;
}

HTREEITEM CMultiTree::caretItem() const {
    return next(nullptr, TVGN_CARET);
}

bool CMultiTree::isFolder(HTREEITEM item) const {
    TVITEMA info{};
    info.mask = TVIF_IMAGE;
    info.hItem = item;
    return send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info)) && info.iImage != 0;
}

HTREEITEM CMultiTree::getFirstSelected() const {
    HTREEITEM first = next(nullptr, TVGN_ROOT);
    return first && isSelected(first) ? first : getNextSelected(first);
}

HTREEITEM CMultiTree::getNextSelected(HTREEITEM item) const {
    for (HTREEITEM current = item ? next(item, TVGN_NEXTVISIBLE) : nullptr; current;
         current = next(current, TVGN_NEXTVISIBLE))
        if (isSelected(current)) return current;
    return nullptr;
}

void CMultiTree::getSelectedItems(std::vector<HTREEITEM>& items) const {
    items.clear();
    for (HTREEITEM item = getFirstSelected(); item; item = getNextSelected(item))
        items.push_back(item);
}

bool CMultiTree::notifySelection(UINT code, HTREEITEM item, bool selecting) {
    NMTREEVIEWA change{};
    change.hdr.hwndFrom = handle();
    change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(handle()));
    change.hdr.code = code;
    change.action = static_cast<UINT>(selecting_);
    TVITEMA& target = selecting ? change.itemNew : change.itemOld;
    target.mask = TVIF_HANDLE | TVIF_PARAM;
    target.hItem = item;
    send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&target));
    return SendMessageA(GetParent(handle()), WM_NOTIFY, change.hdr.idFrom,
                        reinterpret_cast<LPARAM>(&change)) != 0;
}

void CMultiTree::sendHeader(UINT code) const {
    NMHDR header{handle(), static_cast<UINT_PTR>(GetDlgCtrlID(handle())), code};
    SendMessageA(GetParent(handle()), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

bool CMultiTree::setItemSelection(HTREEITEM item, UINT state, UINT mask) {
    if (!item) return false;
    SelectingScope scope(selecting_, 0);
    if (!multiSelect_) {
        if ((mask & kCaretBit) && (state & kCaretBit))
            send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        if (mask & ~kCaretBit) setState(item, state & ~kCaretBit, mask & ~kCaretBit);
        return true;
    }
    HTREEITEM caret = caretItem();
    const bool wasCaret = caret == item;
    const bool caretSelected = caret && isSelected(caret);
    bool selected = isSelected(item);
    const bool caretRequested = (mask & kCaretBit) != 0, caretWanted = (state & kCaretBit) != 0;
    state &= ~kCaretBit;
    mask &= ~kCaretBit;

    if (caretRequested && caretWanted && !wasCaret) {
        if (!send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))) return false;
        // Moving the caret deselected the old caret item: it keeps its selection here.
        if (caret && caretSelected) setState(caret, kSelectedBit, kSelectedBit);
        const bool wantSelected = (mask & kSelectedBit) && (state & kSelectedBit);
        if (wantSelected) {
            mask &= ~kSelectedBit;
        } else if (!selected) {
            setState(item, 0, kSelectedBit);
        }
        selected = isSelected(item);
    } else if (caretRequested && !caretWanted && wasCaret) {
        const bool keep = (mask & kSelectedBit) ? (state & kSelectedBit) != 0 : selected;
        send(TVM_SELECTITEM, TVGN_CARET, 0);
        setState(item, keep ? kSelectedBit : 0, kSelectedBit);
        mask &= ~kSelectedBit;
        selected = keep;
    }
    if ((mask & kSelectedBit) && ((state & kSelectedBit) != 0) != selected) {
        const bool becomesSelected = (state & kSelectedBit) != 0;
        if (notifySelection(TVN_SELCHANGINGA, item, becomesSelected)) return false;
        setState(item, state & kSelectedBit, kSelectedBit);
        notifySelection(TVN_SELCHANGEDA, item, becomesSelected);
    }
    if (mask & ~kSelectedBit) setState(item, state, mask & ~kSelectedBit);
    return true;
}

void CMultiTree::selectAllExcept(bool on, HTREEITEM except) {
    for (HTREEITEM item = next(nullptr, TVGN_ROOT); item; item = next(item, TVGN_NEXTVISIBLE))
        if (item != except && isSelected(item) != on)
            setItemSelection(item, on ? kSelectedBit : 0, kSelectedBit);
}

void CMultiTree::selectRange(HTREEITEM first, HTREEITEM second, bool clearOutside) {
    bool inside = false;
    for (HTREEITEM item = next(nullptr, TVGN_ROOT); item; item = next(item, TVGN_NEXTVISIBLE)) {
        const bool boundary = item == first || item == second;
        const bool inRange = inside || boundary;
        if (boundary && first != second) inside = !inside;
        if (inRange && !isSelected(item))
            setItemSelection(item, kSelectedBit, kSelectedBit);
        else if (!inRange && clearOutside && isSelected(item))
            setItemSelection(item, 0, kSelectedBit);
    }
}

void CMultiTree::attachItemData(HTREEITEM item, std::unique_ptr<CTreeItemData> data) {
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    info.lParam = reinterpret_cast<LPARAM>(data.release());
    send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
}

void CMultiTree::freeItemData() {
    std::vector<HTREEITEM> pending{next(nullptr, TVGN_ROOT)};
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        for (; item; item = next(item, TVGN_NEXT)) {
            if (HTREEITEM child = next(item, TVGN_CHILD)) pending.push_back(child);
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
        if (!multiSelect_ || editing_) break;
        onButtonDown(message, wParam, lParam);
        return 0;
    case WM_KEYDOWN:
        if (!multiSelect_) break;
        onKeyDown(wParam);
        return 0;
    case WM_CHAR:
        // The space never reaches the control: it would search for an item starting with it.
        if (wParam == VK_SPACE) return 0;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        LRESULT result = CSubclassedWindow::windowProc(message, wParam, lParam);
        if (multiSelect_)
            for (HTREEITEM item = getFirstSelected(); item; item = getNextSelected(item)) {
                RECT label{};
                if (TreeView_GetItemRect(handle(), item, &label, TRUE))
                    InvalidateRect(handle(), &label, TRUE);
            }
        return result;
    }
    case WM_MOUSEMOVE:
        if (!dragging_) break;
        dragOver({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (dragging_) endDrag();
        break;
    case WM_TIMER:
        if (wParam != kExpandTimer && wParam != kScrollTimer) break;
        onTimer(wParam);
        return 0;
    case WM_DESTROY:
        if (dragImage_) ImageList_Destroy(std::exchange(dragImage_, nullptr));
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
    TVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    HTREEITEM item = reinterpret_cast<HTREEITEM>(send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    const bool checkBoxes = (style() & TVS_CHECKBOXES) != 0;
    if (item &&
        ((hit.flags & TVHT_ONITEMBUTTON) || (left && checkBoxes && (hit.flags & TVHT_ONITEMSTATEICON)))) {
        CSubclassedWindow::windowProc(message, wParam, lParam);
        return;
    }
    if (!item || !(hit.flags & TVHT_ONITEM)) {
        SelectingScope scope(selecting_, 1);
        runRubberBand(left, hit.pt, shift, ctrl);
        return;
    }
    SelectingScope scope(selecting_, 1);
    const bool wasSelected = isSelected(item) || caretItem() == item;
    applyClickRules(item, left, shift, ctrl);
    trackButton(item, left, hit.pt, shift, ctrl, wasSelected);
}

void CMultiTree::applyClickRules(HTREEITEM item, bool left, bool shift, bool ctrl) {
    if (!left) {
        if (ctrl && !shift) anchor_ = item;
        if (ctrl || shift) return;
    }
    if (left && shift) {
        if (!anchor_) anchor_ = caretItem();
        selectRange(anchor_ ? anchor_ : item, item, !ctrl);
        setItemSelection(item, kCaretBit | (isSelected(item) ? kSelectedBit : 0), kCaretBit | kSelectedBit);
        return;
    }
    if (!ctrl) {
        if (!isSelected(item)) selectAllExcept(false, item);
        setItemSelection(item, kCaretBit | kSelectedBit, kCaretBit | kSelectedBit);
    }
    anchor_ = nullptr;
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
        if (message.hwnd == handle() && message.message == WM_MOUSEMOVE) {
            const int dx = abs(GET_X_LPARAM(message.lParam) - start.x),
                      dy = abs(GET_Y_LPARAM(message.lParam) - start.y);
            if (dx > GetSystemMetrics(SM_CXDRAG) || dy > GetSystemMetrics(SM_CYDRAG)) {
                dragged = true;
                break;
            }
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (GetCapture() == handle()) ReleaseCapture();
    if (dragged) {
        setItemSelection(item, kCaretBit | kSelectedBit, kCaretBit | kSelectedBit);
        if (!(style() & TVS_DISABLEDRAGDROP)) {
            NMTREEVIEWA drag{};
            drag.hdr = {handle(), static_cast<UINT_PTR>(GetDlgCtrlID(handle())),
                        left ? TVN_BEGINDRAGA : TVN_BEGINRDRAGA};
            drag.itemNew.hItem = item;
            drag.itemNew.mask = TVIF_HANDLE;
            drag.ptDrag = start;
            SendMessageA(GetParent(handle()), WM_NOTIFY, drag.hdr.idFrom, reinterpret_cast<LPARAM>(&drag));
        }
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
        PostMessageA(handle(), message.message, message.wParam, message.lParam);
        CSubclassedWindow::windowProc(left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0,
                                      MAKELPARAM(start.x, start.y));
        return;
    }
    sendHeader(left ? NM_CLICK : NM_RCLICK);
    DispatchMessageA(&message);
}

// The scroll position in pixels: whole rows vertically, pixels horizontally.
POINT CMultiTree::scrollOffset() const {
    const int rowHeight = static_cast<int>(send(TVM_GETITEMHEIGHT));
    return {GetScrollPos(handle(), SB_HORZ), GetScrollPos(handle(), SB_VERT) * rowHeight};
}

void CMultiTree::selectInBand(const RECT& band, std::vector<HTREEITEM>& base, bool shift, bool ctrl) {
    for (HTREEITEM item = next(nullptr, TVGN_ROOT); item; item = next(item, TVGN_NEXTVISIBLE)) {
        RECT row{}, overlap{};
        if (!TreeView_GetItemRect(handle(), item, &row, FALSE)) continue;
        auto inBase = std::find(base.begin(), base.end(), item);
        const bool wasBase = inBase != base.end();
        bool selected = wasBase;
        if (IntersectRect(&overlap, &row, &band)) {
            selected = !(wasBase && ctrl);
            if (wasBase && shift) base.erase(inBase);
        }
        if (selected != isSelected(item)) setItemSelection(item, selected ? kSelectedBit : 0, kSelectedBit);
    }
}

// Selects the items whose rows a band drawn with the mouse touches; the band scrolls the control
// while it lies outside the client area.
void CMultiTree::runRubberBand(bool left, POINT start, bool shift, bool ctrl) {
    SetFocus(handle());
    SetCapture(handle());
    std::vector<HTREEITEM> base;
    if (shift || ctrl) getSelectedItems(base);
    SetTimer(handle(), 1, 75, nullptr);
    const POINT scrolled = scrollOffset();
    const POINT origin{start.x + scrolled.x, start.y + scrolled.y}; // content coordinates
    const UINT upMessage = left ? WM_LBUTTONUP : WM_RBUTTONUP;
    bool started = false, drawn = false;
    RECT shown{};
    MSG message{};
    auto drawBand = [this](const RECT& band) {
        WindowDc dc(handle());
        DrawFocusRect(dc.get(), &band);
    };
    while (GetCapture() == handle() && GetMessageA(&message, nullptr, 0, 0)) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            selectAll(false);
            break;
        }
        if (message.message == upMessage) break;
        POINT point{};
        if (message.hwnd == handle() && message.message == WM_MOUSEMOVE) {
            point = {GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
        } else if (message.hwnd == handle() && message.message == WM_TIMER && message.wParam == 1) {
            GetCursorPos(&point);
            ScreenToClient(handle(), &point);
            RECT client = clientRect();
            if (PtInRect(&client, point)) continue;
        } else {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        if (!started) {
            if (abs(point.x - start.x) <= GetSystemMetrics(SM_CXDRAG) &&
                abs(point.y - start.y) <= GetSystemMetrics(SM_CYDRAG))
                continue;
            started = true;
            if (!shift && !ctrl) selectAll(false);
        }
        if (drawn) drawBand(shown);
        drawn = false;
        RECT client = clientRect();
        if (point.y < 0) send(WM_VSCROLL, SB_LINEUP);
        if (point.y >= client.bottom) send(WM_VSCROLL, SB_LINEDOWN);
        if (point.x < 0) send(WM_HSCROLL, SB_LINELEFT);
        if (point.x >= client.right) send(WM_HSCROLL, SB_LINERIGHT);
        const POINT now = scrollOffset();
        const POINT from{origin.x - now.x, origin.y - now.y};
        RECT band{std::min(from.x, point.x), std::min(from.y, point.y), std::max(from.x, point.x) + 1,
                  std::max(from.y, point.y) + 1};
        selectInBand(band, base, shift, ctrl);
        UpdateWindow(handle());
        shown = band;
        drawBand(shown);
        drawn = true;
    }
    KillTimer(handle(), 1);
    if (GetCapture() == handle()) ReleaseCapture();
    if (drawn)
        drawBand(shown);
    else if (!shift && !ctrl)
        selectAll(false);
    sendHeader(left ? NM_CLICK : NM_RCLICK);
    if (message.message == upMessage) DispatchMessageA(&message);
    anchor_ = getFirstSelected();
}

void CMultiTree::onKeyDown(WPARAM key) {
    SelectingScope scope(selecting_, 2);
    const bool ctrl = keyDown(VK_CONTROL), shift = keyDown(VK_SHIFT);
    HTREEITEM caret = caretItem();
    if (key == VK_SPACE) {
        if (caret) setItemSelection(caret, (ctrl && isSelected(caret)) ? 0 : kSelectedBit, kSelectedBit);
        return;
    }
    const bool navigation = key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME ||
                            key == VK_UP || key == VK_DOWN;
    if (!navigation) {
        CSubclassedWindow::windowProc(WM_KEYDOWN, key, 0);
        return;
    }
    if (!anchor_) anchor_ = caret;
    if (!ctrl && !shift) {
        anchor_ = nullptr;
        selectAll(false);
    }
    if (ctrl && !shift) {
        // Ctrl moves the caret only.
        HTREEITEM target = nullptr;
        if (key == VK_END)
            target = next(nullptr, TVGN_LASTVISIBLE);
        else if (key == VK_HOME)
            target = next(nullptr, TVGN_ROOT);
        else if (key == VK_UP && caret)
            target = next(caret, TVGN_PREVIOUSVISIBLE);
        else if (key == VK_DOWN && caret)
            target = next(caret, TVGN_NEXTVISIBLE);
        if (target)
            setItemSelection(target, kCaretBit | (isSelected(target) ? kSelectedBit : 0),
                             kCaretBit | kSelectedBit);
        return;
    }
    CSubclassedWindow::windowProc(WM_KEYDOWN, key, 0);
    HTREEITEM moved = caretItem();
    if (shift && moved) {
        selectRange(anchor_ ? anchor_ : moved, moved, true);
    } else if (moved) {
        setItemSelection(moved, kSelectedBit, kSelectedBit);
    }
}

void CMultiTree::deselectDescendants(HTREEITEM folder, bool& hadCaret) {
    HTREEITEM caret = caretItem();
    for (HTREEITEM child = next(folder, TVGN_CHILD); child; child = next(child, TVGN_NEXT)) {
        if (child == caret) hadCaret = true;
        if (isSelected(child)) setItemSelection(child, 0, kSelectedBit);
        deselectDescendants(child, hadCaret);
    }
}

void CMultiTree::onItemExpanding(const NMTREEVIEWA& change) {
    HTREEITEM folder = change.itemNew.hItem;
    int image = 3;
    if (change.action & TVE_COLLAPSE) {
        bool hadCaret = false;
        deselectDescendants(folder, hadCaret);
        clearCaretAfterCollapse_ = hadCaret && !isSelected(folder);
        if (clearCaretAfterCollapse_) send(TVM_SELECTITEM, TVGN_CARET, 0);
        image = 2;
    }
    TVITEMA info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = folder;
    info.iImage = image;
    info.iSelectedImage = image;
    send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
}

bool CMultiTree::acceptEditedLabel(const NMTVDISPINFOA& info) {
    if (!info.item.pszText) return false;
    std::string text(info.item.pszText);
    if (text.size() > kEditLimit) text.resize(kEditLimit);
    HTREEITEM item = info.item.hItem;
    if (!isValidFileName(text)) {
        SetFocus(handle());
        PostMessageA(handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item));
        return false;
    }
    HTREEITEM parent = next(item, TVGN_PARENT);
    HTREEITEM first = parent ? next(parent, TVGN_CHILD) : next(nullptr, TVGN_ROOT);
    for (HTREEITEM sibling = first; sibling; sibling = next(sibling, TVGN_NEXT)) {
        if (sibling == item || sibling == caretItem() || itemText(handle(), sibling, kEditLimit) != text)
            continue;
        askQuestion(isFolder(sibling) ? "MessageBoxFolderExists" : "MessageBoxFileExists", "");
        SetFocus(handle());
        PostMessageA(handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item));
        return false;
    }
    if (keepEditedLabel_) editedLabel() = text;
    labelBeforeEdit_.clear();
    return true;
}

bool CMultiTree::reflectNotify(NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
        if (multiSelect_) onItemExpanding(reinterpret_cast<NMTREEVIEWA&>(header));
        return false;
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        // Some controls hand the caret to the collapsed folder itself; it is taken back.
        HTREEITEM folder = reinterpret_cast<NMTREEVIEWA&>(header).itemNew.hItem;
        if (std::exchange(clearCaretAfterCollapse_, false) && caretItem() == folder) {
            send(TVM_SELECTITEM, TVGN_CARET, 0);
            setState(folder, 0, kSelectedBit);
        }
        return false;
    }
    case TVN_BEGINLABELEDITA: {
        auto& info = reinterpret_cast<NMTVDISPINFOA&>(header);
        editing_ = 1;
        const bool allowed = labelEdit_ && info.item.hItem != next(nullptr, TVGN_ROOT);
        if (allowed) labelBeforeEdit_ = itemText(handle(), info.item.hItem, kEditLimit);
        if (!allowed) editing_ = 0;
        result = allowed ? FALSE : TRUE;
        return true;
    }
    case TVN_ENDLABELEDITA:
        if (!editing_) return false;
        editing_ = 0;
        result = acceptEditedLabel(reinterpret_cast<NMTVDISPINFOA&>(header)) ? TRUE : FALSE;
        return true;
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW:
        result = 0;
        if (dragDrop_) beginDrag();
        return true;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
        if (reinterpret_cast<NMTREEVIEWA&>(header).itemOld.hItem == anchor_) anchor_ = nullptr;
        return false;
    default:
        return false;
    }
}

void CMultiTree::beginDrag() {
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(handle(), &point);
    getSelectedItems(draggedItems_);
    if (draggedItems_.empty()) return;
    TVHITTESTINFO hit{};
    hit.pt = point;
    dragStart_ = reinterpret_cast<HTREEITEM>(send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!dragStart_) {
        draggedItems_.clear();
        return;
    }
    dragging_ = 1;
    dragImage_ =
        reinterpret_cast<HIMAGELIST>(send(TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(dragStart_)));
    ImageList_DragShowNolock(TRUE);
    ImageList_BeginDrag(dragImage_, 0, 0, 0);
    ImageList_DragMove(point.x, point.y);
    ImageList_DragEnter(handle(), point.x, point.y);
    SetCapture(handle());
    repaintOnDragMove = true;
}

bool CMultiTree::autoScroll(POINT point) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(handle(), SB_VERT, &info)) return false;
    const int limit = info.nMax - static_cast<int>(info.nPage) + 1;
    if (limit <= 0) return false;
    POINT screen = point;
    ClientToScreen(handle(), &screen);
    RECT window{};
    GetWindowRect(handle(), &window);
    const bool up = screen.y < window.top && info.nPos > 0;
    const bool down = screen.y >= window.bottom && info.nPos < limit;
    if (!up && !down) return false;
    trace(up ? "****Scroll Ctrl Up\n" : "****Scroll Ctrl Down\n");
    for (HTREEITEM item = next(nullptr, TVGN_FIRSTVISIBLE); item; item = next(item, TVGN_NEXTVISIBLE)) {
        RECT row{};
        if (!TreeView_GetItemRect(handle(), item, &row, FALSE) || !PtInRect(&row, point)) continue;
        scrollTarget_ = item;
        SetTimer(handle(), kScrollTimer, 50, nullptr);
        return true;
    }
    return false;
}

void CMultiTree::dragOver(POINT point) {
    ImageList_DragMove(point.x, point.y);
    lastMouse_ = point;
    KillTimer(handle(), kScrollTimer);
    if (autoScroll(point)) return;
    TVHITTESTINFO hit{};
    hit.pt = point;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (item && !isFolder(item)) {
        KillTimer(handle(), kExpandTimer);
    } else if (item && item != hoverItem_ && next(item, TVGN_NEXTVISIBLE) != next(item, TVGN_CHILD)) {
        trace("itemText: %s\n", itemText(handle(), item, kEditLimit).c_str());
        SetTimer(handle(), kExpandTimer, 600, nullptr);
    }
    if (item) {
        hoverItem_ = dropTarget_ = item;
        ImageList_DragShowNolock(FALSE);
        send(TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(item));
        ImageList_DragShowNolock(TRUE);
    }
    if (std::exchange(repaintOnDragMove, false)) {
        ImageList_DragShowNolock(FALSE);
        RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        ImageList_DragShowNolock(TRUE);
    }
}

void CMultiTree::onTimer(UINT_PTR id) {
    if (id == kExpandTimer) {
        trace("CMultiTree::OnTimer(%d) - Tree espand\n", static_cast<int>(id));
        ImageList_DragShowNolock(FALSE);
        if (hoverItem_) send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hoverItem_));
        RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        ImageList_DragShowNolock(TRUE);
        KillTimer(handle(), kExpandTimer);
        return;
    }
    trace("CMultiTree::OnTimer(%d) - Auto Scrolling\n", static_cast<int>(id));
    TVHITTESTINFO hit{};
    hit.pt = lastMouse_;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!item)
        item = scrollTarget_ ? next(scrollTarget_, lastMouse_.y < 0 ? TVGN_PREVIOUSVISIBLE : TVGN_NEXTVISIBLE)
                             : nullptr;
    if (!item) {
        KillTimer(handle(), kScrollTimer);
        return;
    }
    trace("visible item :%s\n", itemText(handle(), item, kEditLimit).c_str());
    scrollTarget_ = item;
    ImageList_DragShowNolock(FALSE);
    send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    ImageList_DragShowNolock(TRUE);
}

bool CMultiTree::isInSubtree(HTREEITEM item, HTREEITEM root) const {
    for (HTREEITEM up = item; up; up = next(up, TVGN_PARENT))
        if (up == root) return true;
    return false;
}

bool CMultiTree::hasChildLabeled(HTREEITEM folder, const std::string& label) const {
    for (HTREEITEM child = next(folder, TVGN_CHILD); child; child = next(child, TVGN_NEXT))
        if (itemText(handle(), child, kEditLimit) == label) return true;
    return false;
}

HTREEITEM CMultiTree::moveItem(HTREEITEM item, HTREEITEM folder) {
    std::string label = itemText(handle(), item, kEditLimit);
    if (label.size() > kMovedLabelLimit) label.resize(kMovedLabelLimit);
    TVITEMA old{};
    old.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    old.hItem = item;
    send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&old));
    TVINSERTSTRUCTA insert{};
    insert.hParent = folder;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = label.data();
    insert.item.iImage = old.iImage;
    insert.item.iSelectedImage = old.iSelectedImage;
    HTREEITEM moved =
        reinterpret_cast<HTREEITEM>(send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!moved) return nullptr;
    if (old.iImage == 0 && old.lParam) {
        // The data block changes its owner item.
        TVITEMA data{};
        data.mask = TVIF_PARAM;
        data.hItem = moved;
        data.lParam = old.lParam;
        send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
        data.hItem = item;
        data.lParam = 0;
        send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    }
    for (HTREEITEM child = next(item, TVGN_CHILD); child; child = next(item, TVGN_CHILD)) {
        moveItem(child, moved);
        send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
    }
    return moved;
}

void CMultiTree::endDrag() {
    ImageList_DragLeave(handle());
    ImageList_EndDrag();
    if (dragImage_) ImageList_Destroy(std::exchange(dragImage_, nullptr));
    KillTimer(handle(), kExpandTimer);
    KillTimer(handle(), kScrollTimer);
    trace("*** Drag & drop Begin\n");
    int clashes = 0;
    std::vector<HTREEITEM> dragged = std::move(draggedItems_);
    HTREEITEM target = dropTarget_;
    std::vector<HTREEITEM> moved;
    for (size_t i = 0; i < dragged.size(); ++i) {
        HTREEITEM item = dragged[i];
        // An item whose folder moved already went with it; its old handle is gone.
        if (std::any_of(moved.begin(), moved.end(), [&](HTREEITEM gone) { return isInSubtree(item, gone); }))
            continue;
        trace("item %d [%s]\n", static_cast<int>(i), itemText(handle(), item, kEditLimit).c_str());
        if (!target || item == target || isInSubtree(target, item) || next(item, TVGN_PARENT) == target ||
            !isFolder(target))
            continue;
        if (hasChildLabeled(target, itemText(handle(), item, kEditLimit))) {
            ++clashes;
            continue;
        }
        if (!moveItem(item, target)) continue;
        moved.push_back(item);
        send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    }
    trace("*** Drag & drop End\n");
    draggedItems_.clear();
    if (GetCapture() == handle()) ReleaseCapture();
    dragging_ = 0;
    dropTarget_ = hoverItem_ = dragStart_ = scrollTarget_ = nullptr;
    send(TVM_SELECTITEM, TVGN_DROPHILITE, 0);
    if (clashes) askQuestion("MessageBoxTreeMoveItems", "");
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}
