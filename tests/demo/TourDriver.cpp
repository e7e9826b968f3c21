#include "TourDriver.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "RemoteControls.h"
#include "support/GuiInput.h"
#include "support/GuiTestSupport.h"
#include "ui/ResourceIds.h"

namespace {
constexpr DWORD kStartLimitMs = 20000;
constexpr DWORD kStepLimitMs = 5000;
constexpr DWORD kOperationLimitMs = 30000;
constexpr DWORD kEndLimitMs = 10000;
constexpr DWORD kPollMs = 20;

std::string toUtf8(const std::string& ansi) {
    const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), units);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

// The lines of a message joined by blanks, for the log.
std::string joinedLines(const std::string& text) {
    std::string joined;
    for (char c : text)
        if (c != '\r') joined += c == '\n' ? ' ' : c;
    return joined;
}

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

POINT centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Copies the screen area until two copies in a row are equal, so that the picture shows the
// windows after they have painted.
bool captureSettled(const RECT& area, PixelCanvas& result) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    auto previous = std::make_unique<PixelCanvas>(width, height);
    copyScreen(area, *previous);
    for (int attempt = 0; attempt < 25; ++attempt) {
        Sleep(60);
        copyScreen(area, result);
        if (result.samePixels(*previous)) return true;
        copyScreen(area, *previous);
    }
    return false;
}
} // namespace

TourDriver::TourDriver(std::string programFolder, std::string pictureFolder, const std::string& logFile)
    : programFolder_(std::move(programFolder)), pictureFolder_(std::move(pictureFolder)),
      log_(logFile, std::ios::binary | std::ios::trunc) {
    CreateDirectoryA(pictureFolder_.c_str(), nullptr);
}

TourDriver::~TourDriver() {
    program_.terminate();
}

void TourDriver::writeLine(const std::string& line) {
    const std::string utf8 = toUtf8(line);
    log_ << utf8 << "\n";
    log_.flush();
}

void TourDriver::heading(const std::string& text) {
    writeLine("");
    writeLine(text);
}

void TourDriver::note(const std::string& text) {
    writeLine("  " + text);
}

bool TourDriver::fail(const std::string& reason) {
    if (failed_) return false;
    failed_ = true;
    std::string line = reason;
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    writeLine("  FAILED: " + line);
    std::fprintf(stderr, "demo tour failed: %s\n", toUtf8(line).c_str());
    // The whole screen as it was when the step failed, to see why.
    PixelCanvas canvas(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    copyScreen(RECT{0, 0, canvas.width(), canvas.height()}, canvas);
    canvas.save(pictureFolder_ + "\\failed.bmp");
    program_.terminate();
    return false;
}

bool TourDriver::waitFor(const std::function<bool()>& condition, DWORD limitMs, const std::string& what) {
    if (failed_) return false;
    const DWORD startTick = GetTickCount();
    while (!condition()) {
        if (!program_.running())
            return fail("the program ended (exit code " + std::to_string(program_.exitCode()) +
                        ") while waiting for " + what);
        if (GetTickCount() - startTick > limitMs)
            return fail("no " + what + " after " + std::to_string(limitMs / 1000) +
                        " s; the program's windows:" + program_.describeWindows());
        Sleep(kPollMs);
    }
    return true;
}

bool TourDriver::start(const std::string& modeSwitch, bool expectWizard) {
    if (failed_) return false;
    if (!program_.start(programFolder_ + "ImportExport.exe", modeSwitch))
        return fail("ImportExport.exe could not be started from " + programFolder_);
    note("started ImportExport.exe " + modeSwitch);
    if (!expectWizard) return true;
    if (!waitFor([this] { return program_.page() == WizardPage::Direction || program_.messageBox(); },
                 kStartLimitMs, "wizard showing its first page"))
        return false;
    if (HWND box = program_.messageBox())
        return fail("the program showed the message \"" + messageText(box) + "\"");
    return true;
}

bool TourDriver::waitForEnd() {
    if (failed_) return false;
    if (!program_.waitForEnd(kEndLimitMs)) return fail("the program did not end by itself");
    note("the program ended");
    return true;
}

bool TourDriver::picture(const std::string& name) {
    if (failed_) return false;
    HWND frame = program_.frame();
    HWND extra = program_.messageBox();
    if (!frame && !extra) return fail("no window to picture for " + name);
    RECT area = windowRect(frame ? frame : extra);
    if (frame && extra) {
        RECT other = windowRect(extra);
        UnionRect(&area, &area, &other);
    }
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    PixelCanvas canvas(area.right - area.left, area.bottom - area.top);
    if (!captureSettled(area, canvas))
        return fail("the windows did not stop changing for the picture " + name);
    const RECT all{0, 0, canvas.width(), canvas.height()};
    if (canvas.countOther(all, canvas.pixel(0, 0)) == 0) return fail("the picture " + name + " is empty");
    char number[8];
    std::snprintf(number, sizeof(number), "%02d-", ++pictures_);
    const std::string path = pictureFolder_ + "\\" + number + name + ".bmp";
    if (!canvas.save(path)) return fail("the picture could not be written to " + path);
    note(std::string("picture ") + number + name);
    return true;
}

bool TourDriver::click(HWND control, const std::string& what) {
    if (failed_) return false;
    if (!waitFor([control] { return IsWindowVisible(control) && IsWindowEnabled(control); }, kStepLimitMs,
                 what + " to click"))
        return false;
    gui::clickAt(centre(windowRect(control)));
    return true;
}

HWND TourDriver::pageControl(int id) const {
    HWND page = program_.pageWindow();
    return page ? GetDlgItem(page, id) : nullptr;
}

std::string TourDriver::controlText(int id) const {
    HWND control = pageControl(id);
    return control ? windowText(control) : "";
}

HWND TourDriver::frameButton(int id) {
    HWND frame = program_.frame();
    HWND button = frame ? GetDlgItem(frame, id) : nullptr;
    if (!failed_ && !button) fail("no wizard frame with the button " + std::to_string(id));
    return button;
}

bool TourDriver::clickFrameButton(int id, WizardPage expected) {
    HWND button = frameButton(id);
    const std::string caption = button ? windowText(button) : "";
    if (!click(button, "the button \"" + caption + "\"")) return false;
    auto stepped = [this, expected] { return program_.page() == expected || program_.messageBox(); };
    if (!waitFor(stepped, kStepLimitMs, std::string(pageName(expected)) + " after \"" + caption + "\""))
        return false;
    if (HWND box = program_.messageBox())
        return fail("the program showed the message \"" + messageText(box) + "\" instead of the " +
                    pageName(expected));
    note("\"" + caption + "\": " + pageName(expected) + " \"" + frameTitle(program_.frame()) + "\"");
    return true;
}

bool TourDriver::finish() {
    HWND button = frameButton(IDC_FRAME_FINISH);
    const std::string caption = button ? windowText(button) : "";
    if (!click(button, "the button \"" + caption + "\"")) return false;
    note("\"" + caption + "\": the conversion runs");
    return true;
}

bool TourDriver::tick(int id, const std::string& what) {
    HWND box = pageControl(id);
    if (!failed_ && !box) return fail("the page has no check box for " + what);
    if (!click(box, "the check box for " + what) ||
        !waitFor([box] { return sendLimited(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }, kStepLimitMs,
                 "tick in the check box for " + what))
        return false;
    note("ticked " + what);
    return true;
}

bool TourDriver::typeInto(int id, const std::string& text) {
    HWND edit = pageControl(id);
    if (!failed_ && !edit) return fail("the page has no edit " + std::to_string(id));
    if (!click(edit, "edit")) return false;
    const DWORD thread = GetWindowThreadProcessId(edit, nullptr);
    auto focused = [edit, thread] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(thread, &info) && info.hwndFocus == edit;
    };
    if (!waitFor(focused, kStepLimitMs, "keyboard focus in the edit")) return false;
    gui::pressKey(VK_END);
    gui::pressKey(VK_HOME, {VK_SHIFT});
    gui::pressKey(VK_DELETE);
    gui::typeText(text);
    if (!waitFor([edit, &text] { return windowText(edit) == text; }, kStepLimitMs, "typed text in the edit"))
        return false;
    note("typed \"" + text + "\"");
    return true;
}

bool TourDriver::chooseFolder(const std::vector<std::string>& labels) {
    if (failed_) return false;
    std::string path;
    for (const std::string& label : labels)
        path += (path.empty() ? "" : "\\") + label;
    HWND tree = pageControl(IDC_TREE);
    if (!tree) return fail("the tree page has no tree");
    RemoteTree remote(program_.handle(), tree);
    HTREEITEM item = remote.find(labels);
    if (!item) return fail("the tree has no folder " + path);
    std::optional<RECT> place = remote.labelRect(item);
    if (!place) return fail("the folder " + path + " is not on show in the tree");
    gui::clickAt(centre(*place));
    if (!waitFor([&remote, item] { return remote.caret() == item; }, kStepLimitMs, "selection of " + path))
        return false;
    note("chose the folder " + path);
    return true;
}

bool TourDriver::chooseUser(const std::string& user) {
    return chooseEntry(IDC_FAV_USERS, "user list", "the user " + user, user);
}

bool TourDriver::chooseBrowserProfile(const std::string& text) {
    return chooseEntry(IDC_FAV_BROWSERS, "profile list", "the profile " + text, text);
}

bool TourDriver::chooseEntry(int comboId, const std::string& list, const std::string& what,
                             const std::string& entry) {
    HWND combo = pageControl(comboId);
    if (!failed_ && !combo) return fail("the source page has no " + list);
    const int index = combo ? findComboEntry(combo, entry) : -1;
    if (!failed_ && index < 0) return fail("the " + list + " has no " + what.substr(4));
    if (!click(combo, list) ||
        !waitFor([this] { return program_.dropDownList() != nullptr; }, kStepLimitMs, "dropped-down " + list))
        return false;
    std::optional<RECT> place = listEntryRect(program_.dropDownList(), index);
    if (!place) return fail(what + " has no place in the list");
    gui::clickAt(centre(*place));
    auto chosen = [this, combo, index] {
        return !program_.dropDownList() && sendLimited(combo, CB_GETCURSEL, 0, 0, CB_ERR) == index;
    };
    if (!waitFor(chosen, kStepLimitMs, "selection of " + what)) return false;
    note("chose " + what);
    return true;
}

std::string TourDriver::skinMessage(const std::string& messageKey) const {
    char value[1024] = {};
    GetPrivateProfileStringA(("Layout_" + messageKey).c_str(), "Message", "", value, sizeof(value),
                             (programFolder_ + "Skin0000.ini").c_str());
    // Position and size come first: "1;84;26;-28;94;text".
    std::string text = value;
    for (int field = 0; field < 5; ++field) {
        const size_t separator = text.find(';');
        text = separator == std::string::npos ? "" : text.substr(separator + 1);
    }
    return text;
}

bool TourDriver::closeMessageBox(HWND box, int button) {
    HWND control = GetDlgItem(box, button);
    if (!failed_ && !control) return fail("the message box has no button " + std::to_string(button));
    const std::string caption = control ? windowText(control) : "";
    if (!click(control, "the button \"" + caption + "\"")) return false;
    if (!waitFor([box] { return !IsWindow(box) || !IsWindowVisible(box); }, kStepLimitMs,
                 "closing message box"))
        return false;
    note("answered \"" + caption + "\"");
    return true;
}

bool TourDriver::answer(const std::string& messageKey, int button, const std::string& pictureName) {
    // The box may show before its text is set.
    if (!waitFor([this] { return !messageText(program_.messageBox()).empty(); }, kOperationLimitMs,
                 "message box \"" + messageKey + "\""))
        return false;
    HWND box = program_.messageBox();
    const std::string shown = messageText(box);
    // The skin text up to its first line break or insert.
    std::string expected = skinMessage(messageKey);
    expected = expected.substr(0, std::min(expected.find("\\n"), expected.find('%')));
    if (expected.empty() || shown.compare(0, expected.size(), expected) != 0)
        return picture("unexpected-message") &&
               fail("expected the message \"" + messageKey + "\", the program showed \"" + shown + "\"");
    note("message " + messageKey + ": \"" + joinedLines(shown) + "\"");
    return picture(pictureName) && closeMessageBox(box, button);
}

bool TourDriver::answerPlain(const std::string& textPart, const std::string& pictureName) {
    if (!waitFor([this] { return !messageText(program_.messageBox()).empty(); }, kStartLimitMs,
                 "message box"))
        return false;
    HWND box = program_.messageBox();
    const std::string shown = messageText(box);
    if (shown.find(textPart) == std::string::npos)
        return picture("unexpected-message") &&
               fail("expected a message with \"" + textPart + "\", the program showed \"" + shown + "\"");
    note("message: \"" + firstLine(shown) + "\"");
    return picture(pictureName) && closeMessageBox(box, IDOK);
}
