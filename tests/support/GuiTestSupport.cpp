#include "support/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/FileSystem.h"
#include "skin/BmpFile.h"
#include "support/GuiInput.h"
#include "support/TestSupport.h"
#include "toolkit/Window.h"

SkinInStore::SkinInStore() = default;

SkinInStore::SkinInStore(const std::string& iniText) {
    add(iniText);
}

void SkinInStore::add(const std::string& iniText) {
    IniDocument& document = store().document();
    document.parse(iniText, nullptr);
    // As in a store that loaded a skin: its sections are shared but never saved.
    for (const char* prefix : {"Layout", "StyleGuide", "Strings"})
        document.markSections(prefix);
}

void SkinInStore::addDefaultSkin() {
    std::string text = readTextFile(testExecutableDirectory() + "Skin0000.ini");
    ASSERT_FALSE(text.empty()) << "the default skin was not built beside the test";
    add(text);
}

namespace {
ModalDriver*& activeDriver() {
    static ModalDriver* driver = nullptr;
    return driver;
}

constexpr UINT kTickMs = 40;

// The visible dialogs of this thread from the top of the z-order down: title, enabled or not.
std::string describeThreadDialogs() {
    std::string text;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) {
            char className[32] = {};
            GetClassNameA(window, className, sizeof(className));
            if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window))
                *reinterpret_cast<std::string*>(out) +=
                    " \"" + CWindow(window).text() + "\"" + (IsWindowEnabled(window) ? "" : " (disabled)");
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

BOOL CALLBACK collectDialog(HWND window, LPARAM found) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

ModalDriver::ModalDriver(std::vector<Step> steps, int limitMs)
    : steps_(std::move(steps)), ticksLeft_(limitMs / static_cast<int>(kTickMs)) {
    activeDriver() = this;
    timer_ = SetTimer(nullptr, 0, kTickMs, &ModalDriver::onTimer);
}

ModalDriver::~ModalDriver() {
    if (timer_) KillTimer(nullptr, timer_);
    activeDriver() = nullptr;
    EXPECT_TRUE(finished()) << "the dialog ended before all scripted steps ran";
    EXPECT_FALSE(timedOut_) << "the dialog did not end in time and was destroyed; the thread's dialogs "
                               "then, topmost first:"
                            << windowsAtTimeout_;
}

void CALLBACK ModalDriver::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (ModalDriver* driver = activeDriver()) driver->tick();
}

bool ModalDriver::stepRunning() {
    return activeDriver() && activeDriver()->busy_;
}

void ModalDriver::tick() {
    // A step that pumps messages itself must not run the next steps from inside; input of the
    // last step is handled before the next step runs.
    if (busy_ || gui::inputPending()) return;
    HWND dialog = findThreadDialog();
    if (--ticksLeft_ < 0) {
        timedOut_ = true;
        windowsAtTimeout_ = describeThreadDialogs();
        if (timer_) KillTimer(nullptr, timer_);
        timer_ = 0;
        if (dialog) DestroyWindow(dialog);
        return;
    }
    if (!dialog || next_ >= steps_.size()) return;
    busy_ = true;
    Step step = steps_[next_];
    if (step(dialog)) ++next_;
    busy_ = false;
}

HWND findThreadDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &collectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void pumpMessages(int milliseconds) {
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    MSG message{};
    do {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

namespace {
void settle() {
    if (!ModalDriver::stepRunning()) gui::waitForIdle();
}

bool isSameOrChild(HWND window, HWND other) {
    return window == other || IsChild(window, other);
}
} // namespace

void clickButton(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    const POINT centre = gui::centreOf(control);
    // A disabled control lets the click fall through to its parent, as on the screen.
    ASSERT_TRUE(isSameOrChild(control, WindowFromPoint(centre)) || !IsWindowEnabled(control))
        << "control " << id << " is hidden or covered where it would be clicked";
    gui::clickAt(centre);
    settle();
}

void pressKey(HWND dialog, WPARAM key) {
    HWND root = GetAncestor(dialog, GA_ROOT);
    if (GetForegroundWindow() != root) SetForegroundWindow(root);
    if (!isSameOrChild(dialog, GetFocus())) SetFocus(dialog);
    gui::pressKey(static_cast<WORD>(key));
    settle();
}

PixelCanvas::PixelCanvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

PixelCanvas::~PixelCanvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF PixelCanvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || !bits_) return CLR_INVALID;
    GdiFlush();
    uint32_t value = bits_[static_cast<size_t>(y) * width_ + x];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

int PixelCanvas::countColor(const RECT& area, COLORREF color) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (pixel(x, y) == color) ++count;
    return count;
}

int PixelCanvas::countOther(const RECT& area, COLORREF color) const {
    return (area.right - area.left) * (area.bottom - area.top) - countColor(area, color);
}

bool PixelCanvas::samePixels(const PixelCanvas& other) const {
    if (width_ != other.width_ || height_ != other.height_ || !bits_ || !other.bits_) return false;
    GdiFlush();
    return std::equal(bits_, bits_ + static_cast<size_t>(width_) * height_, other.bits_);
}

bool PixelCanvas::save(const std::string& path) const {
    GdiFlush();
    std::vector<uint8_t> pixels(reinterpret_cast<const uint8_t*>(bits_),
                                reinterpret_cast<const uint8_t*>(bits_) +
                                    static_cast<size_t>(width_) * height_ * 4);
    std::string file = encodeBmp24(width_, height_, pixels);
    return !file.empty() && writeWholeFile(path, file.data(), file.size(), false, false);
}

void copyScreen(const RECT& area, PixelCanvas& canvas) {
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top,
           SRCCOPY);
    ReleaseDC(nullptr, screen);
}

std::string saveScreenshot(HWND window, const std::string& name) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return "";
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages(100);
    PixelCanvas canvas(rect.right - rect.left, rect.bottom - rect.top);
    copyScreen(rect, canvas);
    std::string folder = testExecutableDirectory() + "screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + "\\" + name + ".bmp";
    return canvas.save(path) ? path : "";
}
