#include "toolkit/MainWindow.h"

namespace {
HWND& mainWindow() {
    static HWND window = nullptr;
    return window;
}
} // namespace

HWND getMainWindow() {
    HWND window = mainWindow();
    return window && IsWindow(window) ? window : nullptr;
}

void setMainWindow(HWND window) {
    mainWindow() = window;
}
