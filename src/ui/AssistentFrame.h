#pragma once
#include <memory>
#include <string>

#include "skin/ManagedElementList.h"
#include "skin/SkinButton.h"
#include "toolkit/Dialog.h"
#include "ui/WizardPage.h"

// The frame that both wizards share: three pages of which one is shown, the title and
// description of the shown page, the four navigation buttons and the page state machine
// (page 1 the direction, page 2 the file or source, page 3 the store's tree; import runs
// 1-2-3, export 1-3-2). It closes through one path that tells the suite the wizard has ended.
class CAssistentFrame : public CDialog {
  public:
    CAssistentFrame(int templateId, std::string section);
    ~CAssistentFrame() override;

    int currentPage() const { return currentPage_; }
    void showPage(int page);
    void updateTitles(int page, bool import);
    void updateButtons(bool backEnabled, bool nextVisible);
    // The page, built in its place the first time it is needed: only page 1 is built before
    // the frame first shows. Null when the frame does not exist.
    CWizardPage* preparedPage(int number);
    // Back and Next as the buttons do them.
    void goBack();
    void goNext();
    // The closing path: Cancel, the close box and the end of a finished operation.
    void close();

    CManagedElementList* elements() const { return elements_.get(); }
    const std::string& section() const { return section_; }
    // The registered messages of the suite.
    static UINT modalMessage();
    static UINT stateMessage();

  protected:
    // What the two wizards differ in.
    virtual CWizardPage* page(int number) const = 0;
    virtual bool isImport() const = 0;
    // Fills a page that has just been built (pages 2 and 3; page 1 in afterInit).
    virtual void pageCreated(int /*number*/) {}
    virtual bool usesSessionNotification() const { return false; }
    // Checks and preparations of a step before its target page is shown; false refuses it.
    virtual bool beforeStep(int /*from*/, int /*to*/, bool /*import*/) { return true; }
    virtual void afterStep(int /*from*/, int /*to*/, bool /*import*/) {}
    virtual void onFinish() = 0;
    virtual void afterInit() {}

    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool preTranslateMessage(MSG& message) override;
    void onOK() override {}
    void onCancel() override { close(); }

  private:
    class BusyScope;
    void finish();
    // WM_CLOSE and the console disconnect: closes now, or when a running conversion ends.
    void requestClose();
    void step(int to, bool import);
    void placePages(int width, int height);
    bool paintIcon();
    LRESULT onAssistentState();

    std::string section_;
    std::unique_ptr<CManagedElementList> elements_;
    CSkinButton backButton_{5, false};
    CSkinButton nextButton_{5, false};
    CSkinButton finishButton_{5, false};
    CSkinButton cancelButton_{5, false};
    HICON icon_ = nullptr; // a shared resource icon, never destroyed
    // The program icon's own small image, also shared: the small icon is not scaled from the big one.
    HICON smallIcon_ = nullptr;
    int currentPage_ = 1;
    // The page on show; each frame keeps its own, so that no frame hides another frame's page.
    CWizardPage* shownPage_ = nullptr;
    bool closing_ = false;
    // Set while a conversion runs: the wait cursor shows and the buttons take no clicks.
    bool busy_ = false;
    bool closeRequested_ = false;
    // Input older than this tick was given while a conversion ran (GetMessageTime's clock).
    DWORD inputDroppedBefore_;
};
