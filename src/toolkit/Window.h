#pragma once
#include <windows.h>

#include <string>

// A non-owning, uncopyable wrapper of a window handle with the few operations the dialogs use.
class CWindow {
  public:
    CWindow() = default;
    explicit CWindow(HWND window) : hwnd_(window) {}
    virtual ~CWindow() = default;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND handle() const { return hwnd_; }
    bool exists() const { return hwnd_ != nullptr && IsWindow(hwnd_); }
    void bind(HWND window) { hwnd_ = window; }

    std::string text() const;
    void setText(const std::string& text) const;
    void show(bool visible) const;
    bool isVisible() const;
    void enable(bool enabled) const;
    bool isEnabled() const;
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LONG_PTR style() const;
    void setStyle(LONG_PTR style) const;
    RECT clientRect() const;
    // The window rectangle in the client coordinates of its parent.
    RECT rectInParent() const;
    void invalidate(bool erase = true) const;
    HWND item(int id) const;
    void centerOver(HWND owner) const;

  protected:
    HWND hwnd_ = nullptr;
};
