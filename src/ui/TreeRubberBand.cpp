#include "ui/TreeRubberBand.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "platform/Handles.h"
#include "toolkit/CaptureTracker.h"
#include "ui/TreeSelection.h"

namespace {
constexpr UINT_PTR kBandTimer = 1;
constexpr UINT kBandTimerMs = 75;
} // namespace

// The scroll position in pixels: whole rows vertically, pixels horizontally.
POINT CTreeRubberBand::scrollOffset() const {
    const int rowHeight = static_cast<int>(SendMessageA(tree_, TVM_GETITEMHEIGHT, 0, 0));
    return {GetScrollPos(tree_, SB_HORZ), GetScrollPos(tree_, SB_VERT) * rowHeight};
}

void CTreeRubberBand::draw(const RECT& band) const {
    WindowDc dc(tree_);
    DrawFocusRect(dc.get(), &band);
}

void CTreeRubberBand::selectInBand(const RECT& band, std::vector<HTREEITEM>& base, bool shift, bool ctrl) {
    for (HTREEITEM item = view().root(); item; item = view().nextVisible(item)) {
        RECT row{}, overlap{};
        if (!TreeView_GetItemRect(tree_, item, &row, FALSE)) continue;
        auto inBase = std::find(base.begin(), base.end(), item);
        const bool wasBase = inBase != base.end();
        bool selected = wasBase;
        if (IntersectRect(&overlap, &row, &band)) {
            selected = !(wasBase && ctrl);
            if (wasBase && shift) base.erase(inBase);
        }
        if (selected != selection_.isSelected(item))
            selection_.set(item, selected ? CTreeSelection::kSelectedBit : 0, CTreeSelection::kSelectedBit);
    }
}

void CTreeRubberBand::run(bool left, POINT start, bool shift, bool ctrl) {
    SetFocus(tree_);
    CCaptureTracker capture(tree_);
    std::vector<HTREEITEM> base;
    if (shift || ctrl) selection_.items(base);
    SetTimer(tree_, kBandTimer, kBandTimerMs, nullptr);
    const POINT scrolled = scrollOffset();
    const POINT origin{start.x + scrolled.x, start.y + scrolled.y}; // content coordinates
    const UINT upMessage = left ? WM_LBUTTONUP : WM_RBUTTONUP;
    bool started = false, drawn = false;
    RECT shown{};
    MSG message{};
    while (capture.nextMessage(message)) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            selection_.selectAllExcept(false, nullptr);
            break;
        }
        if (message.message == upMessage) break;
        POINT point{};
        if (message.hwnd == tree_ && message.message == WM_MOUSEMOVE) {
            point = {GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
        } else if (message.hwnd == tree_ && message.message == WM_TIMER && message.wParam == kBandTimer) {
            // Ticks move the band only while the mouse stands outside.
            GetCursorPos(&point);
            ScreenToClient(tree_, &point);
            RECT client{};
            GetClientRect(tree_, &client);
            if (PtInRect(&client, point)) continue;
        } else {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        if (!started) {
            if (std::abs(point.x - start.x) <= GetSystemMetrics(SM_CXDRAG) &&
                std::abs(point.y - start.y) <= GetSystemMetrics(SM_CYDRAG))
                continue;
            started = true;
            if (!shift && !ctrl) selection_.selectAllExcept(false, nullptr);
        }
        if (drawn) draw(shown);
        drawn = false;
        RECT client{};
        GetClientRect(tree_, &client);
        if (point.y < 0) SendMessageA(tree_, WM_VSCROLL, SB_LINEUP, 0);
        if (point.y >= client.bottom) SendMessageA(tree_, WM_VSCROLL, SB_LINEDOWN, 0);
        if (point.x < 0) SendMessageA(tree_, WM_HSCROLL, SB_LINELEFT, 0);
        if (point.x >= client.right) SendMessageA(tree_, WM_HSCROLL, SB_LINERIGHT, 0);
        const POINT now = scrollOffset();
        const POINT from{origin.x - now.x, origin.y - now.y};
        RECT band{std::min(from.x, point.x), std::min(from.y, point.y), std::max(from.x, point.x) + 1,
                  std::max(from.y, point.y) + 1};
        selectInBand(band, base, shift, ctrl);
        UpdateWindow(tree_);
        shown = band;
        draw(shown);
        drawn = true;
    }
    KillTimer(tree_, kBandTimer);
    capture.release();
    if (drawn)
        draw(shown);
    else if (!shift && !ctrl)
        selection_.selectAllExcept(false, nullptr);
    view().notifyParent(left ? NM_CLICK : NM_RCLICK);
    if (message.message == upMessage) DispatchMessageA(&message);
    selection_.setAnchor(selection_.first());
}
