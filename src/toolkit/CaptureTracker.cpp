#include "toolkit/CaptureTracker.h"

CCaptureTracker::CCaptureTracker(HWND window) : window_(window) {
    SetCapture(window_);
}

bool CCaptureTracker::nextMessage(MSG& message) const {
    return held() && GetMessageA(&message, nullptr, 0, 0);
}

void CCaptureTracker::release() const {
    if (held()) ReleaseCapture();
}
