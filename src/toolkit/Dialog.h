#pragma once
#include "toolkit/Window.h"

// A dialog built from a dialog template resource of the program, modal (doModal, with its own
// message loop so that messages can be looked at before dispatch) or modeless (create). The
// window procedure keeps `this` and dispatches to the virtual handlers below; owner-draw
// requests and the notifications of subclassed controls go to those controls first.
class CDialog : public CWindow {
  public:
    explicit CDialog(int templateId, HWND owner = nullptr) : templateId_(templateId), owner_(owner) {}
    ~CDialog() override;

    // Runs the dialog modally and returns the code passed to endDialog, or -1 when the
    // template could not be created. Without an owner the application's main window owns it.
    INT_PTR doModal();
    // Creates the dialog modeless as a child or owned window of parent.
    bool create(HWND parent);
    // Ends a modal run with the result; destroys a modeless dialog.
    void endDialog(INT_PTR result);
    bool isModalRunning() const { return running_; }

  protected:
    virtual bool onInitDialog() { return true; }
    // WM_COMMAND not taken by a subclassed control; true when handled.
    virtual bool onCommand(int /*id*/, int /*notifyCode*/, HWND /*control*/) { return false; }
    // WM_NOTIFY not taken by the subclassed control that sent it.
    virtual bool onNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // The first look at every message; true when handled (result is then the message's result).
    virtual bool onMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }
    // Enter and Escape (IDOK and IDCANCEL commands nobody handled).
    virtual void onOK() { endDialog(IDOK); }
    virtual void onCancel() { endDialog(IDCANCEL); }
    // Messages of the modal loop, before the dialog manager sees them; true swallows it.
    virtual bool preTranslateMessage(MSG& /*message*/) { return false; }

  private:
    static INT_PTR CALLBACK staticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool routeToControls(UINT message, WPARAM wParam, LPARAM lParam);
    bool translate(MSG& message);

    int templateId_;
    HWND owner_;
    bool running_ = false;
    bool ended_ = false;
    bool modeless_ = false;
    INT_PTR result_ = -1;
};
