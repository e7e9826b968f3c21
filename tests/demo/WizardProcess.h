#pragma once
#include <windows.h>

#include <string>

#include "platform/Handles.h"

// The pages of the two wizards, told apart by their controls.
enum class WizardPage { None, Direction, FavoritesSource, ArchiveFile, Tree };
const char* pageName(WizardPage page);

// The program started as a separate process, seen from outside through its windows: the wizard
// frame, the page it shows, and the message boxes and drop-down lists it opens. The program is
// ended when the object goes while it still runs.
class WizardProcess {
  public:
    WizardProcess() = default;
    ~WizardProcess();
    WizardProcess(const WizardProcess&) = delete;
    WizardProcess& operator=(const WizardProcess&) = delete;

    bool start(const std::string& program, const std::string& arguments);
    bool running() const;
    // Waits for the end of the program; false when it still runs after the limit.
    bool waitForEnd(DWORD limitMs) const;
    DWORD exitCode() const;
    void terminate();
    HANDLE handle() const { return process_.get(); }

    // The wizard frame: the dialog with the navigation buttons.
    HWND frame() const;
    // Any other visible dialog window of the program: a message box.
    HWND messageBox() const;
    // The list window of a dropped-down combo box.
    HWND dropDownList() const;
    // The page dialog on show inside the frame.
    HWND pageWindow() const;
    WizardPage page() const;
    // The program's top-level windows, for a failure report.
    std::string describeWindows() const;

  private:
    HWND findTopLevel(bool (*wanted)(HWND window, HWND frame), HWND frame) const;
    UniqueHandle<KernelHandleTraits> process_;
    DWORD processId_ = 0;
};

// Texts read from the program's windows.
std::string windowText(HWND window);
std::string className(HWND window);
// The text of a message box: its longest static text.
std::string messageText(HWND box);
// The title the frame shows for its page: its first static text.
std::string frameTitle(HWND frame);
