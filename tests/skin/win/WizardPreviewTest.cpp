// Builds the wizard frames and pages from their templates and the default skin the way the
// wizards do, and saves screenshots of them: the default skin must look finished there too.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "config/ProcessStore.h"
#include "platform/FileSystem.h"
#include "platform/ProgramPaths.h"
#include "skin/ManagedElementList.h"
#include "skin/SkinBitmap.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"
#include "toolkit/Dialog.h"
#include "ui/ResourceIds.h"

namespace {
// A dialog whose skinned controls and element list are declared by the test.
class SkinnedDialog : public CDialog {
  public:
    explicit SkinnedDialog(int templateId) : CDialog(templateId) {}
    ~SkinnedDialog() override {
        list.reset();
        buttons.clear();
        checkBoxes.clear();
    }
    void startList(const std::string& name) { list = std::make_unique<CManagedElementList>(name, handle()); }
    CSkinButton& button(const std::string& name, int id) {
        buttons.push_back(std::make_unique<CSkinButton>(5, false));
        buttons.back()->subclassItem(handle(), id);
        list->addButtonElement(name, *buttons.back());
        return *buttons.back();
    }
    CSkinCheckBox& checkBox(const std::string& name, int id) {
        checkBoxes.push_back(std::make_unique<CSkinCheckBox>());
        checkBoxes.back()->subclassItem(handle(), id);
        list->addCheckBoxElement(name, *checkBoxes.back());
        return *checkBoxes.back();
    }
    void setText(const std::string& element, const std::string& text) {
        if (CTextElement* found = list->findText(element)) found->control().setText(text);
    }

    std::unique_ptr<CManagedElementList> list;
    std::vector<std::unique_ptr<CSkinButton>> buttons;
    std::vector<std::unique_ptr<CSkinCheckBox>> checkBoxes;

  protected:
    bool onMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message != WM_ERASEBKGND || !list || !list->paintElements(reinterpret_cast<HDC>(wParam)))
            return false;
        result = 1;
        return true;
    }
};

struct Frame {
    SkinnedDialog dialog;
    std::string section;
    Frame(int templateId, std::string name) : dialog(templateId), section(std::move(name)) {}

    void open(int page) {
        ASSERT_TRUE(dialog.create(nullptr));
        dialog.startList(section);
        dialog.list->addPictureElement("Background");
        dialog.button("ButtonBack", IDC_FRAME_BACK);
        dialog.button("ButtonNext", IDC_FRAME_NEXT);
        dialog.button("ButtonFinish", IDC_FRAME_FINISH);
        dialog.button("ButtonCancel", IDCANCEL);
        dialog.list->addTextElement("ImportExportTitle");
        dialog.list->addTextElement("ImportExportDescription");
        dialog.list->loadLayout(false);
        dialog.list->applyLayout();
        std::string prefix = page == 1 ? "Page1_" : "Page" + std::to_string(page) + "_Import_";
        dialog.setText("ImportExportTitle", getLayoutSectionValue(section, prefix + "Title"));
        dialog.setText("ImportExportDescription", getLayoutSectionValue(section, prefix + "Description"));
        EnableWindow(GetDlgItem(dialog.handle(), IDC_FRAME_BACK), page != 1);
        ShowWindow(GetDlgItem(dialog.handle(), IDC_FRAME_FINISH), page == 3 ? SW_SHOW : SW_HIDE);
        ShowWindow(GetDlgItem(dialog.handle(), IDC_FRAME_NEXT), page == 3 ? SW_HIDE : SW_SHOW);
        dialog.centerOver(nullptr);
    }
    void embed(SkinnedDialog& page) {
        RECT client{};
        GetClientRect(dialog.handle(), &client);
        page.list->placeInRect(client, true);
        ShowWindow(page.handle(), SW_SHOW);
    }
    void shoot(const std::string& name) {
        ShowWindow(dialog.handle(), SW_SHOW);
        pumpMessages(150);
        EXPECT_NE(saveScreenshot(dialog.handle(), name), "");
    }
};

void openPage(SkinnedDialog& page, HWND frame, const std::string& section) {
    ASSERT_TRUE(page.create(frame));
    page.startList(section);
}

void fillTree(HWND tree, HIMAGELIST images) {
    TreeView_SetImageList(tree, images, TVSIL_NORMAL);
    auto insert = [&](HTREEITEM parent, const char* text) {
        TVINSERTSTRUCTA item{};
        item.hParent = parent;
        item.hInsertAfter = TVI_LAST;
        item.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.item.pszText = const_cast<char*>(text);
        item.item.iImage = 1;
        item.item.iSelectedImage = 2;
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    };
    HTREEITEM root = insert(TVI_ROOT, "Favoriten");
    HTREEITEM news = insert(root, "Nachrichten");
    insert(root, "Reisen");
    insert(root, "Software");
    insert(news, "Regional");
    TreeView_Expand(tree, root, TVE_EXPAND);
    TreeView_SelectItem(tree, news);
}
} // namespace

TEST(WizardPreview, FavoritesDirectionAndSourcePages) {
    SkinInStore skin;
    skin.addDefaultSkin();
    Frame frame(IDD_FAV_ASSISTENT, "FavImportExportAssistent");
    frame.open(1);

    SkinnedDialog page1(IDD_FAV_PAGE1);
    openPage(page1, frame.dialog.handle(), "FavImportExportPage1");
    page1.list->addPictureElement("Background");
    CSkinCheckBox& import = page1.checkBox("CheckBoxImport", IDC_PAGE1_IMPORT);
    page1.checkBox("CheckBoxExport", IDC_PAGE1_EXPORT);
    page1.list->addTextElement("Title");
    page1.list->addTextElement("Description");
    page1.list->loadLayout(false);
    import.setCheck(1);
    frame.embed(page1);
    frame.shoot("FavWizardPage1");
    ShowWindow(page1.handle(), SW_HIDE);

    SkinnedDialog page2(IDD_FAV_PAGE2);
    openPage(page2, frame.dialog.handle(), "FavImportExportPage2");
    page2.list->addPictureElement("Background");
    CSkinCheckBox& ie = page2.checkBox("CheckBoxIE", IDC_FAV_IE);
    page2.checkBox("CheckBoxNC", IDC_FAV_NC);
    page2.checkBox("CheckBoxNCFile", IDC_FAV_NCFILE);
    for (const char* text : {"Title", "TextIE", "TextNC", "TextNCFile"})
        page2.list->addTextElement(text);
    page2.list->addWindowElement("BookmarkName", GetDlgItem(page2.handle(), IDC_FAV_FILENAME));
    page2.button("ButtonSearch", IDC_FAV_SEARCH);
    page2.list->addWindowElement("NCUsers", GetDlgItem(page2.handle(), IDC_FAV_USERS));
    page2.list->loadLayout(false);
    ie.setCheck(1);
    SendDlgItemMessageA(page2.handle(), IDC_FAV_USERS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("default"));
    SendDlgItemMessageA(page2.handle(), IDC_FAV_USERS, CB_SETCURSEL, 0, 0);
    EnableWindow(GetDlgItem(page2.handle(), IDC_FAV_NC), FALSE);
    EnableWindow(GetDlgItem(page2.handle(), IDC_FAV_USERS), FALSE);
    frame.embed(page2);
    frame.dialog.setText("ImportExportTitle",
                         getLayoutSectionValue("FavImportExportAssistent", "Page2_Import_Title"));
    frame.dialog.setText("ImportExportDescription",
                         getLayoutSectionValue("FavImportExportAssistent", "Page2_Import_Description"));
    EnableWindow(GetDlgItem(frame.dialog.handle(), IDC_FRAME_BACK), TRUE);
    frame.shoot("FavWizardPage2");
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(page2.handle(), IDC_FAV_SEARCH)));
}

TEST(WizardPreview, ArchiveFilePageAndTreePage) {
    SkinInStore skin;
    skin.addDefaultSkin();
    Frame frame(IDD_ARCHIV_ASSISTENT, "ArchivImportExportAssistent");
    frame.open(2);

    SkinnedDialog page2(IDD_ARCHIV_PAGE2);
    openPage(page2, frame.dialog.handle(), "ArchivImportExportPage2");
    page2.list->addButtonElement("Edit", GetDlgItem(page2.handle(), IDC_ARCHIV_FILENAME));
    page2.button("ButtonSearch", IDC_ARCHIV_SEARCH);
    page2.list->addPictureElement("Background");
    for (const char* text : {"Title", "DescriptionArchiv2", "AuswahlText"})
        page2.list->addTextElement(text);
    page2.list->loadLayout(false);
    SetDlgItemTextA(page2.handle(), IDC_ARCHIV_FILENAME,
                    "C:\\Eigene Dateien\\Quendal Browser\\Seitenarchiv_040307.sad");
    frame.embed(page2);
    frame.shoot("ArchivWizardPage2");
    ShowWindow(page2.handle(), SW_HIDE);

    SkinnedDialog tree(IDD_TREE_PAGE);
    openPage(tree, frame.dialog.handle(), "FavImportExportPage3");
    tree.list->addPictureElement("Background");
    HWND treeView = GetDlgItem(tree.handle(), IDC_TREE);
    tree.list->addWindowElement("TreeView", treeView);
    tree.list->loadLayout(false);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 6, 4);
    for (const char* key : {"File", "FolderClosed", "FolderClosed", "FolderOpened"}) {
        ScopedBitmap icon(
            loadBitmapFile(getProgramDirectory() + "Skin0000\\" + getLayoutSectionValue("TreeIcons", key)));
        ASSERT_TRUE(icon) << key;
        ImageList_AddMasked(images, icon.get(), RGB(255, 255, 255));
    }
    fillTree(treeView, images);
    frame.embed(tree);
    frame.dialog.setText("ImportExportTitle",
                         getLayoutSectionValue("ArchivImportExportAssistent", "Page3_Import_Title"));
    frame.dialog.setText("ImportExportDescription",
                         getLayoutSectionValue("ArchivImportExportAssistent", "Page3_Import_Description"));
    ShowWindow(GetDlgItem(frame.dialog.handle(), IDC_FRAME_FINISH), SW_SHOW);
    ShowWindow(GetDlgItem(frame.dialog.handle(), IDC_FRAME_NEXT), SW_HIDE);
    frame.shoot("WizardTreePage");
    EXPECT_EQ(ImageList_GetImageCount(images), 4);
    TreeView_SetImageList(treeView, nullptr, TVSIL_NORMAL);
    ImageList_Destroy(images);
}
