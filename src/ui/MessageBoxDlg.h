#pragma once
#include <memory>
#include <string>

#include "platform/Host.h"
#include "skin/ManagedElementList.h"
#include "skin/SkinButton.h"
#include "skin/SkinCheckBox.h"
#include "toolkit/Dialog.h"

// The skinned message box: everything it shows comes from the skin section named by the
// message key. The modal run returns the button (IDOK, IDCANCEL, IDYES, IDNO): Enter presses the
// focused button, or the first button shown when none has the focus; Escape is Cancel whether or
// not that button is shown. The check state is read after.
class CMessageBoxDlg : public CDialog {
  public:
    CMessageBoxDlg(std::string section, std::string insertText, HWND owner = nullptr);
    ~CMessageBoxDlg() override;

    int checkState() const { return checkState_; }
    const CManagedElementList* elementList() const { return elements_.get(); }

  protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool preTranslateMessage(MSG& message) override;
    void onOK() override { finish(IDOK); }
    void onCancel() override { finish(IDCANCEL); }

  private:
    void insertIntoMessage();
    // The button Enter presses.
    int enterButton() const;
    void finish(int code);

    std::string section_;
    std::string insertText_;
    std::unique_ptr<CManagedElementList> elements_;
    int checkState_ = 0;
    CSkinButton okButton_{5, false};
    CSkinButton cancelButton_{5, false};
    CSkinButton yesButton_{5, false};
    CSkinButton noButton_{5, false};
    CSkinCheckBox checkBox_;
};

// The program's answer to a question: the skinned message box of the message key, run modally.
QuestionAnswer runMessageBox(const std::string& messageKey, const std::string& insertText);
