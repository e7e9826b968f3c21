#include "ui/FavSourcePage.h"

#include <vector>

#include "favorites/NetscapeProfiles.h"
#include "platform/FileSystem.h"
#include "platform/Host.h"
#include "ui/FileChooser.h"
#include "ui/ResourceIds.h"

CFavSourcePage::CFavSourcePage() : CWizardPage(IDD_FAV_PAGE2, "FavImportExportPage2") {}

CFavSourcePage::~CFavSourcePage() = default;

bool CFavSourcePage::onInitDialog() {
    ieBox_.subclassItem(handle(), IDC_FAV_IE);
    ncBox_.subclassItem(handle(), IDC_FAV_NC);
    ncFileBox_.subclassItem(handle(), IDC_FAV_NCFILE);
    browserBox_.subclassItem(handle(), IDC_FAV_BROWSER);
    searchButton_.subclassItem(handle(), IDC_FAV_SEARCH);
    ieBox_.onClick([this] { return choose(Source::IE); });
    ncBox_.onClick([this] { return choose(Source::NC); }, [this] { checkNetscapeUser(); });
    ncFileBox_.onClick([this] { return choose(Source::NCFile); });
    browserBox_.onClick([this] { return choose(Source::Browser); });

    startElements();
    elements()->addPictureElement("Background");
    elements()->addCheckBoxElement("CheckBoxIE", ieBox_);
    elements()->addCheckBoxElement("CheckBoxNC", ncBox_);
    elements()->addCheckBoxElement("CheckBoxNCFile", ncFileBox_);
    elements()->addCheckBoxElement("CheckBoxBrowser", browserBox_);
    elements()->addTextElement("Title");
    elements()->addTextElement("TextIE");
    elements()->addTextElement("TextNC");
    elements()->addTextElement("TextNCFile");
    elements()->addTextElement("TextBrowser");
    elements()->addWindowElement("BookmarkName", item(IDC_FAV_FILENAME));
    elements()->addButtonElement("ButtonSearch", searchButton_);
    elements()->addWindowElement("NCUsers", item(IDC_FAV_USERS));
    elements()->addWindowElement("BrowserProfiles", item(IDC_FAV_BROWSERS));
    elements()->loadLayout(false);

    setDirectionTexts(true);
    ieBox_.setCheck(1);
    return true;
}

void CFavSourcePage::setDirectionTexts(bool import) {
    setElementText("Title", skinText(import ? "Import_Title" : "Export_Title"));
    setElementText("TextIE", skinText(import ? "ButtonImportIE" : "ButtonExportIE"));
    setElementText("TextNC", skinText(import ? "ButtonImportNC" : "ButtonExportNC"));
    setElementText("TextNCFile", skinText(import ? "ButtonImportNCFile" : "ButtonExportNCFile"));
    // Other browsers are only read: their choice exists for imports on skins that place it.
    const bool browsers = import && offersBrowsers();
    if (!browsers && browserBox_.getCheck()) {
        browserBox_.setCheck(0);
        ieBox_.setCheck(1);
    }
    // The text is painted by the page from its element; an empty text shows nothing.
    setElementText("TextBrowser", browsers ? skinText("ButtonImportBrowser") : "");
    for (HWND control : {browserBox_.handle(), item(IDC_FAV_BROWSERS)})
        if (control) ShowWindow(control, browsers ? SW_SHOW : SW_HIDE);
}

bool CFavSourcePage::offersBrowsers() const {
    return !skinText("CheckBoxBrowser").empty();
}

CChoiceBox& CFavSourcePage::choiceBox(Source source) {
    switch (source) {
    case Source::NC:
        return ncBox_;
    case Source::NCFile:
        return ncFileBox_;
    case Source::Browser:
        return browserBox_;
    case Source::IE:
        break;
    }
    return ieBox_;
}

CFavSourcePage::Source CFavSourcePage::chosenSource() const {
    if (ncBox_.getCheck()) return Source::NC;
    if (ncFileBox_.getCheck()) return Source::NCFile;
    if (browserBox_.getCheck()) return Source::Browser;
    return Source::IE;
}

bool CFavSourcePage::choose(Source source) {
    if (choiceBox(source).getCheck()) return false;
    for (Source other : {Source::IE, Source::NC, Source::NCFile, Source::Browser})
        if (other != source) choiceBox(other).clearAndRedraw();
    return true;
}

bool CFavSourcePage::onCommand(int id, int notifyCode, HWND) {
    if (id == IDC_FAV_SEARCH && notifyCode == BN_CLICKED) {
        searchBookmarkFile();
        return true;
    }
    if (id == IDC_FAV_USERS && notifyCode == CBN_SELCHANGE) {
        if (chosenSource() == Source::NC) checkNetscapeUser();
        return true;
    }
    return false;
}

HWND CFavSourcePage::userList() const {
    return item(IDC_FAV_USERS);
}

std::string CFavSourcePage::selectedUser() const {
    HWND list = item(IDC_FAV_USERS);
    const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index < 0) return {};
    const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::string name(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name.data()));
    name.resize(name.find('\0'));
    return name;
}

std::string CFavSourcePage::fileName() const {
    return CWindow(item(IDC_FAV_FILENAME)).text();
}

void CFavSourcePage::addUser(const std::string& name, bool select, int startIndex) {
    HWND list = item(IDC_FAV_USERS);
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (select)
        SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(startIndex),
                     reinterpret_cast<LPARAM>(name.c_str()));
}

void CFavSourcePage::addBrowserProfile(const std::string& text) {
    HWND list = item(IDC_FAV_BROWSERS);
    const LRESULT index = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index == 0) SendMessageA(list, CB_SETCURSEL, 0, 0);
}

int CFavSourcePage::selectedBrowserProfile() const {
    return static_cast<int>(SendMessageA(item(IDC_FAV_BROWSERS), CB_GETCURSEL, 0, 0));
}

void CFavSourcePage::disableBrowsers() {
    EnableWindow(browserBox_.handle(), FALSE);
    EnableWindow(item(IDC_FAV_BROWSERS), FALSE);
}

bool CFavSourcePage::checkNetscapeUser() {
    if (SendMessageA(item(IDC_FAV_USERS), CB_GETCURSEL, 0, 0) < 0) return false;
    const std::string user = selectedUser();
    const std::string path = getUserBookmarkPath(user);
    if (!path.empty() && fileExists(path)) return true;
    if (host().ask("MessageBoxSearchBookmark", "\"" + user + "\"").button == IDYES) {
        SendMessageA(handle(), WM_COMMAND, MAKEWPARAM(IDC_FAV_NCFILE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(ncFileBox_.handle()));
        searchBookmarkFile();
    }
    return false;
}

void CFavSourcePage::searchBookmarkFile() {
    std::vector<std::string> files;
    if (!chooseFiles(files, "", false, false) || files.size() != 1) return;
    std::string name = files.front();
    if (!endsWith(name, ".htm") && !endsWith(name, ".html")) name += ".htm";
    CWindow(item(IDC_FAV_FILENAME)).setText(name);
}
