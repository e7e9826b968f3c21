// Finish answered through the real skinned message box with real input: every way Finish ends
// without closing leaves a frame that takes the next Finish.
#include "WizardFixture.h"

#include "archive/ArchiveExport.h"
#include "archive/ArchiveImport.h"
#include "config/IniFile.h"
#include "favorites/NetscapeTransfer.h"
#include "platform/FileSystem.h"
#include "store/LastImport.h"
#include "store/SharedStoreNodes.h"
#include "support/GuiInput.h"
#include "ui/ArchivAssistentDlg.h"
#include "ui/FavAssistentDlg.h"
#include "ui/MessageBoxDlg.h"

namespace {
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kArchiveRoot = "NVOfflineTreeRoot";
using Step = ModalDriver::Step;

// The program's answers for the test's lifetime: questions open the skinned box.
class RealMessageBoxes : public TestHost {
  public:
    QuestionAnswer ask(const std::string& messageKey, const std::string& insertText) override {
        return runMessageBox(messageKey, insertText);
    }
};

Step clickOn(int id) {
    return [id](HWND box) {
        clickButton(box, id);
        return true;
    };
}

Step keys(std::vector<WORD> presses) {
    return [presses](HWND box) {
        SetForegroundWindow(box);
        for (WORD key : presses)
            gui::pressKey(key);
        return true;
    };
}

// Remembers the title of each box it sees, then answers it with the step.
Step seen(std::vector<std::string>& titles, Step answer) {
    return [&titles, answer](HWND box) {
        titles.push_back(CWindow(box).text());
        return answer(box);
    };
}

// The page archive wizard on its export file page, folder Reisen chosen.
class FinishInput : public WizardTest {
  protected:
    FinishInput() {
        writeTextFile(dir.file("Rom.htm"), "<html>Rom</html>");
        store.setValue(kArchiveRoot, "item_0", "Reisen");
        setFolder(kArchiveRoot + "\\Reisen", {"Rom"});
        store.setValue(kArchiveRoot + "\\Reisen\\Rom", "type", "file");
        store.setValue(kArchiveRoot + "\\Reisen\\Rom", "HREF", dir.file("Rom.htm"));
        writeTextFile(target, "alt");
    }
    void openOnExportFile(const std::string& file) {
        openWizard(archive);
        clickButton(archive.directionPage().handle(), IDC_PAGE1_EXPORT);
        clickButton(archive.handle(), IDC_FRAME_NEXT);
        clickTreeItem(archive.treePage().tree().handle(), "Reisen");
        clickButton(archive.handle(), IDC_FRAME_NEXT);
        setFile(file);
    }
    void setFile(const std::string& file) {
        typeInto(GetDlgItem(archive.filePage().handle(), IDC_ARCHIV_FILENAME), file);
    }
    // Clicks Finish on the frame; the steps answer the boxes that follow.
    std::vector<std::string> finish(HWND frame, std::vector<Step> answers) {
        std::vector<std::string> titles;
        for (Step& answer : answers)
            answer = seen(titles, answer);
        ModalDriver driver(std::move(answers));
        clickButton(frame, IDC_FRAME_FINISH);
        gui::waitForIdle();
        return titles;
    }
    // The second Finish of the same frame replaces the file, reports and closes.
    void secondFinishReplaces() {
        EXPECT_EQ(finish(archive.handle(), {clickOn(IDYES), clickOn(IDOK)}),
                  (std::vector<std::string>{"Datei bereits vorhanden", exportSuccessTitle()}));
        EXPECT_GT(readTextFile(target).size(), 100u);
        EXPECT_FALSE(archive.exists());
        EXPECT_EQ(state.count(), 1);
    }
    static std::string exportSuccessTitle() { return titleOf("MessageBoxArchivExportSuccess"); }
    static std::string titleOf(const std::string& key) {
        const std::string value = getLayoutValue(key);
        size_t at = 0;
        for (int field = 0; field < 5 && at != std::string::npos; ++field)
            at = value.find(';', at + 1);
        return at == std::string::npos ? "" : value.substr(at + 1);
    }

    TempDir dir;
    RegistryValueGuard personal{HKEY_CURRENT_USER, kShellFolders, "Personal", dir.file("Eigene Dateien")};
    const std::string target = dir.file("reisen.sad");
    CArchivAssistentDlg archive;
    RealMessageBoxes boxes;
};

struct Declining {
    const char* name;
    std::vector<WORD> keys; // none: a click on "Nein"
};

class DeclinedReplace : public FinishInput, public testing::WithParamInterface<Declining> {};
} // namespace

TEST_P(DeclinedReplace, KeepsTheFileAndTheSameFrameTakesTheNextFinish) {
    openOnExportFile(target);
    const Step answer = GetParam().keys.empty() ? clickOn(IDNO) : keys(GetParam().keys);
    EXPECT_EQ(finish(archive.handle(), {answer}), std::vector<std::string>{"Datei bereits vorhanden"});
    EXPECT_EQ(readTextFile(target), "alt");
    ASSERT_TRUE(archive.exists());
    EXPECT_EQ(archive.currentPage(), 2);
    EXPECT_TRUE(IsWindowEnabled(archive.handle()));
    secondFinishReplaces();
}

INSTANTIATE_TEST_SUITE_P(Answers, DeclinedReplace,
                         testing::Values(Declining{"ClickOnNo", {}},
                                         Declining{"TabThenEnterOnNo", {VK_TAB, VK_RETURN}},
                                         Declining{"Escape", {VK_ESCAPE}}),
                         [](const testing::TestParamInfo<Declining>& info) { return info.param.name; });

TEST_F(FinishInput, AnErrorThatKeepsTheWizardLeavesItTakingTheNextFinish) {
    openOnExportFile(dir.file("fehlt\\reisen.sad"));
    EXPECT_EQ(finish(archive.handle(), {clickOn(IDOK)}),
              std::vector<std::string>{titleOf("MessageBoxArchivExportError")});
    ASSERT_TRUE(archive.exists());
    setFile(target);
    secondFinishReplaces();
}

TEST_F(FinishInput, ACloseAskedForWhileTheConversionRunsIsCarriedOutAtItsEnd) {
    for (UINT request : {static_cast<UINT>(WM_CLOSE), 0x02B1u /* WM_WTSSESSION_CHANGE */}) {
        CArchivAssistentDlg wizard;
        openWizard(wizard);
        clickButton(wizard.directionPage().handle(), IDC_PAGE1_EXPORT);
        clickButton(wizard.handle(), IDC_FRAME_NEXT);
        clickTreeItem(wizard.treePage().tree().handle(), "Reisen");
        clickButton(wizard.handle(), IDC_FRAME_NEXT);
        typeInto(GetDlgItem(wizard.filePage().handle(), IDC_ARCHIV_FILENAME), target);
        const HWND frame = wizard.handle();
        finish(frame, {[frame, request](HWND box) {
                           PostMessageA(frame, request, 2 /* console disconnect */, 0);
                           pumpMessages(100);
                           EXPECT_TRUE(IsWindowVisible(box)); // remembered, not carried out yet
                           return true;
                       },
                       clickOn(IDNO)});
        EXPECT_FALSE(wizard.exists()) << request;
        EXPECT_EQ(readTextFile(target), "alt");
    }
    EXPECT_EQ(state.count(), 2);
}

namespace {
// The favorites wizard exporting the folder Favoriten to a bookmark file.
class FavoritesFinishInput : public FinishInput {
  protected:
    FavoritesFinishInput() {
        store.setValue(getFavTreeRoot(), "item_0", "Favoriten");
        setFolder(getFavTreeRoot() + "\\Favoriten", {});
    }
    HWND nameEdit() { return GetDlgItem(favorites.sourcePage().handle(), IDC_FAV_FILENAME); }
    CFavAssistentDlg favorites;
};
} // namespace

TEST_F(FavoritesFinishInput, ATipAndAnAbandonedImportLeaveTheFrameTakingTheNextFinish) {
    openWizard(favorites);
    clickButton(favorites.directionPage().handle(), IDC_PAGE1_EXPORT);
    clickButton(favorites.handle(), IDC_FRAME_NEXT);
    clickTreeItem(favorites.treePage().tree().handle(), "Favoriten");
    clickButton(favorites.handle(), IDC_FRAME_NEXT);
    clickButton(favorites.sourcePage().handle(), IDC_FAV_NCFILE);
    // No file name: the tip.
    EXPECT_EQ(finish(favorites.handle(), {clickOn(IDOK)}),
              std::vector<std::string>{titleOf("MessageBoxFavImportTip1")});
    ASSERT_TRUE(favorites.exists());
    // An existing file that is kept: No.
    typeInto(nameEdit(), target);
    EXPECT_EQ(finish(favorites.handle(), {clickOn(IDNO)}),
              std::vector<std::string>{"Datei bereits vorhanden"});
    ASSERT_TRUE(favorites.exists());
    typeInto(nameEdit(), dir.file("neu.htm"));
    EXPECT_EQ(finish(favorites.handle(), {clickOn(IDOK)}),
              std::vector<std::string>{titleOf("MessageBoxFavExportSuccess")});
    EXPECT_FALSE(favorites.exists());
    EXPECT_NE(readTextFile(dir.file("neu.htm")).find("Favoriten"), std::string::npos);

    // Import of a file that is not a bookmark file: the operation tells and gives up (result 0).
    CFavAssistentDlg importer;
    openWizard(importer);
    clickButton(importer.handle(), IDC_FRAME_NEXT);
    clickButton(importer.sourcePage().handle(), IDC_FAV_NCFILE);
    typeInto(GetDlgItem(importer.sourcePage().handle(), IDC_FAV_FILENAME), target);
    clickButton(importer.handle(), IDC_FRAME_NEXT);
    clickTreeItem(importer.treePage().tree().handle(), "Favoriten");
    const std::vector<std::string> abandoned{titleOf("MessageBoxFavExportNotNetscapeFormat")};
    EXPECT_EQ(finish(importer.handle(), {clickOn(IDOK)}), abandoned);
    ASSERT_TRUE(importer.exists());
    EXPECT_EQ(finish(importer.handle(), {keys({VK_RETURN})}), abandoned);
    EXPECT_TRUE(importer.exists());
    EXPECT_EQ(state.count(), 1);
}

namespace {
const std::string kUndoTitle = "Import r\xFC"
                               "ckg\xE4"
                               "ngig machen";

HWND undoBox(CDirectionPage& page) {
    return GetDlgItem(page.handle(), IDC_PAGE1_UNDO);
}
} // namespace

TEST_F(FavoritesFinishInput, TheUndoChoiceUndoesTheLastImportAfterItsQuestion) {
    writeTextFile(dir.file("b.htm"), "<DL><p>\r\n<DT><H3>Sport</H3>\r\n<DL><p>\r\n"
                                     "<DT><A HREF=\"http://kicker/\">Kicker</A>\r\n</DL><p>\r\n</DL><p>\r\n");
    std::string before;
    store.document().serialize(before, false);
    ASSERT_EQ(import_NCFile(store, "Favoriten", dir.file("b.htm")), 1);

    // A skin without the choice does not offer it.
    store.setValue("Layout_FavImportExportPage1", "CheckBoxUndo", "");
    CFavAssistentDlg plain;
    openWizard(plain);
    EXPECT_FALSE(IsWindowVisible(undoBox(plain.directionPage())));
    plain.close();
    skin.addDefaultSkin();

    openWizard(favorites);
    CDirectionPage& page = favorites.directionPage();
    ASSERT_TRUE(IsWindowVisible(undoBox(page)));
    EXPECT_EQ(page.elementText("TextUndo"), "Import in \x84"
                                            "Favoriten\x93 vom " +
                                                readLastImport(ImportKind::favorites)->date +
                                                ": 3 Eintr\xE4"
                                                "ge");
    clickButton(page.handle(), IDC_PAGE1_UNDO);
    EXPECT_TRUE(page.isUndo());
    EXPECT_FALSE(page.isImport());
    EXPECT_EQ(page.elementText("Description"),
              getLayoutSectionValue("FavImportExportPage1", "Description_Undo"));
    EXPECT_FALSE(visible(favorites.handle(), IDC_FRAME_NEXT));
    EXPECT_TRUE(visible(favorites.handle(), IDC_FRAME_FINISH));
    shoot(favorites.handle(), "FavWizardPage1Undo");
    clickButton(page.handle(), IDC_PAGE1_IMPORT); // and back: Next again
    EXPECT_TRUE(visible(favorites.handle(), IDC_FRAME_NEXT));
    clickButton(page.handle(), IDC_PAGE1_UNDO);

    EXPECT_EQ(finish(favorites.handle(), {clickOn(IDYES), clickOn(IDOK)}),
              (std::vector<std::string>{kUndoTitle, titleOf("MessageBoxFavUndoSuccess")}));
    EXPECT_FALSE(favorites.exists());
    std::string after;
    store.document().serialize(after, false);
    EXPECT_EQ(after, before);

    CFavAssistentDlg again;
    openWizard(again);
    EXPECT_FALSE(IsWindowVisible(undoBox(again.directionPage())));
    again.close();
}

TEST_F(FinishInput, AnArchiveUndoRefusedAfterAChangeLeavesTheWizardTakingTheNextFinish) {
    ASSERT_EQ(export_Archiv2(nodes, "Reisen", dir.file("export.sad")), 1);
    ASSERT_EQ(import_Archiv(store, "Alt", dir.file("export.sad")), 1);
    const std::string page = kArchiveRoot + "\\Alt\\Rom";
    const std::string date = store.getValue(page, "DATE", "");
    const std::string unpacked = readLastImport(ImportKind::archive)->unpackedFolder;
    ASSERT_TRUE(isDirectory(unpacked));
    store.setValue(page, "DATE", "anders");

    openWizard(archive);
    clickButton(archive.directionPage().handle(), IDC_PAGE1_UNDO);
    EXPECT_EQ(finish(archive.handle(), {clickOn(IDYES), clickOn(IDOK)}),
              (std::vector<std::string>{kUndoTitle, titleOf("MessageBoxArchivUndoRefused")}));
    ASSERT_TRUE(archive.exists());
    EXPECT_EQ(archive.currentPage(), 1);
    EXPECT_EQ(store.getValue(page, "DATE", ""), "anders");
    EXPECT_TRUE(isDirectory(unpacked));

    // Declined with Escape: nothing happens.
    store.setValue(page, "DATE", date);
    EXPECT_EQ(finish(archive.handle(), {keys({VK_ESCAPE})}), std::vector<std::string>{kUndoTitle});
    ASSERT_TRUE(archive.exists());
    EXPECT_EQ(store.getValue(page, "type", ""), "file"); // not undone

    EXPECT_EQ(finish(archive.handle(), {clickOn(IDYES), clickOn(IDOK)}),
              (std::vector<std::string>{kUndoTitle, titleOf("MessageBoxArchivUndoSuccess")}));
    EXPECT_FALSE(archive.exists());
    EXPECT_EQ(store.getValue(page, "type", "<none>"), "<none>");
    EXPECT_EQ(store.getValue(kArchiveRoot + "\\Reisen\\Rom", "type", ""), "file");
    EXPECT_FALSE(isDirectory(unpacked));
    EXPECT_EQ(state.count(), 1);
}
