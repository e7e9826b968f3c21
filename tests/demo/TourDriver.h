#pragma once
#include <windows.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "WizardProcess.h"

// Drives the real program through its windows with real input, as a user would: it clicks
// controls at their places on the screen and types into edits (SendInput), waits within limits
// for what has to follow (a page, a message box, the end of the program), saves a picture of
// every page and message box in order, and writes the log. The first failure is logged and ends
// the tour: every later action does nothing and returns false, and the program is ended.
class TourDriver {
  public:
    // programFolder ends with a backslash; pictures are written as NN-name.bmp into pictureFolder.
    TourDriver(std::string programFolder, std::string pictureFolder, const std::string& logFile);
    ~TourDriver();
    TourDriver(const TourDriver&) = delete;
    TourDriver& operator=(const TourDriver&) = delete;

    // Log lines, in the Windows code page here and in UTF-8 in the log file.
    void heading(const std::string& text);
    void note(const std::string& text);
    bool fail(const std::string& reason);
    bool failed() const { return failed_; }
    int pictures() const { return pictures_; }
    const std::string& programFolder() const { return programFolder_; }

    // Starts the program with a mode switch; with a wizard expected, waits for its first page.
    bool start(const std::string& modeSwitch, bool expectWizard = true);
    // Waits for the program to end by itself.
    bool waitForEnd();

    // Saves a picture of the frame, with the message box it shows.
    bool picture(const std::string& name);
    // Clicks a button of the frame (Back, Next) and waits for the page that follows.
    bool clickFrameButton(int id, WizardPage expected);
    // Clicks Finish, which runs the conversion; its message follows (answer).
    bool finish();
    // Clicks a check box of the page on show and waits until it is ticked.
    bool tick(int id, const std::string& what);
    // Clicks into an edit of the page on show, empties it and types the text.
    bool typeInto(int id, const std::string& text);
    std::string controlText(int id) const;
    // Clicks the folder in the tree page and waits until it is the selected one.
    bool chooseFolder(const std::vector<std::string>& labels);
    // Opens the user list of the source page and clicks the user.
    bool chooseUser(const std::string& user);
    // Opens the profile list of the source page and clicks the profile shown with the text.
    bool chooseBrowserProfile(const std::string& text);
    // Waits for the skinned message box of the message key, pictures it and clicks the button.
    bool answer(const std::string& messageKey, int button, const std::string& pictureName);
    // The same for a plain system message box whose text contains the given part.
    bool answerPlain(const std::string& textPart, const std::string& pictureName);

  private:
    bool waitFor(const std::function<bool()>& condition, DWORD limitMs, const std::string& what);
    bool click(HWND control, const std::string& what);
    HWND frameButton(int id);
    bool closeMessageBox(HWND box, int button);
    // Opens a drop-down list of the source page and clicks the entry (what names it for the log).
    bool chooseEntry(int comboId, const std::string& list, const std::string& what, const std::string& entry);
    HWND pageControl(int id) const;
    std::string skinMessage(const std::string& messageKey) const;
    void writeLine(const std::string& line);

    std::string programFolder_;
    std::string pictureFolder_;
    std::ofstream log_;
    WizardProcess program_;
    bool failed_ = false;
    int pictures_ = 0;
};
