#pragma once
#include <string>

#include "skin/SkinButton.h"
#include "ui/ChoiceBox.h"
#include "ui/WizardPage.h"

// Page 2 of the favorites wizard: the foreign place (Internet Explorer, a Netscape user's
// bookmark file, any bookmark file or, for imports, another browser's profile) and, for the
// latter three, the user, the file name or the profile.
class CFavSourcePage : public CWizardPage {
  public:
    enum class Source { IE, NC, NCFile, Browser };

    CFavSourcePage();
    ~CFavSourcePage() override;

    // The source is the ticked box: a box ticked from outside counts as well.
    Source chosenSource() const;
    void setDirectionTexts(bool import);
    bool checkNetscapeUser();
    void searchBookmarkFile();

    HWND userList() const;
    HWND ncBox() const { return ncBox_.handle(); }
    // The user name at the user list's selection ("" without one).
    std::string selectedUser() const;
    std::string fileName() const;
    void addUser(const std::string& name, bool select, int startIndex);
    // Lists a browser profile by its text; the first one listed is selected.
    void addBrowserProfile(const std::string& text);
    // The selected profile's position in the list, or -1.
    int selectedBrowserProfile() const;
    // Takes the choice of another browser away (no profile found).
    void disableBrowsers();

  protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, HWND control) override;

  private:
    bool choose(Source source);
    CChoiceBox& choiceBox(Source source);
    // Whether the skin has the elements of the browser choice.
    bool offersBrowsers() const;

    CChoiceBox ieBox_;
    CChoiceBox ncBox_;
    CChoiceBox ncFileBox_;
    CChoiceBox browserBox_;
    CSkinButton searchButton_{5, false};
};
