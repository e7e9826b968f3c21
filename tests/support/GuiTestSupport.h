#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/ProcessStore.h"

// Helpers for tests that open real windows under Xvfb.

// A fresh store of the process (never opened) that holds the skin text and answers the skin
// lookups from itself (Windows 9x family path), so that a test controls every skin value; the
// store bound before comes back on destruction.
class SkinInStore {
  public:
    SkinInStore();
    explicit SkinInStore(const std::string& iniText);
    SkinInStore(const SkinInStore&) = delete;
    SkinInStore& operator=(const SkinInStore&) = delete;
    void add(const std::string& iniText);
    // The default skin file built beside the test executable.
    void addDefaultSkin();
    SharedStore& store() { return store_.store(); }

  private:
    ProcessStore store_{SkinSections::inStore};
};

// Drives a modal dialog of this thread without a person: each step runs on a timer tick while
// the modal loop runs, with the dialog's window (the active top-level dialog of this thread).
// A step returns false to be retried on the next tick. If the dialog is still open after the
// last step and the time limit, it is destroyed and the test fails.
class ModalDriver {
  public:
    using Step = std::function<bool(HWND dialog)>;
    explicit ModalDriver(std::vector<Step> steps, int limitMs = 8000);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    bool finished() const { return next_ >= steps_.size(); }
    bool timedOut() const { return timedOut_; }
    // True while a step runs: input given there is processed by the modal loop afterwards.
    static bool stepRunning();

  private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    void tick();
    std::vector<Step> steps_;
    size_t next_ = 0;
    int ticksLeft_;
    bool timedOut_ = false;
    // The thread's visible dialogs when the time ran out, for the failure message.
    std::string windowsAtTimeout_;
    bool busy_ = false;
    UINT_PTR timer_ = 0;
};

// The visible dialog window (class #32770) of this thread that was created last, or nullptr.
HWND findThreadDialog();
// Lets pending messages (paint, timers) run.
void pumpMessages(int milliseconds = 50);
// Clicks a control of the dialog with the mouse, as the user would. Outside a modal step it
// waits until the click has been handled; inside one, the modal loop handles it after the step.
void clickButton(HWND dialog, int id);
// Presses a key on the keyboard while the dialog (or the focus inside it) is active; waits as
// clickButton does.
void pressKey(HWND dialog, WPARAM key);

// A 32-bit top-down canvas with a memory device context.
class PixelCanvas {
  public:
    PixelCanvas(int width, int height, COLORREF fill = RGB(255, 0, 255));
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    HDC dc() const { return dc_; }
    COLORREF pixel(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }
    int countColor(const RECT& area, COLORREF color) const;
    // Pixels in the area whose colour is not the given one.
    int countOther(const RECT& area, COLORREF color) const;
    bool samePixels(const PixelCanvas& other) const;
    bool save(const std::string& path) const;

  private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Copies what the screen shows in the area (screen coordinates) onto the canvas at (0, 0).
void copyScreen(const RECT& area, PixelCanvas& canvas);

// Saves what the screen shows of the window (frame included) as screenshots\<name>.bmp beside
// the test executable; returns the path or "" on failure.
std::string saveScreenshot(HWND window, const std::string& name);
