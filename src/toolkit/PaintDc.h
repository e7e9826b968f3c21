#pragma once
#include <windows.h>

// The device context of a WM_PAINT answer: BeginPaint on construction, EndPaint on every path.
class CPaintDc {
  public:
    explicit CPaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~CPaintDc() { EndPaint(window_, &paint_); }
    CPaintDc(const CPaintDc&) = delete;
    CPaintDc& operator=(const CPaintDc&) = delete;

    HDC get() const { return dc_; }
    const PAINTSTRUCT& paint() const { return paint_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};
