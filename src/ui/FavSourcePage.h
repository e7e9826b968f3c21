#pragma once
#include <string>

#include "skin/SkinButton.h"
#include "ui/ChoiceBox.h"
#include "ui/WizardPage.h"

// Page 2 of the favorites wizard: the foreign place (Internet Explorer, a Netscape user's
// bookmark file, or any bookmark file) and, for the latter two, the user or the file name.
class CFavSourcePage : public CWizardPage {
  public:
    enum class Source { IE, NC, NCFile };

    CFavSourcePage();
    ~CFavSourcePage() override;

    // The source is the ticked box: a box ticked from outside counts as well.
    Source source() const;
    void setDirectionTexts(bool import);
    bool checkNetscapeUser();
    void searchBookmarkFile();

    HWND userList() const;
    HWND ncBox() const { return ncBox_.handle(); }
    // The user name at the user list's selection ("" without one).
    std::string selectedUser() const;
    std::string fileName() const;
    void addUser(const std::string& name, bool select, int startIndex);

  protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, HWND control) override;

  private:
    bool choose(Source source);
    CChoiceBox& box(Source source);

    CChoiceBox ieBox_;
    CChoiceBox ncBox_;
    CChoiceBox ncFileBox_;
    CSkinButton searchButton_{5, false};
};
