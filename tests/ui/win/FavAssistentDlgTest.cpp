#include "WizardFixture.h"

#include "platform/FileSystem.h"
#include "store/SharedStoreNodes.h"
#include "support/FirefoxFiles.h"
#include "support/GuiInput.h"
#include "ui/FavAssistentDlg.h"

namespace {
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kNavigator = "Software\\Netscape\\Netscape Navigator";

const char* const kBookmarks =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Lesezeichen</TITLE>\r\n<DL><p>\r\n"
    "<DT><A HREF=\"http://heise.example/\">Heise</A>\r\n</DL><p>\r\n";

// The favorites wizard opened modeless over a store with the folders Favoriten\Sport and
// Favoriten\News, driven through its buttons as the user would.
class FavWizard : public WizardTest {
  protected:
    FavWizard() {
        deleteRegistryTree(HKEY_CURRENT_USER, "Software\\Netscape");
        deleteRegistryTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape", KEY_WOW64_32KEY);
        store.setValue(getFavTreeRoot(), "item_0", "Favoriten");
        setFolder(getFavTreeRoot() + "\\Favoriten", {"Sport", "News"});
        setFolder(getFavTreeRoot() + "\\Favoriten\\Sport", {});
        setFolder(getFavTreeRoot() + "\\Favoriten\\News", {});
    }
    ~FavWizard() override {
        deleteRegistryTree(HKEY_CURRENT_USER, "Software\\Netscape");
        deleteRegistryTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape", KEY_WOW64_32KEY);
    }
    void open() { openWizard(wizard); }
    HWND frame() const { return wizard.handle(); }
    void click(int id) { clickButton(frame(), id); }
    void clickOnPage(CWizardPage& page, int id) { clickButton(page.handle(), id); }
    void chooseFolder(const std::string& label) { clickTreeItem(wizard.treePage().tree().handle(), label); }
    // Netscape installed with users whose bookmark files exist or not.
    void installNetscape(const std::vector<std::pair<std::string, bool>>& users) {
        setRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape\\Netscape Navigator", "CurrentVersion",
                          "4.7 (de)", KEY_WOW64_32KEY);
        setRegistryString(HKEY_CURRENT_USER, std::string(kNavigator) + "\\Main", "Install Directory",
                          netscape.file("Communicator"));
        for (const auto& [name, hasFile] : users) {
            setRegistryString(HKEY_CURRENT_USER, std::string(kNavigator) + "\\biff\\users\\" + name, "email",
                              name);
            if (!hasFile) continue;
            createDirectory(netscape.path() + "\\Users", false);
            createDirectory(netscape.path() + "\\Users\\" + name, false);
            writeTextFile(netscape.path() + "\\Users\\" + name + "\\bookmark.htm", kBookmarks);
        }
    }
    std::vector<std::string> asked() const {
        std::vector<std::string> keys;
        for (const auto& question : questions.asked())
            keys.push_back(question.key);
        return keys;
    }
    std::vector<std::string> storeChildren(const std::string& path) {
        return listChildren(nodes, getFavTreeRoot() + "\\" + path);
    }

    TempDir favorites;
    TempDir netscape;
    RegistryValueGuard shellFolder{HKEY_CURRENT_USER, kShellFolders, "Favorites", favorites.path()};
    CFavAssistentDlg wizard;
};
} // namespace

TEST_F(FavWizard, PagesAndButtonsFollowTheDirectionBothWays) {
    open();
    EXPECT_EQ(wizard.currentPage(), 1);
    EXPECT_TRUE(wizard.directionPage().isVisible());
    EXPECT_FALSE(enabled(frame(), IDC_FRAME_BACK));
    EXPECT_TRUE(visible(frame(), IDC_FRAME_NEXT));
    EXPECT_FALSE(visible(frame(), IDC_FRAME_FINISH));
    EXPECT_EQ(frameText(wizard, "ImportExportTitle"),
              getLayoutSectionValue("FavImportExportAssistent", "Page1_Title"));

    click(IDC_FRAME_NEXT); // import: 1 -> 2
    EXPECT_EQ(wizard.currentPage(), 2);
    EXPECT_TRUE(wizard.sourcePage().isVisible());
    EXPECT_FALSE(wizard.directionPage().isVisible());
    EXPECT_TRUE(enabled(frame(), IDC_FRAME_BACK));
    EXPECT_TRUE(visible(frame(), IDC_FRAME_NEXT));
    EXPECT_EQ(frameText(wizard, "ImportExportTitle"),
              getLayoutSectionValue("FavImportExportAssistent", "Page2_Import_Title"));
    shoot(frame(), "FavWizardPage2Import");

    click(IDC_FRAME_NEXT); // 2 -> 3, IE needs no check
    EXPECT_EQ(wizard.currentPage(), 3);
    EXPECT_FALSE(visible(frame(), IDC_FRAME_NEXT));
    EXPECT_TRUE(visible(frame(), IDC_FRAME_FINISH));
    EXPECT_EQ(frameText(wizard, "ImportExportDescription"),
              getLayoutSectionValue("FavImportExportAssistent", "Page3_Import_Description"));
    shoot(frame(), "FavWizardPage3Import");
    click(IDC_FRAME_BACK);
    EXPECT_EQ(wizard.currentPage(), 2);
    EXPECT_TRUE(visible(frame(), IDC_FRAME_NEXT));
    EXPECT_FALSE(visible(frame(), IDC_FRAME_FINISH));
    click(IDC_FRAME_BACK);
    EXPECT_EQ(wizard.currentPage(), 1);
    EXPECT_FALSE(enabled(frame(), IDC_FRAME_BACK));
    click(IDC_FRAME_BACK); // no row for Back on page 1
    EXPECT_EQ(wizard.currentPage(), 1);

    clickOnPage(wizard.directionPage(), IDC_PAGE1_EXPORT);
    EXPECT_FALSE(wizard.directionPage().isImport());
    EXPECT_EQ(wizard.directionPage().elementText("Description"),
              getLayoutSectionValue("FavImportExportPage1", "Description_Export"));
    clickOnPage(wizard.directionPage(), IDC_PAGE1_EXPORT); // the chosen box stays chosen
    EXPECT_TRUE(wizard.directionPage().isExport());
    shoot(frame(), "FavWizardPage1Export");

    click(IDC_FRAME_NEXT); // export: 1 -> 3
    EXPECT_EQ(wizard.currentPage(), 3);
    EXPECT_TRUE(visible(frame(), IDC_FRAME_NEXT));
    EXPECT_EQ(frameText(wizard, "ImportExportTitle"),
              getLayoutSectionValue("FavImportExportAssistent", "Page3_Export_Title"));
    click(IDC_FRAME_NEXT); // 3 -> 2
    EXPECT_EQ(wizard.currentPage(), 2);
    EXPECT_FALSE(visible(frame(), IDC_FRAME_NEXT));
    EXPECT_TRUE(visible(frame(), IDC_FRAME_FINISH));
    EXPECT_EQ(wizard.sourcePage().elementText("TextNCFile"),
              getLayoutSectionValue("FavImportExportPage2", "ButtonExportNCFile"));
    shoot(frame(), "FavWizardPage2Export");
    click(IDC_FRAME_BACK);
    EXPECT_EQ(wizard.currentPage(), 3);
    click(IDC_FRAME_BACK);
    EXPECT_EQ(wizard.currentPage(), 1);
    EXPECT_TRUE(questions.asked().empty());
    EXPECT_EQ(state.count(), 0);
}

TEST_F(FavWizard, ImportFromExplorerIntoTheSelectedFolderThenCloses) {
    createDirectory(favorites.file("Reisen"), false);
    writeTextFile(favorites.file("Reisen\\Bahn.url"), "[InternetShortcut]\r\nURL=http://bahn.example/\r\n");
    open();
    click(IDC_FRAME_NEXT);
    click(IDC_FRAME_NEXT);
    shoot(frame(), "FavWizardPage3");
    chooseFolder("Sport");
    EXPECT_EQ(wizard.treePage().getSelectedPath(), "Favoriten\\Sport");
    click(IDC_FRAME_FINISH);
    EXPECT_EQ(asked(), std::vector<std::string>{"MessageBoxFavImportSuccess"});
    EXPECT_EQ(storeChildren("Favoriten\\Sport"), std::vector<std::string>{"Reisen"});
    EXPECT_EQ(storeChildren("Favoriten\\Sport\\Reisen"), std::vector<std::string>{"Bahn"});
    EXPECT_FALSE(wizard.exists());
    EXPECT_EQ(state.count(), 1);
}

TEST_F(FavWizard, ExportToExplorerAndFailuresCloseWithTheErrorMessage) {
    store.setValue(getFavTreeRoot() + "\\Favoriten\\News", "item_0", "Tagesschau");
    store.setValue(getFavTreeRoot() + "\\Favoriten\\News\\Tagesschau", "type", "file");
    store.setValue(getFavTreeRoot() + "\\Favoriten\\News\\Tagesschau", "URL", "http://tagesschau.example/");
    open();
    clickOnPage(wizard.directionPage(), IDC_PAGE1_EXPORT);
    click(IDC_FRAME_NEXT);
    chooseFolder("News");
    click(IDC_FRAME_NEXT);
    click(IDC_FRAME_FINISH);
    EXPECT_EQ(asked(), std::vector<std::string>{"MessageBoxFavExportSuccess"});
    EXPECT_TRUE(fileExists(favorites.file("News\\Tagesschau.url")));
    EXPECT_FALSE(wizard.exists());

    // Without a Favorites folder the import fails: error message, and the wizard closes.
    RegistryValueGuard none{HKEY_CURRENT_USER, kShellFolders, "Favorites", std::nullopt};
    CFavAssistentDlg second;
    openWizard(second);
    clickButton(second.handle(), IDC_FRAME_NEXT);
    clickButton(second.handle(), IDC_FRAME_NEXT);
    clickButton(second.handle(), IDC_FRAME_FINISH);
    EXPECT_EQ(asked(), (std::vector<std::string>{"MessageBoxFavExportSuccess", "MessageBoxFavImportError"}));
    EXPECT_FALSE(second.exists());
    EXPECT_EQ(state.count(), 2);
}

TEST_F(FavWizard, NetscapeUserPreselectionAndImportFromTheProfile) {
    installNetscape({{"anna", true}, {"bert", true}, {"carl", false}});
    open();
    CFavSourcePage& page = wizard.sourcePage();
    EXPECT_TRUE(IsWindowEnabled(page.ncBox()));
    EXPECT_EQ(SendMessageA(page.userList(), CB_GETCOUNT, 0, 0), 3);
    // The last user in registry order whose bookmark file exists.
    EXPECT_EQ(page.selectedUser(), "bert");

    click(IDC_FRAME_NEXT);
    clickOnPage(page, IDC_FAV_NC); // bert has a file: no question
    EXPECT_EQ(page.chosenSource(), CFavSourcePage::Source::NC);
    EXPECT_TRUE(questions.asked().empty());
    click(IDC_FRAME_NEXT);
    EXPECT_EQ(wizard.currentPage(), 3);
    chooseFolder("News");
    click(IDC_FRAME_FINISH);
    EXPECT_EQ(asked(), std::vector<std::string>{"MessageBoxFavImportSuccess"});
    EXPECT_EQ(storeChildren("Favoriten\\News"), std::vector<std::string>{"Heise"});
    EXPECT_EQ(store.getValue(getFavTreeRoot() + "\\Favoriten\\News\\Heise", "URL", ""),
              "http://heise.example/");
    EXPECT_FALSE(wizard.exists());
}

TEST_F(FavWizard, AnImportThatLeftEntriesOutSaysSo) {
    installNetscape({{"anna", true}});
    writeTextFile(netscape.path() + "\\Users\\anna\\bookmark.htm",
                  "<DL><p>\r\n<DT><A HREF=\"http://lang/" + std::string(3000, 'x') +
                      "\">Lang</A>\r\n<DT><A HREF=\"http://kurz/\">Kurz</A>\r\n</DL><p>\r\n");
    open();
    click(IDC_FRAME_NEXT);
    clickOnPage(wizard.sourcePage(), IDC_FAV_NC);
    click(IDC_FRAME_NEXT);
    chooseFolder("News");
    click(IDC_FRAME_FINISH);
    ASSERT_EQ(asked(), std::vector<std::string>{"MessageBoxFavImportIncomplete"});
    EXPECT_EQ(questions.asked()[0].insert, "1");
    EXPECT_EQ(storeChildren("Favoriten\\News"), std::vector<std::string>{"Kurz"});
    EXPECT_FALSE(wizard.exists());
}

TEST_F(FavWizard, UserWithoutBookmarkFileAsksAndSwitchesToTheFileChoice) {
    installNetscape({{"anna", false}});
    open();
    CFavSourcePage& page = wizard.sourcePage();
    EXPECT_EQ(page.selectedUser(), ""); // nobody has a file
    click(IDC_FRAME_NEXT);
    clickOnPage(page, IDC_FAV_NC);
    EXPECT_TRUE(questions.asked().empty()); // no user selected: no check message
    click(IDC_FRAME_NEXT);
    EXPECT_EQ(wizard.currentPage(), 2);

    questions.push(IDNO);
    SetFocus(page.userList()); // the user picks anna with the arrow key
    gui::pressKey(VK_DOWN);
    gui::waitForIdle();
    EXPECT_EQ(page.selectedUser(), "anna");
    ASSERT_EQ(questions.asked().size(), 1u);
    EXPECT_EQ(questions.asked()[0].key, "MessageBoxSearchBookmark");
    EXPECT_EQ(questions.asked()[0].insert, "\"anna\"");
    EXPECT_EQ(page.chosenSource(), CFavSourcePage::Source::NC);

    questions.push(IDYES);
    chooser.push({"C:\\Daten\\lesezeichen.HTM"});
    click(IDC_FRAME_NEXT); // the check runs again on Next
    EXPECT_EQ(questions.asked().size(), 2u);
    EXPECT_EQ(wizard.currentPage(), 2);
    EXPECT_EQ(page.chosenSource(), CFavSourcePage::Source::NCFile);
    EXPECT_EQ(page.fileName(), "C:\\Daten\\lesezeichen.HTM.htm");
    ASSERT_EQ(chooser.requests().size(), 1u);
    EXPECT_EQ(chooser.requests()[0].filter, "Html Dateien (*.htm;*.html)|*.htm;*.html|");
    EXPECT_EQ(chooser.requests()[0].title,
              getLayoutSectionValue("ArchivImportExportAssistent", "ImportExportFileDlgDescription"));
    EXPECT_EQ(chooser.requests()[0].initialFolder, "");
    EXPECT_FALSE(chooser.requests()[0].multiSelect);
}

TEST_F(FavWizard, BookmarkFileSuffixRulesAndCancelledChooser) {
    open();
    CFavSourcePage& page = wizard.sourcePage();
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\a\\book", "C:\\a\\book.htm"},
        {"C:\\a\\book.html", "C:\\a\\book.html"},
        {"C:\\a\\book.htm", "C:\\a\\book.htm"},
        {"C:\\a\\book.HTM", "C:\\a\\book.HTM.htm"},
    };
    for (const auto& [chosen, expected] : cases) {
        chooser.push({chosen});
        page.searchBookmarkFile();
        EXPECT_EQ(page.fileName(), expected);
    }
    page.searchBookmarkFile(); // cancelled: unchanged
    EXPECT_EQ(page.fileName(), "C:\\a\\book.HTM.htm");
    chooser.push({"C:\\a\\one.htm", "C:\\a\\two.htm"}); // more than one: ignored
    page.searchBookmarkFile();
    EXPECT_EQ(page.fileName(), "C:\\a\\book.HTM.htm");
}

TEST_F(FavWizard, BookmarkFileImportAndExportWithTheEmptyNameTip) {
    TempDir files;
    writeTextFile(files.file("in.htm"), kBookmarks);
    open();
    CFavSourcePage& page = wizard.sourcePage();
    click(IDC_FRAME_NEXT);
    clickOnPage(page, IDC_FAV_NCFILE);
    EXPECT_EQ(page.chosenSource(), CFavSourcePage::Source::NCFile);
    click(IDC_FRAME_NEXT); // empty name
    EXPECT_EQ(asked(), std::vector<std::string>{"MessageBoxFavImportTip1"});
    EXPECT_EQ(wizard.currentPage(), 2);
    typeInto(GetDlgItem(page.handle(), IDC_FAV_FILENAME), files.file("in.htm"));
    click(IDC_FRAME_NEXT);
    chooseFolder("Sport");
    click(IDC_FRAME_FINISH);
    EXPECT_EQ(storeChildren("Favoriten\\Sport"), std::vector<std::string>{"Heise"});
    EXPECT_EQ(asked().back(), "MessageBoxFavImportSuccess");

    CFavAssistentDlg exporter;
    openWizard(exporter);
    clickButton(exporter.directionPage().handle(), IDC_PAGE1_EXPORT);
    clickButton(exporter.handle(), IDC_FRAME_NEXT);
    clickTreeItem(exporter.treePage().tree().handle(), "Sport");
    clickButton(exporter.handle(), IDC_FRAME_NEXT);
    clickButton(exporter.sourcePage().handle(), IDC_FAV_NCFILE);
    clickButton(exporter.handle(), IDC_FRAME_FINISH); // empty name: tip, no operation
    EXPECT_EQ(asked().back(), "MessageBoxFavImportTip1");
    EXPECT_TRUE(exporter.exists());
    typeInto(GetDlgItem(exporter.sourcePage().handle(), IDC_FAV_FILENAME), files.file("out.htm"));
    clickButton(exporter.handle(), IDC_FRAME_FINISH);
    EXPECT_EQ(asked().back(), "MessageBoxFavExportSuccess");
    EXPECT_NE(readTextFile(files.file("out.htm")).find("http://heise.example/"), std::string::npos);
    EXPECT_FALSE(exporter.exists());
}

TEST_F(FavWizard, WithoutNetscapeTheUserChoiceIsDisabled) {
    open();
    EXPECT_FALSE(IsWindowEnabled(wizard.sourcePage().ncBox()));
    EXPECT_FALSE(IsWindowEnabled(wizard.sourcePage().userList()));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(wizard.sourcePage().handle(), IDC_FAV_NCFILE)));
    EXPECT_EQ(wizard.treePage().tree().multiSelect(), false);
    EXPECT_EQ(wizard.treePage().getSelectedPath(), ""); // nothing chosen yet
}

TEST_F(FavWizard, TwoQuickClicksOnNextMoveTwoPages) {
    open();
    HWND next = GetDlgItem(frame(), IDC_FRAME_NEXT);
    gui::click(next);
    gui::click(next); // within the double-click time
    gui::waitForIdle();
    EXPECT_EQ(wizard.currentPage(), 3);
}

TEST_F(FavWizard, DirectionBoxesAnswerAsCheckBoxesAndThePageFollowsThem) {
    open();
    HWND page = wizard.directionPage().handle();
    HWND importBox = GetDlgItem(page, IDC_PAGE1_IMPORT), exportBox = GetDlgItem(page, IDC_PAGE1_EXPORT);
    EXPECT_EQ(SendMessageA(importBox, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(exportBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    clickButton(page, IDC_PAGE1_EXPORT);
    EXPECT_EQ(SendMessageA(importBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(exportBox, BM_GETSTATE, 0, 0) & BST_CHECKED, BST_CHECKED);

    // Set from outside: no click runs, and the wizard goes the way the boxes show.
    SendMessageA(exportBox, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(importBox, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(wizard.directionPage().isImport());
    EXPECT_EQ(wizard.directionPage().elementText("Description"),
              getLayoutSectionValue("FavImportExportPage1", "Description_Export"));
    click(IDC_FRAME_NEXT);
    EXPECT_EQ(wizard.currentPage(), 2);
}

TEST_F(FavWizard, TheSuiteBringsTheWizardToTheFront) {
    open();
    ScopedWindow other(CreateWindowExA(0, "STATIC", "Browser", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                       nullptr, GetModuleHandleA(nullptr), nullptr));
    SetForegroundWindow(other.get());
    gui::waitForIdle();
    ASSERT_EQ(GetForegroundWindow(), other.get());
    char handle[32] = {};
    std::snprintf(handle, sizeof(handle), "%llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(frame())));
    ChildProcess suite;
    ASSERT_TRUE(suite.start("\"" + testExecutableDirectory() + "suite_message.exe\" " + handle));
    EXPECT_TRUE(gui::waitFor([&] { return GetForegroundWindow() == frame(); }, 10000));
    gui::waitFor([] { return false; }, 200); // the answer goes back while messages run
    EXPECT_EQ(suite.wait(10000), 0);
    EXPECT_NE(suite.output().find("answer "), std::string::npos);
    EXPECT_EQ(suite.output().find("answer 0"), std::string::npos);
}

TEST_F(FavWizard, BookmarkFileImportSavesWhatNvtoolSaves) {
    TempDir files;
    writeTextFile(files.file("in.htm"), kBookmarks);
    StoreForNvtool nvtool(store);
    open();
    click(IDC_FRAME_NEXT);
    clickOnPage(wizard.sourcePage(), IDC_FAV_NCFILE);
    typeInto(GetDlgItem(wizard.sourcePage().handle(), IDC_FAV_FILENAME), files.file("in.htm"));
    click(IDC_FRAME_NEXT);
    chooseFolder("Sport");
    click(IDC_FRAME_FINISH);
    ASSERT_EQ(asked(), std::vector<std::string>{"MessageBoxFavImportSuccess"});
    const std::string byWizard = readTextFile(nvtool.userFile());

    std::string output;
    EXPECT_EQ(nvtool.runNvtool(
                  "favorites import-file Favoriten\\Sport \"" + files.file("in.htm") + "\" --yes", &output),
              0)
        << output;
    EXPECT_EQ(readTextFile(nvtool.userFile()), byWizard);
}

TEST_F(FavWizard, ProfileExportAndTheFileResultsCloseOrStay) {
    installNetscape({{"anna", true}});
    open();
    clickOnPage(wizard.directionPage(), IDC_PAGE1_EXPORT);
    click(IDC_FRAME_NEXT);
    chooseFolder("News");
    click(IDC_FRAME_NEXT);
    clickOnPage(wizard.sourcePage(), IDC_FAV_NC);
    click(IDC_FRAME_FINISH);
    EXPECT_EQ(asked(), std::vector<std::string>{"MessageBoxFavExportSuccess"});
    EXPECT_NE(readTextFile(netscape.file("Users\\anna\\bookmark.htm")).find(">News</H3>"), std::string::npos);
    EXPECT_FALSE(wizard.exists());

    // Not a bookmark file: the operation says so and gives up; the wizard stays.
    TempDir files;
    writeTextFile(files.file("notiz.htm"), "nur Text");
    CFavAssistentDlg importer;
    openWizard(importer);
    clickButton(importer.handle(), IDC_FRAME_NEXT);
    clickButton(importer.sourcePage().handle(), IDC_FAV_NCFILE);
    typeInto(GetDlgItem(importer.sourcePage().handle(), IDC_FAV_FILENAME), files.file("notiz.htm"));
    clickButton(importer.handle(), IDC_FRAME_NEXT);
    clickTreeItem(importer.treePage().tree().handle(), "Sport");
    clickButton(importer.handle(), IDC_FRAME_FINISH);
    EXPECT_EQ(asked().back(), "MessageBoxFavExportNotNetscapeFormat");
    EXPECT_TRUE(importer.exists());
    EXPECT_EQ(importer.currentPage(), 3);

    // An existing file the user keeps: the wizard stays; a file that cannot be written: error, closed.
    CFavAssistentDlg exporter;
    openWizard(exporter);
    clickButton(exporter.directionPage().handle(), IDC_PAGE1_EXPORT);
    clickButton(exporter.handle(), IDC_FRAME_NEXT);
    clickTreeItem(exporter.treePage().tree().handle(), "News");
    clickButton(exporter.handle(), IDC_FRAME_NEXT);
    clickButton(exporter.sourcePage().handle(), IDC_FAV_NCFILE);
    HWND name = GetDlgItem(exporter.sourcePage().handle(), IDC_FAV_FILENAME);
    typeInto(name, files.file("notiz.htm"));
    questions.push(IDNO);
    clickButton(exporter.handle(), IDC_FRAME_FINISH);
    EXPECT_EQ(asked().back(), "MessageBoxAssistentFileNotAvailable");
    EXPECT_EQ(readTextFile(files.file("notiz.htm")), "nur Text");
    EXPECT_TRUE(exporter.exists());
    typeInto(name, files.file("fehlt\\aus.htm"));
    MessageCapture messages; // the writer names the file it could not write
    clickButton(exporter.handle(), IDC_FRAME_FINISH);
    EXPECT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(asked().back(), "MessageBoxFavExportError");
    EXPECT_FALSE(exporter.exists());
}

namespace {
// Two Chrome profiles below a local application data folder of the test's own.
class FavWizardBrowsers : public FavWizard {
  protected:
    FavWizardBrowsers() {
        std::string userData = local.file("Google\\Chrome\\User Data");
        put(userData + "\\Local State",
            R"({"profile":{"info_cache":{"Default":{"name":"Person 1"},"Profile 1":{"name":"Arbeit"}}}})");
        put(userData + "\\Default\\Bookmarks", bookmarks("Privat"));
        put(userData + "\\Profile 1\\Bookmarks", bookmarks("Dienst"));
    }
    static void put(const std::string& path, const std::string& text) {
        createDirectory(getParentPath(path), false);
        writeTextFile(path, text);
    }
    static std::string bookmarks(const std::string& name) {
        return R"({"roots":{"bookmark_bar":{"type":"folder","name":"","children":[{"type":"url","name":")" +
               name + R"(","url":"https://)" + name + R"(.example/"}]}}})";
    }
    HWND profileList() { return GetDlgItem(wizard.sourcePage().handle(), IDC_FAV_BROWSERS); }

    TempDir local;
    RegistryValueGuard localFolder{HKEY_CURRENT_USER, kShellFolders, "Local AppData", local.path()};
};
} // namespace

TEST_F(FavWizardBrowsers, ImportsTheChosenProfileAndHidesTheChoiceForExports) {
    open();
    click(IDC_FRAME_NEXT);
    CFavSourcePage& page = wizard.sourcePage();
    ASSERT_TRUE(IsWindowVisible(profileList()));
    EXPECT_EQ(SendMessageA(profileList(), CB_GETCOUNT, 0, 0), 2);
    clickOnPage(page, IDC_FAV_BROWSER);
    EXPECT_EQ(page.chosenSource(), CFavSourcePage::Source::Browser);
    gui::click(profileList()); // the list drops down; the keys pick the second profile
    gui::pressKey(VK_DOWN);
    gui::pressKey(VK_RETURN);
    gui::waitForIdle();
    EXPECT_EQ(page.selectedBrowserProfile(), 1);
    shoot(frame(), "FavWizardPage2Browser");
    click(IDC_FRAME_NEXT);
    chooseFolder("News");
    click(IDC_FRAME_FINISH);
    EXPECT_EQ(asked(), std::vector<std::string>{"MessageBoxFavImportSuccess"});
    EXPECT_EQ(storeChildren("Favoriten\\News\\Lesezeichenleiste"), std::vector<std::string>{"Dienst"});
    EXPECT_FALSE(wizard.exists());

    CFavAssistentDlg second;
    openWizard(second);
    clickButton(second.directionPage().handle(), IDC_PAGE1_EXPORT);
    clickButton(second.handle(), IDC_FRAME_NEXT);
    clickButton(second.handle(), IDC_FRAME_NEXT);
    EXPECT_EQ(second.currentPage(), 2);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(second.sourcePage().handle(), IDC_FAV_BROWSER)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(second.sourcePage().handle(), IDC_FAV_BROWSERS)));
    EXPECT_EQ(second.sourcePage().elementText("TextBrowser"), "");
    second.close();
}

namespace {
// Firefox with one profile whose database is damaged: its backup of 01.12.2026 is read instead.
class FavWizardFirefox : public FavWizard {
  protected:
    FavWizardFirefox() {
        const std::string firefox = roaming.file("Mozilla\\Firefox"),
                          profile = firefox + "\\Profiles\\p.default";
        createDirectory(profile + "\\bookmarkbackups", false);
        writeTextFile(firefox + "\\profiles.ini",
                      "[Profile0]\r\nName=Privat\r\nIsRelative=1\r\nPath=Profiles/p.default\r\n");
        writeTextFile(profile + "\\places.sqlite", "besch\xE4\x64igt");
        writeTextFile(profile + "\\bookmarkbackups\\bookmarks-2026-12-01_1_a.jsonlz4",
                      jsonLz4(backupContainer(
                          "", "placesRoot",
                          backupContainer("", "toolbarFolder",
                                          backupBookmark("Gesichert", "https://gesichert.example/")))));
    }
    // Imports the profile into Favoriten\News through the wizard, picked by the keyboard.
    void importFirefox(CFavAssistentDlg& wizard) {
        openWizard(wizard);
        clickButton(wizard.handle(), IDC_FRAME_NEXT);
        HWND profiles = GetDlgItem(wizard.sourcePage().handle(), IDC_FAV_BROWSERS);
        clickButton(wizard.sourcePage().handle(), IDC_FAV_BROWSER);
        gui::click(profiles);
        gui::pressKey(VK_RETURN);
        gui::waitForIdle();
        EXPECT_EQ(text(profiles), "Mozilla Firefox \x96 Privat");
        clickButton(wizard.handle(), IDC_FRAME_NEXT);
        clickTreeItem(wizard.treePage().tree().handle(), "News");
        clickButton(wizard.handle(), IDC_FRAME_FINISH);
    }

    TempDir local, roaming;
    RegistryValueGuard localFolder{HKEY_CURRENT_USER, kShellFolders, "Local AppData", local.path()};
    RegistryValueGuard roamingFolder{HKEY_CURRENT_USER, kShellFolders, "AppData", roaming.path()};
};
} // namespace

TEST_F(FavWizardFirefox, ImportsTheBackupAndTellsItsDateWhereTheSkinHasTheMessage) {
    importFirefox(wizard);
    ASSERT_EQ(questions.asked().size(), 2u);
    EXPECT_EQ(questions.asked()[0].key, "MessageBoxFavImportBrowserBackup");
    EXPECT_EQ(questions.asked()[0].insert, "01.12.2026");
    EXPECT_EQ(questions.asked()[1].key, "MessageBoxFavImportSuccess");
    EXPECT_EQ(storeChildren("Favoriten\\News\\Lesezeichen-Symbolleiste"),
              std::vector<std::string>{"Gesichert"});
    EXPECT_FALSE(wizard.exists());

    store.setValue("Layout_MessageBoxFavImportBrowserBackup", "Message", "");
    CFavAssistentDlg second;
    importFirefox(second);
    EXPECT_EQ(asked(),
              (std::vector<std::string>{"MessageBoxFavImportBrowserBackup", "MessageBoxFavImportSuccess",
                                        "MessageBoxFavImportSuccess"}));
    EXPECT_FALSE(second.exists());
}

TEST_F(FavWizard, WithoutABrowserProfileTheChoiceIsDisabled) {
    TempDir local;
    RegistryValueGuard localFolder{HKEY_CURRENT_USER, kShellFolders, "Local AppData", local.path()};
    open();
    click(IDC_FRAME_NEXT);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(wizard.sourcePage().handle(), IDC_FAV_BROWSER)));
    clickOnPage(wizard.sourcePage(), IDC_FAV_BROWSER);
    EXPECT_EQ(wizard.sourcePage().chosenSource(), CFavSourcePage::Source::IE);
    wizard.close();
}
