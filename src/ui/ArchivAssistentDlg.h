#pragma once
#include "ui/ArchivFilePage.h"
#include "ui/AssistentFrame.h"
#include "ui/DirectionPage.h"
#include "ui/TreePage.h"

// The page archive wizard: exports a folder of the page archive into a ".sad" archive file,
// or imports such a file into a folder of the archive.
class CArchivAssistentDlg : public CAssistentFrame {
  public:
    CArchivAssistentDlg();
    ~CArchivAssistentDlg() override;

    CDirectionPage& directionPage() { return page1_; }
    CArchivFilePage& filePage() {
        preparedPage(2);
        return page2_;
    }
    CTreePage& treePage() {
        preparedPage(3);
        return page3_;
    }

  protected:
    CWizardPage* page(int number) const override;
    bool isImport() const override { return page1_.isImport(); }
    bool beforeStep(int from, int to, bool import) override;
    void afterStep(int from, int to, bool import) override;
    void onFinish() override;
    void afterInit() override;

  private:
    bool checkImportFile(const std::string& file) const;
    void finishImport(const std::string& folder, const std::string& file);
    void finishExport(const std::string& folder, const std::string& file);

    CDirectionPage page1_;
    CArchivFilePage page2_;
    CTreePage page3_;
};
