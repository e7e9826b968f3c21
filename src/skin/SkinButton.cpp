#include "skin/SkinButton.h"

#include <commctrl.h>
#include <windowsx.h>

#include "skin/SkinBitmap.h"
#include "toolkit/MainWindow.h"

namespace {
constexpr int kToolId = 1;
constexpr int kToolTipMargin = 22;
} // namespace

ScopedRegion CSkinButton::outlineRegion() const {
    const int frame = frameWidth();
    return createRegionFromBitmap(bitmap_, bitmapWidth_ - frame, 0, frame, bitmapHeight_);
}

void CSkinButton::setBitmap(HBITMAP bitmap) {
    if (bitmap) {
        BITMAP info{};
        GetObjectA(bitmap, sizeof(info), &info);
        bitmap_ = bitmap;
        bitmapWidth_ = info.bmWidth;
        bitmapHeight_ = info.bmHeight;
        clipRegion_.reset();
        if (ScopedRegion region = outlineRegion()) {
            // The window owns the region from here on.
            if (SetWindowRgn(hwnd_, region.get(), TRUE)) region.release();
        }
    } else {
        bitmap_ = nullptr;
        bitmapWidth_ = bitmapHeight_ = 0;
        clipRegion_.reset();
    }
    send(BM_SETIMAGE, 0, reinterpret_cast<LPARAM>(bitmap));
}

void CSkinButton::setToolTipText(const std::string& text) {
    toolTipText_ = text;
    if (toolTip_) showToolTipText();
}

// The tooltip window comes with the first mouse move over the button, not with the text: a
// window for each button would cost every dialog's start, most of them never shown.
void CSkinButton::createToolTip(const MSG& firstMove) {
    if (!hwnd_ || toolTip_ || toolTipText_.empty()) return;
    toolTip_.reset(CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   GetModuleHandleA(nullptr), nullptr));
    if (!toolTip_) return;
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = hwnd_;
    tool.uId = kToolId;
    GetClientRect(hwnd_, &tool.rect);
    SendMessageA(toolTip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    showToolTipText();
    SendMessageA(toolTip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&firstMove));
}

void CSkinButton::showToolTipText() {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = hwnd_;
    tool.uId = kToolId;
    tool.lpszText = const_cast<char*>(toolTipText_.c_str());
    SendMessageA(toolTip_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(toolTip_.get(), TTM_ACTIVATE, TRUE, 0);
}

int CSkinButton::frameForState(UINT itemState) const {
    if (fixedFrame_ && frameCount_ == 6) return 4;
    if (itemState & ODS_DISABLED) return 3;
    POINT cursor{};
    GetCursorPos(&cursor);
    const bool captured = GetCapture() == hwnd_;
    if (WindowFromPoint(cursor) == hwnd_) return captured ? 1 : 2;
    return captured ? 2 : 0;
}

bool CSkinButton::drawItem(const DRAWITEMSTRUCT& item) {
    RECT client = clientRect();
    if (!bitmap_ && !(item.itemAction & ODA_DRAWENTIRE)) {
        // Nothing of the button's own covers the old focus frame: the parent paints what lies
        // under the button, then the button draws itself whole with its present state.
        repaintWhole();
        return true;
    }
    // Every request paints the whole button from its state, so the focus frame is drawn fresh
    // when the button has the focus and is gone when it has lost it (never toggled by XOR).
    if (bitmap_) {
        if (!clipRegion_) clipRegion_ = outlineRegion();
        drawBitmapPart(item.hDC, bitmap_, frameWidth() * frameForState(item.itemState), client.right,
                       client.bottom, clipRegion_.get());
    }
    drawCaption(item.hDC, client, (item.itemState & ODS_DISABLED) != 0);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = client;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(item.hDC, &focus);
    }
    return true;
}

void CSkinButton::repaintWhole() const {
    HWND parent = GetParent(hwnd_);
    if (!parent) return;
    RECT area{};
    GetWindowRect(hwnd_, &area);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CSkinButton::drawCaption(HDC dc, const RECT& client, bool disabled) const {
    std::string caption = text();
    if (caption.empty()) return;
    RECT rect = client;
    COLORREF previousColor = disabled ? SetTextColor(dc, RGB(150, 156, 166)) : CLR_INVALID;
    int previousMode = SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, caption.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(dc, previousMode);
    if (previousColor != CLR_INVALID) SetTextColor(dc, previousColor);
}

bool CSkinButton::preTranslateMessage(MSG& message) {
    if (!toolTip_) return false;
    SendMessageA(toolTip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    if (!IsWindowVisible(toolTip_.get())) {
        toolTipArmed_ = true;
        return false;
    }
    HWND main = getMainWindow();
    RECT mainRect{};
    POINT cursor{};
    if (toolTipArmed_ && main && GetWindowRect(main, &mainRect) && GetCursorPos(&cursor) &&
        cursor.y + kToolTipMargin > mainRect.bottom) {
        toolTipArmed_ = false;
        SetWindowPos(toolTip_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return false;
}

LRESULT CSkinButton::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button turns a quick second click into a double-click notification
        // and no click: taken as a press, every click of the user counts.
    case WM_LBUTTONDOWN: {
        message = WM_LBUTTONDOWN;
        hotWindow_ = hwnd_;
        LRESULT result = isEnabled() ? callDefault(message, wParam, lParam) : 0;
        invalidate(false);
        return result;
    }
    case WM_LBUTTONUP:
        hotWindow_ = nullptr;
        return callDefault(message, wParam, lParam);
    case WM_MOUSEMOVE: {
        if (!toolTip_) {
            const DWORD position = GetMessagePos();
            createToolTip(MSG{hwnd_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()),
                              POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)}});
        }
        if (GetCapture() != hwnd_) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&track);
        }
        POINT cursor{};
        GetCursorPos(&cursor);
        HWND under = WindowFromPoint(cursor);
        if (under != hotWindow_) {
            hotWindow_ = under;
            invalidate(false);
        }
        return callDefault(message, wParam, lParam);
    }
    case WM_MOUSELEAVE:
        hotWindow_ = nullptr;
        invalidate(false);
        return 0;
    default:
        return callDefault(message, wParam, lParam);
    }
}
