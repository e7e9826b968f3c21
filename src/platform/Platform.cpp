#include "platform/Platform.h"

#include <cstdio>

namespace {
HMODULE& sessionLibrary() {
    static HMODULE library = nullptr;
    return library;
}
} // namespace

bool isWin9x() {
    static const bool win9x = (GetVersion() & 0x80000000u) != 0;
    return win9x;
}

bool getSystemErrorText(DWORD code, std::string& text) {
    text.clear();
    if (code == 0) return false;
    char* buffer = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    bool found = length > 0 && buffer != nullptr;
    if (found) {
        text.assign(buffer, length);
    } else {
        char fallback[32];
        std::snprintf(fallback, sizeof(fallback), "Fehler: %d", static_cast<int>(code));
        text = fallback;
    }
    if (buffer) LocalFree(buffer);
    SetLastError(code);
    return found;
}

int setSessionNotification(int flag, HWND window) {
    HMODULE& library = sessionLibrary();
    if (flag == 1) {
        if (!library) library = LoadLibraryA("wtsapi32.dll");
        if (!library) return 0;
        using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
        auto registerFn = reinterpret_cast<RegisterFn>(
            reinterpret_cast<void*>(GetProcAddress(library, "WTSRegisterSessionNotification")));
        return registerFn ? registerFn(window, 1) : 0;
    }
    if (!library) return 0;
    using UnregisterFn = BOOL(WINAPI*)(HWND);
    auto unregisterFn = reinterpret_cast<UnregisterFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "WTSUnRegisterSessionNotification")));
    if (!unregisterFn) return 0;
    int result = unregisterFn(window);
    FreeLibrary(library);
    library = nullptr;
    return result;
}

std::string getDateString() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof(text), "%02d.%02d.%02d", now.wDay, now.wMonth, now.wYear);
    return text;
}
