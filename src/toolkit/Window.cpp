#include "toolkit/Window.h"

#include <algorithm>

std::string CWindow::text() const {
    if (!hwnd_) return {};
    int length = GetWindowTextLengthA(hwnd_);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(hwnd_, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

void CWindow::setText(const std::string& text) const {
    if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

void CWindow::show(bool visible) const {
    if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

bool CWindow::isVisible() const {
    return hwnd_ && IsWindowVisible(hwnd_);
}

void CWindow::enable(bool enabled) const {
    if (hwnd_) EnableWindow(hwnd_, enabled);
}

bool CWindow::isEnabled() const {
    return hwnd_ && IsWindowEnabled(hwnd_);
}

LRESULT CWindow::send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ ? SendMessageA(hwnd_, message, wParam, lParam) : 0;
}

LONG_PTR CWindow::style() const {
    return hwnd_ ? GetWindowLongPtrA(hwnd_, GWL_STYLE) : 0;
}

void CWindow::setStyle(LONG_PTR style) const {
    if (hwnd_) SetWindowLongPtrA(hwnd_, GWL_STYLE, style);
}

RECT CWindow::clientRect() const {
    RECT rect{};
    if (hwnd_) GetClientRect(hwnd_, &rect);
    return rect;
}

RECT CWindow::rectInParent() const {
    RECT rect{};
    if (!hwnd_) return rect;
    GetWindowRect(hwnd_, &rect);
    if (HWND parent = GetParent(hwnd_))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CWindow::invalidate(bool erase) const {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, erase);
}

HWND CWindow::item(int id) const {
    return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr;
}

void CWindow::centerOver(HWND owner) const {
    if (!hwnd_) return;
    RECT area{};
    if (owner && IsWindow(owner) && !IsIconic(owner))
        GetWindowRect(owner, &area);
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT own{};
    GetWindowRect(hwnd_, &own);
    int width = own.right - own.left, height = own.bottom - own.top;
    int left = area.left + (area.right - area.left - width) / 2;
    int top = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(hwnd_, nullptr, std::max(left, 0), std::max(top, 0), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
