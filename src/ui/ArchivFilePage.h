#pragma once
#include <string>

#include "skin/SkinButton.h"
#include "ui/WizardPage.h"

// Page 2 of the page archive wizard: the archive file to read (import) or to write (export).
// The file name is always the edit control's current text.
class CArchivFilePage : public CWizardPage {
  public:
    CArchivFilePage();
    ~CArchivFilePage() override;

    void setMode(bool import);
    bool isImportMode() const { return import_; }
    // Enables the frame's forward button of the mode: Next for import, Finish for export.
    void enableForward(bool on) const;
    void chooseArchiveFile();
    std::string fileName() const;
    const std::string& defaultFolder() const { return defaultFolder_; }
    // The default folder below the personal folder, made if it is missing.
    void makeDefaultFolder();

  protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void setFileName(const std::string& name) const;

    bool import_ = true;
    std::string defaultFolder_;
    CSkinButton searchButton_{5, false};
};
