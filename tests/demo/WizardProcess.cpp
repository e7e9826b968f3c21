#include "WizardProcess.h"

#include <commctrl.h>

#include <vector>

#include "RemoteControls.h"
#include "ui/ResourceIds.h"

namespace {
bool isDialog(HWND window) {
    return className(window) == "#32770";
}

bool isFrame(HWND window, HWND) {
    return isDialog(window) && GetDlgItem(window, IDC_FRAME_BACK) && GetDlgItem(window, IDC_FRAME_FINISH);
}

bool isMessageBox(HWND window, HWND frame) {
    return window != frame && isDialog(window) && !isFrame(window, frame);
}

bool isDropDownList(HWND window, HWND) {
    return className(window) == "ComboLBox";
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}
} // namespace

const char* pageName(WizardPage page) {
    switch (page) {
    case WizardPage::Direction:
        return "direction page";
    case WizardPage::FavoritesSource:
        return "source page";
    case WizardPage::ArchiveFile:
        return "archive file page";
    case WizardPage::Tree:
        return "folder tree page";
    case WizardPage::None:
        break;
    }
    return "no page";
}

std::string windowText(HWND window) {
    const LRESULT length = sendLimited(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = sendLimited(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string messageText(HWND box) {
    std::string longest;
    if (!box) return longest;
    for (HWND child : children(box))
        if (className(child) == "Static")
            if (std::string text = windowText(child); text.size() > longest.size()) longest = text;
    return longest;
}

std::string frameTitle(HWND frame) {
    for (HWND child : children(frame))
        if (GetParent(child) == frame && className(child) == "Static")
            if (std::string text = windowText(child); !text.empty()) return text;
    return "";
}

WizardProcess::~WizardProcess() {
    terminate();
}

bool WizardProcess::start(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    std::string folder = program.substr(0, program.rfind('\\'));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
    return true;
}

bool WizardProcess::running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool WizardProcess::waitForEnd(DWORD limitMs) const {
    return !process_ || WaitForSingleObject(process_.get(), limitMs) == WAIT_OBJECT_0;
}

DWORD WizardProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_.get(), &code);
    return code;
}

void WizardProcess::terminate() {
    if (!running()) return;
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
}

HWND WizardProcess::findTopLevel(bool (*wanted)(HWND window, HWND frame), HWND frame) const {
    struct Search {
        DWORD processId;
        bool (*wanted)(HWND, HWND);
        HWND frame;
        HWND found = nullptr;
    } search{processId_, wanted, frame};
    EnumWindows(
        [](HWND window, LPARAM data) {
            auto& search = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != search.processId || !IsWindowVisible(window) || !search.wanted(window, search.frame))
                return TRUE;
            search.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WizardProcess::frame() const {
    return findTopLevel(&isFrame, nullptr);
}

HWND WizardProcess::messageBox() const {
    return findTopLevel(&isMessageBox, frame());
}

HWND WizardProcess::dropDownList() const {
    return findTopLevel(&isDropDownList, nullptr);
}

HWND WizardProcess::pageWindow() const {
    HWND shown = frame();
    if (!shown) return nullptr;
    for (HWND child : children(shown))
        if (GetParent(child) == shown && isDialog(child) && IsWindowVisible(child)) return child;
    return nullptr;
}

WizardPage WizardProcess::page() const {
    HWND shown = pageWindow();
    if (!shown) return WizardPage::None;
    if (GetDlgItem(shown, IDC_PAGE1_IMPORT)) return WizardPage::Direction;
    if (GetDlgItem(shown, IDC_FAV_IE)) return WizardPage::FavoritesSource;
    if (GetDlgItem(shown, IDC_ARCHIV_FILENAME)) return WizardPage::ArchiveFile;
    if (HWND tree = GetDlgItem(shown, IDC_TREE); tree && className(tree) == WC_TREEVIEWA)
        return WizardPage::Tree;
    return WizardPage::None;
}

std::string WizardProcess::describeWindows() const {
    struct Search {
        DWORD processId;
        std::string text;
    } search{processId_, ""};
    EnumWindows(
        [](HWND window, LPARAM data) {
            auto& search = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != search.processId) return TRUE;
            RECT rect{};
            GetWindowRect(window, &rect);
            search.text += "\n    " + className(window) + " \"" + windowText(window) + "\" " +
                           (IsWindowVisible(window) ? "visible" : "hidden") + " at " +
                           std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
                           std::to_string(rect.right - rect.left) + "x" +
                           std::to_string(rect.bottom - rect.top);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text.empty() ? " none" : search.text;
}
