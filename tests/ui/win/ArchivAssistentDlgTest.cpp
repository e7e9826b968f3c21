#include "WizardFixture.h"

#include <ctime>

#include "platform/FileSystem.h"
#include "store/SharedStoreNodes.h"
#include "support/GuiInput.h"
#include "ui/ArchivAssistentDlg.h"

namespace {
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kRoot = "NVOfflineTreeRoot";

std::string todaysName() {
    std::time_t now = std::time(nullptr);
    char name[32] = {};
    std::strftime(name, sizeof(name), "%y%m%d", std::localtime(&now));
    return std::string("\\Seitenarchiv_") + name + ".sad";
}

// The page archive wizard over an archive with the folders Reisen (the page Rom) and Alt, with
// the "Personal" shell folder in a temporary folder.
class ArchivWizard : public WizardTest {
  protected:
    ArchivWizard() {
        writeTextFile(dir.file("Rom.htm"), "<html>Rom</html>");
        store.setValue(kRoot, "item_0", "Reisen");
        store.setValue(kRoot, "item_1", "Alt");
        setFolder(kRoot + "\\Reisen", {"Rom"});
        store.setValue(kRoot + "\\Reisen\\Rom", "type", "file");
        store.setValue(kRoot + "\\Reisen\\Rom", "DATE", "01.02.2003");
        store.setValue(kRoot + "\\Reisen\\Rom", "URL", "http://rom.example/");
        store.setValue(kRoot + "\\Reisen\\Rom", "HREF", dir.file("Rom.htm"));
        setFolder(kRoot + "\\Alt", {});
    }
    void open() { openWizard(wizard); }
    HWND frame() const { return wizard.handle(); }
    void click(int id) { clickButton(frame(), id); }
    void chooseExport() { clickButton(wizard.directionPage().handle(), IDC_PAGE1_EXPORT); }
    void chooseFolder(const std::string& label) { clickTreeItem(wizard.treePage().tree().handle(), label); }
    void setFile(const std::string& name) {
        typeInto(GetDlgItem(wizard.filePage().handle(), IDC_ARCHIV_FILENAME), name);
    }
    std::vector<std::string> asked() const {
        std::vector<std::string> keys;
        for (const auto& question : questions.asked())
            keys.push_back(question.key);
        return keys;
    }
    std::vector<std::string> children(const std::string& path) {
        return listChildren(nodes, kRoot + "\\" + path);
    }

    TempDir dir;
    RegistryValueGuard personal{HKEY_CURRENT_USER, kShellFolders, "Personal", dir.file("Eigene Dateien")};
    CArchivAssistentDlg wizard;
};
} // namespace

TEST_F(ArchivWizard, ProposesTheDatedDefaultFileAndKeepsForwardInStepWithTheEdit) {
    createDirectory(dir.file("Eigene Dateien"), false);
    open();
    const std::string folder = dir.file("Eigene Dateien\\Quendal Browser");
    EXPECT_TRUE(isDirectory(folder));
    EXPECT_EQ(wizard.filePage().fileName(), folder + todaysName());
    shoot(frame(), "ArchivWizardPage1");

    chooseExport();
    click(IDC_FRAME_NEXT); // export: 1 -> 3
    EXPECT_EQ(wizard.currentPage(), 3);
    EXPECT_TRUE(visible(frame(), IDC_FRAME_NEXT));
    shoot(frame(), "ArchivWizardPage3Export");
    click(IDC_FRAME_NEXT); // 3 -> 2
    EXPECT_EQ(wizard.currentPage(), 2);
    EXPECT_TRUE(visible(frame(), IDC_FRAME_FINISH));
    EXPECT_TRUE(enabled(frame(), IDC_FRAME_FINISH));
    EXPECT_EQ(wizard.filePage().elementText("Title"),
              getLayoutSectionValue("ArchivImportExportPage2", "Export_Title"));
    EXPECT_EQ(wizard.filePage().elementText("DescriptionArchiv2"), ""); // gone at the first switch
    shoot(frame(), "ArchivWizardPage2Export");
    setFile("");
    EXPECT_FALSE(enabled(frame(), IDC_FRAME_FINISH));
    setFile("x");
    EXPECT_TRUE(enabled(frame(), IDC_FRAME_FINISH));

    click(IDC_FRAME_BACK);
    click(IDC_FRAME_BACK);
    clickButton(wizard.directionPage().handle(), IDC_PAGE1_IMPORT);
    setFile("");
    click(IDC_FRAME_NEXT); // import: 1 -> 2, Next only with a name
    EXPECT_EQ(wizard.currentPage(), 2);
    EXPECT_FALSE(enabled(frame(), IDC_FRAME_NEXT));
    EXPECT_EQ(wizard.filePage().elementText("Title"),
              getLayoutSectionValue("ArchivImportExportPage2", "Import_Title"));
    shoot(frame(), "ArchivWizardPage2Import");
    setFile("C:\\gibt\\es\\nicht.sad");
    EXPECT_TRUE(enabled(frame(), IDC_FRAME_NEXT));
    click(IDC_FRAME_NEXT);
    EXPECT_EQ(asked(), std::vector<std::string>{"MessageBoxArchivTip2"});
    EXPECT_EQ(wizard.currentPage(), 2);
    EXPECT_TRUE(questions.asked()[0].insert.empty());
}

TEST_F(ArchivWizard, ChosenFileNamesFollowTheSuffixRuleOfTheMode) {
    open();
    CArchivFilePage& page = wizard.filePage();
    chooseExport();
    click(IDC_FRAME_NEXT);
    click(IDC_FRAME_NEXT);
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\a\\sicherung", "C:\\a\\sicherung.sad"},
        {"C:\\a\\sicherung.sad", "C:\\a\\sicherung.sad"},
        {"C:\\a\\sicherung.SAD", "C:\\a\\sicherung.SAD.sad"},
    };
    for (const auto& [chosen, expected] : cases) {
        chooser.push({chosen});
        clickButton(page.handle(), IDC_ARCHIV_SEARCH);
        EXPECT_EQ(page.fileName(), expected);
    }
    ASSERT_EQ(chooser.requests().size(), 3u);
    EXPECT_EQ(chooser.requests()[0].filter, "Seitenarchiv Dateien (*.sad)|*.sad|");
    EXPECT_EQ(chooser.requests()[0].initialFolder, page.defaultFolder());
    clickButton(page.handle(), IDC_ARCHIV_SEARCH); // cancelled: unchanged
    EXPECT_EQ(page.fileName(), "C:\\a\\sicherung.SAD.sad");

    click(IDC_FRAME_BACK);
    click(IDC_FRAME_BACK);
    clickButton(wizard.directionPage().handle(), IDC_PAGE1_IMPORT);
    click(IDC_FRAME_NEXT);
    chooser.push({"C:\\a\\alt.SAD"});
    clickButton(page.handle(), IDC_ARCHIV_SEARCH);
    EXPECT_EQ(page.fileName(), "C:\\a\\alt.SAD"); // import takes the name as it is
}

TEST_F(ArchivWizard, ExportAsksBeforeReplacingAndReportsEachResult) {
    open();
    chooseExport();
    click(IDC_FRAME_NEXT);
    chooseFolder("Reisen");
    click(IDC_FRAME_NEXT);
    const std::string target = dir.file("reisen.sad");
    writeTextFile(target, "alt");
    setFile(target);
    questions.push(IDNO);
    click(IDC_FRAME_FINISH); // declined
    EXPECT_EQ(asked(), std::vector<std::string>{"MessageBoxAssistentFileNotAvailable"});
    EXPECT_EQ(readTextFile(target), "alt");

    setFile(dir.file("fehlt\\reisen.sad")); // folder missing: error, the wizard stays
    click(IDC_FRAME_FINISH);
    EXPECT_EQ(asked().back(), "MessageBoxArchivExportError");
    EXPECT_TRUE(wizard.exists());
    setFile(""); // Finish is disabled without a name
    click(IDC_FRAME_FINISH);
    EXPECT_FALSE(enabled(frame(), IDC_FRAME_FINISH));

    setFile(target);
    questions.push(IDOK);
    click(IDC_FRAME_FINISH);
    EXPECT_EQ(asked(), (std::vector<std::string>{
                           "MessageBoxAssistentFileNotAvailable", "MessageBoxArchivExportError",
                           "MessageBoxAssistentFileNotAvailable", "MessageBoxArchivExportSuccess"}));
    EXPECT_GT(readTextFile(target).size(), 520u);
    EXPECT_FALSE(wizard.exists());
    EXPECT_EQ(state.count(), 1);

    // The archive goes back in through the import direction.
    CArchivAssistentDlg importer;
    openWizard(importer);
    clickButton(importer.handle(), IDC_FRAME_NEXT);
    typeInto(GetDlgItem(importer.filePage().handle(), IDC_ARCHIV_FILENAME), target);
    clickButton(importer.handle(), IDC_FRAME_NEXT);
    EXPECT_EQ(importer.currentPage(), 3);
    clickTreeItem(importer.treePage().tree().handle(), "Alt");
    clickButton(importer.handle(), IDC_FRAME_FINISH);
    EXPECT_EQ(asked().back(), "MessageBoxArchivImportSuccess");
    EXPECT_EQ(children("Alt"), std::vector<std::string>{"Rom"});
    EXPECT_FALSE(importer.exists());
}

TEST_F(ArchivWizard, ExportToAMissingDriveAndAFailedImportStay) {
    open();
    chooseExport();
    click(IDC_FRAME_NEXT);
    chooseFolder("Reisen");
    click(IDC_FRAME_NEXT);
    setFile("Q:\\kein\\laufwerk.sad"); // not there: an error, not a lack of room
    click(IDC_FRAME_FINISH);
    EXPECT_EQ(asked(), std::vector<std::string>{"MessageBoxArchivExportError"});
    ASSERT_TRUE(wizard.exists());
    click(IDC_FRAME_BACK); // every choice is still there
    EXPECT_EQ(wizard.currentPage(), 3);

    CArchivAssistentDlg importer;
    openWizard(importer);
    writeTextFile(dir.file("kaputt.sad"), "kein Archiv");
    clickButton(importer.handle(), IDC_FRAME_NEXT);
    typeInto(GetDlgItem(importer.filePage().handle(), IDC_ARCHIV_FILENAME), dir.file("kaputt.sad"));
    clickButton(importer.handle(), IDC_FRAME_NEXT);
    clickButton(importer.handle(), IDC_FRAME_FINISH);
    EXPECT_EQ(asked().back(), "MessageBoxArchivImportError");
    EXPECT_TRUE(importer.exists());
    EXPECT_EQ(importer.currentPage(), 3);
}

TEST_F(ArchivWizard, ExportWarnsAboutPagesWhoseFileCouldNotBeRead) {
    DeleteFileA(dir.file("Rom.htm").c_str());
    open();
    chooseExport();
    click(IDC_FRAME_NEXT);
    chooseFolder("Reisen");
    click(IDC_FRAME_NEXT);
    setFile(dir.file("reisen.sad"));
    click(IDC_FRAME_FINISH);
    ASSERT_EQ(asked(), std::vector<std::string>{"MessageBoxArchivExportIncomplete"});
    EXPECT_EQ(questions.asked()[0].insert, "Reisen\\Rom");
    EXPECT_FALSE(wizard.exists());
}

TEST_F(ArchivWizard, ASecondFinishWhileTheExportRunsIsIgnored) {
    open();
    chooseExport();
    click(IDC_FRAME_NEXT);
    chooseFolder("Reisen");
    click(IDC_FRAME_NEXT);
    setFile(dir.file("fehlt\\reisen.sad")); // fails, and the wizard stays
    HWND finish = GetDlgItem(frame(), IDC_FRAME_FINISH);
    gui::click(finish);
    gui::click(finish); // the impatient second click
    gui::waitForIdle();
    EXPECT_EQ(asked(), std::vector<std::string>{"MessageBoxArchivExportError"});
    EXPECT_TRUE(wizard.exists());
}

TEST_F(ArchivWizard, ExportWritesTheArchiveNvtoolWrites) {
    StoreForNvtool nvtool(store);
    open();
    chooseExport();
    click(IDC_FRAME_NEXT);
    chooseFolder("Reisen");
    click(IDC_FRAME_NEXT);
    setFile(dir.file("wizard.sad"));
    click(IDC_FRAME_FINISH);
    ASSERT_EQ(asked(), std::vector<std::string>{"MessageBoxArchivExportSuccess"});

    std::string output;
    EXPECT_EQ(nvtool.runNvtool("archive export Reisen \"" + dir.file("tool.sad") + "\"", &output), 0)
        << output;
    std::string byWizard = readTextFile(dir.file("wizard.sad")), byTool = readTextFile(dir.file("tool.sad"));
    ASSERT_GT(byWizard.size(), 8u);
    ASSERT_EQ(byWizard.size(), byTool.size());
    // Bytes 4 to 7 of the header hold the creation time.
    byWizard.replace(4, 4, 4, '\0');
    byTool.replace(4, 4, 4, '\0');
    EXPECT_EQ(byWizard, byTool);
}
