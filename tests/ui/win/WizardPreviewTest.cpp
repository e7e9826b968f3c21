// Opens both wizards with the default skin, saves a screenshot of each page and checks that the
// frame and every page carry each element the default skin lays out for them.
#include "WizardFixture.h"

#include <regex>
#include <sstream>

#include "platform/ProgramPaths.h"
#include "ui/ArchivAssistentDlg.h"
#include "ui/FavAssistentDlg.h"

namespace {
// The element names of the default skin's section "Layout_<name>" that have a placement.
std::vector<std::string> placedElements(const std::string& name) {
    std::istringstream skin(readTextFile(testExecutableDirectory() + "Skin0000.ini"));
    const std::regex placed(R"(^([A-Za-z0-9_]+)="\d+;-?\d+;-?\d+;-?\d+;-?\d+;.*)");
    std::vector<std::string> names;
    bool inSection = false;
    for (std::string line; std::getline(skin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::smatch match;
        if (!line.empty() && line[0] == '[')
            inSection = line == "[Layout_" + name + "]";
        else if (inSection && std::regex_match(line, match, placed))
            names.push_back(match[1]);
    }
    return names;
}

class WizardPreview : public WizardTest {
  protected:
    static void expectSkinned(const std::string& section, const CManagedElementList* elements) {
        ASSERT_NE(elements, nullptr) << section;
        const std::vector<std::string> names = placedElements(section);
        EXPECT_FALSE(names.empty()) << section;
        for (const std::string& name : names)
            EXPECT_NE(elements->find(name), nullptr) << section << ": " << name;
    }
    static void expectSkinned(const CAssistentFrame& frame) { expectSkinned(frame.section(), frame.elements()); }
    static void expectSkinned(const CWizardPage& page) { expectSkinned(page.section(), page.elements()); }
};
} // namespace

TEST_F(WizardPreview, FavoritesPagesCarryEveryElementOfTheDefaultSkin) {
    store.setValue("NVFavTreeRoot", "item_0", "Favoriten");
    setFolder("NVFavTreeRoot\\Favoriten", {"Reisen"});
    setFolder("NVFavTreeRoot\\Favoriten\\Reisen", {});
    CFavAssistentDlg wizard;
    openWizard(wizard);
    expectSkinned(wizard);
    expectSkinned(wizard.directionPage());
    shoot(wizard.handle(), "FavWizardPage1");
    clickButton(wizard.handle(), IDC_FRAME_NEXT);
    ASSERT_EQ(wizard.currentPage(), 2);
    expectSkinned(wizard.sourcePage());
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(wizard.sourcePage().handle(), IDC_FAV_SEARCH)));
    shoot(wizard.handle(), "FavWizardPage2");
    clickButton(wizard.handle(), IDC_FRAME_NEXT);
    ASSERT_EQ(wizard.currentPage(), 3);
    expectSkinned(wizard.treePage());
    EXPECT_NE(findItem(wizard.treePage().tree().handle(), "Reisen"), nullptr);
}

TEST_F(WizardPreview, ArchivePagesCarryEveryElementOfTheDefaultSkinAndTheTreeIcons) {
    store.setValue("NVOfflineTreeRoot", "item_0", "Reisen");
    setFolder("NVOfflineTreeRoot\\Reisen", {});
    CArchivAssistentDlg wizard;
    openWizard(wizard);
    expectSkinned(wizard);
    expectSkinned(wizard.directionPage());
    clickButton(wizard.directionPage().handle(), IDC_PAGE1_EXPORT);
    clickButton(wizard.handle(), IDC_FRAME_NEXT); // export: 1 -> 3
    ASSERT_EQ(wizard.currentPage(), 3);
    expectSkinned(wizard.treePage());
    HIMAGELIST icons = TreeView_GetImageList(wizard.treePage().tree().handle(), TVSIL_NORMAL);
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(icons), 4);
    shoot(wizard.handle(), "WizardTreePage");
    clickButton(wizard.handle(), IDC_FRAME_NEXT); // 3 -> 2
    ASSERT_EQ(wizard.currentPage(), 2);
    expectSkinned(wizard.filePage());
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(wizard.filePage().handle(), IDC_ARCHIV_SEARCH)));
    shoot(wizard.handle(), "ArchivWizardPage2");
}
