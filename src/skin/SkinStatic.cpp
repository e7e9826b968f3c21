#include "skin/SkinStatic.h"

#include "skin/SkinBitmap.h"

namespace {
constexpr int kMaxPaintedText = 511;
}

void CSkinStatic::setColors(uint32_t first, uint32_t second, uint32_t third) {
    colors_[0] = first;
    colors_[1] = second;
    colors_[2] = third;
}

void CSkinStatic::setFont(HFONT font) {
    font_.reset(font);
}

void CSkinStatic::setText(const std::string& text) {
    CWindow::setText(text);
    invalidateParentArea();
}

void CSkinStatic::invalidateParentArea() const {
    HWND parent = hwnd_ ? GetParent(hwnd_) : nullptr;
    if (!parent) return;
    RECT area = rectInParent();
    InvalidateRect(parent, &area, TRUE);
}

bool CSkinStatic::paintOn(HDC dc, HWND parent) const {
    if (!exists()) return false;
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    const LONG_PTR controlStyle = style();
    if ((controlStyle & SS_TYPEMASK) != SS_BITMAP) {
        char buffer[kMaxPaintedText + 1] = {};
        GetWindowTextA(hwnd_, buffer, sizeof(buffer));
        // Texts hold names of users, pages and folders: an "&" is shown, never a mnemonic.
        UINT format = DT_WORDBREAK | DT_NOPREFIX;
        if ((controlStyle & SS_TYPEMASK) == SS_CENTER) format |= DT_CENTER;
        if ((controlStyle & SS_TYPEMASK) == SS_RIGHT) format |= DT_RIGHT;
        int previousMode = SetBkMode(dc, TRANSPARENT);
        COLORREF previousColor = SetTextColor(dc, colors_[1]);
        HGDIOBJ previousFont = font_ ? SelectObject(dc, font_.get()) : nullptr;
        DrawTextA(dc, buffer, -1, &rect, format);
        if (previousFont) SelectObject(dc, previousFont);
        SetTextColor(dc, previousColor);
        SetBkMode(dc, previousMode);
        return true;
    }
    auto bitmap = reinterpret_cast<HBITMAP>(send(STM_GETIMAGE, IMAGE_BITMAP));
    if (!bitmap) return false;
    return drawBitmap(dc, bitmap, rect.left, rect.top, rect.right, rect.bottom, tile_);
}

LRESULT CSkinStatic::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return TRUE;
    return callDefault(message, wParam, lParam);
}
