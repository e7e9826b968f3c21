#pragma once
#include <windows.h>

// The mouse capture of one window while the mouse is tracked: taken on construction, given
// back on release or destruction unless another window took it meanwhile (WM_CAPTURECHANGED).
// A modal tracking loop takes its messages through nextMessage, which ends once the capture is
// lost.
class CCaptureTracker {
  public:
    explicit CCaptureTracker(HWND window);
    ~CCaptureTracker() { release(); }
    CCaptureTracker(const CCaptureTracker&) = delete;
    CCaptureTracker& operator=(const CCaptureTracker&) = delete;

    bool held() const { return GetCapture() == window_; }
    // The next message of the thread while the capture is held; false once it is lost or the
    // thread is asked to quit.
    bool nextMessage(MSG& message) const;
    void release() const;

  private:
    HWND window_;
};
