#include "support/GuiInput.h"

#include <optional>
#include <vector>

namespace gui {
namespace {
void send(const INPUT& input) {
    INPUT copy = input;
    SendInput(1, &copy, sizeof(INPUT));
}

INPUT mouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    return input;
}

INPUT keyInput(WORD key, DWORD flags, WORD scan = 0) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = scan ? scan : static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

// Absolute coordinates of a pixel on the primary screen (0..65535).
LONG normalised(int pixel, int extent) {
    return static_cast<LONG>((static_cast<long long>(pixel) * 65535 + extent - 1) / (extent - 1));
}

struct Absolute {
    LONG x;
    LONG y;
};

// Absolute coordinates that put the cursor exactly on a pixel of the primary screen. Systems
// round the absolute scale differently, so the first guess is tried and moved by whole pixels
// until it lands; the cursor is left there. Empty when it does not land.
std::optional<Absolute> landOn(POINT screen) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    Absolute at{normalised(screen.x, width), normalised(screen.y, height)};
    for (int attempt = 0; attempt < 3; ++attempt) {
        send(mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at.x, at.y));
        POINT now{};
        GetCursorPos(&now);
        if (now.x == screen.x && now.y == screen.y) return at;
        at.x += (screen.x - now.x) * 65536 / width;
        at.y += (screen.y - now.y) * 65536 / height;
    }
    return std::nullopt;
}

bool isExtendedKey(WORD key) {
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_INSERT:
    case VK_DELETE:
    case VK_RCONTROL:
    case VK_RMENU:
        return true;
    default:
        return false;
    }
}

void pumpOnce() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Puts the cursor exactly on the pixel; the absolute coordinates that land there, if any do.
std::optional<Absolute> placeCursor(POINT screen) {
    if (std::optional<Absolute> at = landOn(screen)) return at;
    POINT now{};
    GetCursorPos(&now);
    send(mouseInput(MOUSEEVENTF_MOVE, screen.x - now.x, screen.y - now.y));
    return std::nullopt;
}
} // namespace

void moveMouse(POINT screen) {
    placeCursor(screen);
}

void buttonDown(Button button) {
    send(mouseInput(button == Button::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN));
}

void buttonUp(Button button) {
    send(mouseInput(button == Button::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP));
}

void clickAt(POINT screen, Button button) {
    // Press and release carry their place. Under Wine, the X server's report about a window just
    // mapped under the pointer can put the cursor back where it was between the move and the
    // press; a click without a place would then land there.
    const std::optional<Absolute> at = placeCursor(screen);
    if (!at) {
        buttonDown(button);
        buttonUp(button);
        return;
    }
    const DWORD placed = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    const bool left = button == Button::Left;
    send(mouseInput(placed | (left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN), at->x, at->y));
    send(mouseInput(placed | (left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP), at->x, at->y));
}

POINT clientToScreen(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

POINT centreOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return clientToScreen(window, {(client.left + client.right) / 2, (client.top + client.bottom) / 2});
}

void click(HWND window, Button button) {
    clickAt(centreOf(window), button);
}

void clickClient(HWND window, POINT client, Button button) {
    clickAt(clientToScreen(window, client), button);
}

void keyDown(WORD key) {
    send(keyInput(key, isExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0));
}

void keyUp(WORD key) {
    send(keyInput(key, KEYEVENTF_KEYUP | (isExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0)));
}

void pressKey(WORD key, std::initializer_list<WORD> modifiers) {
    for (WORD modifier : modifiers)
        keyDown(modifier);
    keyDown(key);
    keyUp(key);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
        keyUp(*it);
}

void typeText(const std::string& text) {
    std::vector<wchar_t> wide(text.size() + 1);
    const int count = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                          static_cast<int>(wide.size()));
    for (int i = 0; i < count; ++i) {
        send(keyInput(0, KEYEVENTF_UNICODE, static_cast<WORD>(wide[i])));
        send(keyInput(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, static_cast<WORD>(wide[i])));
    }
}

namespace {
struct Player {
    const std::vector<std::function<void()>>* events = nullptr;
    size_t next = 0;
    UINT_PTR timer = 0;
};

Player& player() {
    static Player current;
    return current;
}

void CALLBACK playNext(HWND, UINT, UINT_PTR, DWORD) {
    Player& current = player();
    if (!current.events || current.next >= current.events->size()) {
        if (current.timer) KillTimer(nullptr, current.timer);
        current.timer = 0;
        return;
    }
    (*current.events)[current.next++]();
}
} // namespace

void play(const std::vector<std::function<void()>>& events, int intervalMs) {
    Player& current = player();
    current = {&events, 0, SetTimer(nullptr, 0, static_cast<UINT>(intervalMs), &playNext)};
    waitFor([&current] { return current.timer == 0 && !inputPending(); },
            5000 + intervalMs * static_cast<int>(events.size()));
    if (current.timer) KillTimer(nullptr, current.timer);
    current = {};
    waitForIdle();
}

bool inputPending() {
    return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE)) != 0;
}

void waitForIdle(int limitMs) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(limitMs);
    int quietRounds = 0;
    while (quietRounds < 3 && static_cast<int>(end - GetTickCount()) > 0) {
        pumpOnce();
        const bool busy = HIWORD(GetQueueStatus(QS_ALLINPUT & ~QS_TIMER)) != 0;
        quietRounds = busy ? 0 : quietRounds + 1;
        if (!busy) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool waitFor(const std::function<bool()>& condition, int limitMs) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(limitMs);
    while (!condition()) {
        if (static_cast<int>(end - GetTickCount()) <= 0) return false;
        pumpOnce();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

} // namespace gui
