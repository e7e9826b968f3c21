#pragma once
#include <vector>

#include "favorites/BrowserProfiles.h"
#include "ui/AssistentFrame.h"
#include "ui/DirectionPage.h"
#include "ui/FavSourcePage.h"
#include "ui/TreePage.h"

// The favorites wizard: moves the bookmarks of one favorites folder to or from the Internet
// Explorer favorites, a Netscape Navigator user's bookmark file or any bookmark file, or imports
// them from another browser's profile.
class CFavAssistentDlg : public CAssistentFrame {
  public:
    CFavAssistentDlg();
    ~CFavAssistentDlg() override;

    void CollectBrowserInfo();
    bool checkSource();

    CDirectionPage& directionPage() { return page1_; }
    CFavSourcePage& sourcePage() {
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
    void pageCreated(int number) override;
    bool usesSessionNotification() const override { return true; }
    bool beforeStep(int from, int to, bool import) override;
    void afterStep(int from, int to, bool import) override;
    void onFinish() override;
    void afterInit() override;

  private:
    int runOperation(bool import, const std::string& folder, const std::string& user);
    void collectBrowserProfiles();
    void tellBackupDate(const std::string& date);

    CDirectionPage page1_;
    CFavSourcePage page2_;
    CTreePage page3_;
    std::vector<BrowserProfile> browserProfiles_; // in the order of the page's list
};
