// The yardstick of the start-up benchmark: a bare top-level window of the wizard frame's size
// with the frame's four buttons, and a message loop; nothing else.
#include <windows.h>

namespace {
LRESULT CALLBACK bareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = bareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
    windowClass.lpszClassName = "NvBareWindow";
    RegisterClassA(&windowClass);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer{0, 0, 600, 420};
    AdjustWindowRectEx(&outer, style, FALSE, WS_EX_APPWINDOW);
    HWND window = CreateWindowExA(WS_EX_APPWINDOW, "NvBareWindow", "Favoriten importieren und exportieren",
                                  style, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    const char* const captions[] = {"< Zur\xFC"
                                    "ck",
                                    "Weiter >", "Fertigstellen", "Abbrechen"};
    const int lefts[] = {180, 280, 380, 490};
    for (int i = 0; i < 4; ++i)
        CreateWindowExA(0, "BUTTON", captions[i], WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                        lefts[i], 380, 90, 25, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)),
                        instance, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
