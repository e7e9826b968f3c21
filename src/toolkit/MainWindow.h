#pragma once
#include <windows.h>

// The application's main window (the running wizard): the owner of dialogs created without
// one. None until a frame registers itself.
HWND getMainWindow();
void setMainWindow(HWND window);
