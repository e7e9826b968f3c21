#include "toolkit/Dialog.h"

#include "platform/Trace.h"
#include "toolkit/MainWindow.h"
#include "toolkit/SubclassedWindow.h"

namespace {
// Messages whose dialog-procedure result is the message result itself.
bool returnsResultDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}
} // namespace

CDialog::~CDialog() {
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

INT_PTR CDialog::doModal() {
    HWND owner = owner_ && IsWindow(owner_) ? owner_ : getMainWindow();
    ended_ = false;
    result_ = -1;
    modeless_ = false;
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                                     &CDialog::staticProc, reinterpret_cast<LPARAM>(this));
    if (!window) return -1;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    if (!ended_ && !IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);

    running_ = true;
    MSG message{};
    while (!ended_ && hwnd_) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (translate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    running_ = false;

    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return result_;
}

bool CDialog::translate(MSG& message) {
    if (CSubclassedWindow* control = CSubclassedWindow::fromHandle(message.hwnd))
        if (control->preTranslateMessage(message)) return true;
    if (hwnd_ && (message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd))) {
        if (preTranslateMessage(message)) return true;
        return IsDialogMessageA(hwnd_, &message) != FALSE;
    }
    return false;
}

bool CDialog::create(HWND parent) {
    if (hwnd_) return false;
    modeless_ = true;
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent,
                                     &CDialog::staticProc, reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

void CDialog::endDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (modeless_ && hwnd_) DestroyWindow(hwnd_);
    // Wakes the modal loop when this runs outside of a message of this thread's queue.
    else if (hwnd_)
        PostMessageA(hwnd_, WM_NULL, 0, 0);
}

INT_PTR CALLBACK CDialog::staticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        if (self) self->hwnd_ = window;
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return FALSE;
    // No exception may cross into the system's dialog manager.
    try {
        INT_PTR handled = self->dispatch(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, DWLP_USER, 0);
            self->hwnd_ = nullptr;
        }
        return handled;
    } catch (...) {
        trace("exception in a dialog procedure (message %u)\n", message);
        return FALSE;
    }
}

INT_PTR CDialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (onMessage(message, wParam, lParam, result)) {
        if (returnsResultDirectly(message)) return static_cast<INT_PTR>(result);
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
        if (routeToControls(message, wParam, lParam)) return TRUE;
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (onCommand(id, code, reinterpret_cast<HWND>(lParam))) return TRUE;
        if (code == BN_CLICKED && id == IDOK) {
            onOK();
            return TRUE;
        }
        if (code == BN_CLICKED && id == IDCANCEL) {
            onCancel();
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        CSubclassedWindow* control = CSubclassedWindow::fromHandle(header.hwndFrom);
        if ((control && control->reflectNotify(header, result)) || onNotify(header, result)) {
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_DRAWITEM:
        return routeToControls(message, wParam, lParam) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

bool CDialog::routeToControls(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (!item || item->CtlType == ODT_MENU) return false;
        CSubclassedWindow* control = CSubclassedWindow::fromHandle(item->hwndItem);
        return control && control->drawItem(*item);
    }
    // WM_COMMAND from a control: the control sees its own notification first.
    CSubclassedWindow* control = CSubclassedWindow::fromHandle(reinterpret_cast<HWND>(lParam));
    return control && control->reflectCommand(HIWORD(wParam));
}
