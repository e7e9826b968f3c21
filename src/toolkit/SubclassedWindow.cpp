#include "toolkit/SubclassedWindow.h"

#include <unordered_map>

#include "platform/Trace.h"

namespace {
// The object of every subclassed window of this thread. Every message of such a window looks
// its object up: a window property would ask the window server each time.
std::unordered_map<HWND, CSubclassedWindow*>& objects() {
    thread_local std::unordered_map<HWND, CSubclassedWindow*> map;
    return map;
}
} // namespace

CSubclassedWindow::~CSubclassedWindow() {
    HWND window = hwnd_;
    unsubclass();
    if (ownsWindow_ && window && IsWindow(window)) DestroyWindow(window);
}

bool CSubclassedWindow::subclass(HWND control) {
    if (!control || hwnd_ || !objects().emplace(control, this).second) return false;
    hwnd_ = control;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSubclassedWindow::staticProc)));
    return true;
}

bool CSubclassedWindow::create(const char* className, DWORD style, HWND parent, int id, const char* text) {
    HWND control = CreateWindowExA(0, className, text, style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (!control) return false;
    if (!subclass(control)) {
        DestroyWindow(control);
        return false;
    }
    ownsWindow_ = true;
    return true;
}

void CSubclassedWindow::unsubclass() {
    if (!hwnd_) return;
    if (IsWindow(hwnd_) && previous_)
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    objects().erase(hwnd_);
    previous_ = nullptr;
    hwnd_ = nullptr;
}

CSubclassedWindow* CSubclassedWindow::fromHandle(HWND window) {
    if (!window) return nullptr;
    auto found = objects().find(window);
    return found == objects().end() ? nullptr : found->second;
}

LRESULT CSubclassedWindow::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return callDefault(message, wParam, lParam);
}

LRESULT CSubclassedWindow::callDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!previous_) return DefWindowProcA(hwnd_, message, wParam, lParam);
    return CallWindowProcA(previous_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassedWindow::staticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CSubclassedWindow* self = fromHandle(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC previous = self->previous_;
        self->unsubclass();
        self->ownsWindow_ = false;
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    // No exception may cross into the system's code.
    try {
        return self->windowProc(message, wParam, lParam);
    } catch (...) {
        trace("exception in the window procedure of a control\n");
        return self->callDefault(message, wParam, lParam);
    }
}
