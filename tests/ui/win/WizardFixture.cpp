#include "WizardFixture.h"

#include "config/ConfigFile.h"
#include "config/IniFile.h"
#include "platform/FileSystem.h"
#include "platform/ProgramPaths.h"
#include "skin/ManagedElementList.h"
#include "store/LastImport.h"
#include "support/GuiInput.h"

namespace {
// No test sees the record of another test's import.
void forgetLastImports() {
    for (ImportKind kind : {ImportKind::favorites, ImportKind::archive})
        DeleteFileA(lastImportPath(kind).c_str());
}

int& stateCount() {
    static int count = 0;
    return count;
}

LRESULT CALLBACK listenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CAssistentFrame::stateMessage() && wParam == 0 && lParam == 0) ++stateCount();
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* listenerClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &listenerProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "NvWizardStateListener";
        registered = RegisterClassA(&windowClass) != 0;
    }
    return "NvWizardStateListener";
}
} // namespace

SuiteUser::SuiteUser()
    : currentUser_(HKEY_CURRENT_USER, std::string("Software\\") + getSuitePath(), "CurrentUser",
                   std::string("nvwiztest")),
      path_(getUserIniPath()), existed_(fileExists(path_)) {
    forgetLastImports();
    createDirectory(getParentPath(path_), false);
    std::string text = "[Registry_HKCU]\r\nCurrentSkin=\"Skin0000\"\r\n";
    writeFile(path_, text);
    // The suite's defaults name the default skin.
    defaultsPath_ = getIniFilePath("user.ini");
    defaultsExisted_ = fileExists(defaultsPath_);
    if (!defaultsExisted_) {
        // A fresh installation has no common configuration folder yet.
        createDirectory(getParentPath(defaultsPath_), false);
        text = "[Registry_HKCU]\r\nCurrentSkin=\"Skin0000\"\r\n";
        writeFile(defaultsPath_, text);
    }
}

SuiteUser::~SuiteUser() {
    forgetLastImports();
    if (!existed_) DeleteFileA(path_.c_str());
    if (!defaultsExisted_) DeleteFileA(defaultsPath_.c_str());
}

StateListener::StateListener() {
    stateCount() = 0;
    window_ = CreateWindowExA(0, listenerClass(), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
}

StateListener::~StateListener() {
    if (window_) DestroyWindow(window_);
}

int StateListener::count() const {
    pumpMessages(100);
    return stateCount();
}

bool FileChooserScript::chooseFiles(const FileChooserRequest& request, std::vector<std::string>& files) {
    requests_.push_back(request);
    if (answers_.empty()) return false;
    files = answers_.front();
    answers_.erase(answers_.begin());
    return true;
}

HTREEITEM WizardTest::findItem(HWND tree, const std::string& label) {
    std::vector<HTREEITEM> pending{TreeView_GetRoot(tree)};
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        for (; item; item = TreeView_GetNextSibling(tree, item)) {
            char buffer[260] = {};
            TVITEMA info{};
            info.mask = TVIF_TEXT;
            info.hItem = item;
            info.pszText = buffer;
            info.cchTextMax = sizeof(buffer);
            SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
            if (label == buffer) return item;
            if (HTREEITEM child = TreeView_GetChild(tree, item)) pending.push_back(child);
        }
    }
    return nullptr;
}

std::string WizardTest::frameText(const CAssistentFrame& frame, const std::string& element) {
    CTextElement* found = frame.elements()->findText(element);
    return found ? found->control().text() : std::string("<missing>");
}

void WizardTest::shoot(HWND frame, const std::string& name) {
    ShowWindow(frame, SW_SHOW);
    pumpMessages(200);
    EXPECT_NE(saveScreenshot(frame, name), "");
}

void WizardTest::openWizard(CAssistentFrame& wizard) {
    ASSERT_TRUE(wizard.create(nullptr));
    ShowWindow(wizard.handle(), SW_SHOW);
    SetForegroundWindow(wizard.handle());
    gui::waitForIdle();
}

void WizardTest::clickTreeItem(HWND tree, const std::string& label) {
    HTREEITEM item = findItem(tree, label);
    ASSERT_NE(item, nullptr) << label;
    TreeView_EnsureVisible(tree, item);
    RECT rect{};
    ASSERT_TRUE(TreeView_GetItemRect(tree, item, &rect, TRUE));
    gui::clickClient(tree, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    gui::waitForIdle();
}

void WizardTest::typeInto(HWND edit, const std::string& text) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    if (text.empty())
        gui::pressKey(VK_DELETE);
    else
        gui::typeText(text);
    gui::waitForIdle();
}

StoreForNvtool::StoreForNvtool(SharedStore& store)
    : store_(store), userFile_(getUserIniPath()), previousStoreFile_(store.fileName()),
      systemIni_(getIniFilePath("system.ini")) {
    if (fileExists(systemIni_)) previousSystemIni_ = readTextFile(systemIni_);
    writeTextFile(systemIni_, "");
    // As in the program, the store keeps the per-user file.
    store_.setFileName(userFile_);
    store_.save();
    saved_ = readTextFile(userFile_);
}

StoreForNvtool::~StoreForNvtool() {
    store_.setFileName(previousStoreFile_);
    if (previousSystemIni_)
        writeTextFile(systemIni_, *previousSystemIni_);
    else
        DeleteFileA(systemIni_.c_str());
}

int StoreForNvtool::runNvtool(const std::string& arguments, std::string* output) const {
    writeTextFile(userFile_, saved_);
    return runProcess("\"" + testExecutableDirectory() + "nvtool.exe\" " + arguments, output);
}
