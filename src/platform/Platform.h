#pragma once
#include <string>

#include <windows.h>

// True on the Windows 9x family (bit 31 of GetVersion), computed once.
bool isWin9x();

// Fills text with the system's message for code ("Fehler: %d" when there is none); returns
// whether a system text was found. Leaves the thread's last error set to code.
bool getSystemErrorText(DWORD code, std::string& text);

// Registers (flag 1) or unregisters (any other flag) window for session change notifications
// through wtsapi32.dll, loaded at run time.
int setSessionNotification(int flag, HWND window);

// Today's local date as "dd.mm.yyyy".
std::string getDateString();
