#include <gtest/gtest.h>

#include <string>

#include "TestHostDialog.h"
#include "platform/FileSystem.h"
#include "platform/ProgramPaths.h"
#include "skin/BmpFile.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"
#include "toolkit/Dialog.h"

namespace {
RECT clientOf(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

std::string windowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// Solid 24-bit bitmap files below the program directory, removed again afterwards.
class ProgramDirBitmaps {
  public:
    ProgramDirBitmaps() : folder_(getProgramDirectory() + "nvskintest") { createDirectory(folder_, false); }
    ~ProgramDirBitmaps() { deleteDirectory(folder_); }
    // Writes name (a path relative to the program directory is returned).
    std::string solid(const std::string& name, int width, int height, COLORREF color) const {
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
        for (size_t i = 0; i < pixels.size(); i += 4) {
            pixels[i] = GetBValue(color);
            pixels[i + 1] = GetGValue(color);
            pixels[i + 2] = GetRValue(color);
        }
        std::string file = encodeBmp24(width, height, pixels);
        writeWholeFile(folder_ + "\\" + name, file.data(), file.size(), false, false);
        return "nvskintest\\" + name;
    }

  private:
    std::string folder_;
};
} // namespace

TEST(ManagedElementList, PositionCodesPlaceTheControlsInTheSizedWindow) {
    SkinInStore skin("[Layout]\r\nTestList=\"0;0;600;400;1;Testfenster\"\r\n"
                     "[Layout_TestList]\r\n"
                     "Ok=\"1;10;20;100;30;OK;;\"\r\n"
                     "Cancel=\"1;-1;-1;-1;-1;Abbrechen;;\"\r\n"
                     "Yes=\"1;-1;5;200;20;Ja;;\"\r\n"
                     "No=\"1;-120;-40;100;30;Nein;;\"\r\n");
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    CManagedElementList& list = host.newList("TestList");
    host.addTemplateControls();
    list.loadLayout(false);
    list.applyLayout();
    EXPECT_TRUE(sameRect(clientOf(host.handle()), RECT{0, 0, 600, 400}));
    EXPECT_EQ(windowText(host.handle()), "Testfenster");
    EXPECT_TRUE(IsWindowVisible(host.handle()));
    EXPECT_TRUE(sameRect(host.controlRect(IDOK), RECT{10, 20, 110, 50}));
    EXPECT_TRUE(sameRect(host.controlRect(IDCANCEL), RECT{0, 0, 600, 400}));
    EXPECT_TRUE(sameRect(host.controlRect(IDYES), RECT{200, 5, 400, 25}));
    EXPECT_TRUE(sameRect(host.controlRect(IDNO), RECT{480, 360, 580, 390}));
    EXPECT_EQ(windowText(host.ok.handle()), "OK");
    EXPECT_EQ(windowText(host.no.handle()), "Nein");
    // No entry for the check box: hidden, without a message.
    EXPECT_FALSE(IsWindowVisible(host.check.handle()));

    // Placing for another size moves every element along.
    list.placeElements(300, 200);
    EXPECT_TRUE(sameRect(host.controlRect(IDNO), RECT{180, 160, 280, 190}));
    EXPECT_TRUE(sameRect(host.controlRect(IDYES), RECT{50, 5, 250, 25}));
}

TEST(ManagedElementList, BadWindowEntriesReportAndFallBack) {
    SkinInStore skin("[Layout]\r\nTestBad=\"10;20;30\"\r\nTestFour=\"0;0;300;200\"\r\n"
                     "TestFive=\"0;0;320;220;1\"\r\n"
                     "[Layout_TestBad]\r\nOk=\"1;0;0;50;20;Nie;;\"\r\n"
                     "[Layout_TestFive]\r\nOk=\"1;0;0;50;20;F\xFC"
                     "nf;;\"\r\n");
    {
        MessageCapture messages;
        TestHostDialog host;
        ASSERT_TRUE(host.open());
        CManagedElementList& list = host.newList("TestBad");
        host.addTemplateControls();
        list.loadLayout(false);
        list.applyLayout();
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_EQ(messages.texts()[0], "Error: invalid position for window 'TestBad'");
        EXPECT_EQ(list.rectangle(), (LayoutRect{0, 0, 600, 400}));
        EXPECT_TRUE(sameRect(clientOf(host.handle()), RECT{0, 0, 600, 400}));
        EXPECT_NE(windowText(host.ok.handle()), "Nie"); // elements were not loaded
    }
    {
        MessageCapture messages;
        TestHostDialog host;
        ASSERT_TRUE(host.open());
        host.newList("TestFour").loadLayout(false);
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_EQ(messages.texts()[0],
                  "Error: no 'visible' state or no 'caption' defined for window 'TestFour'");
    }
    {
        MessageCapture messages;
        TestHostDialog host;
        ASSERT_TRUE(host.open());
        SetWindowTextA(host.handle(), "vorher");
        CManagedElementList& list = host.newList("TestFive");
        host.addTemplateControls();
        list.loadLayout(false);
        EXPECT_TRUE(messages.texts().empty());
        EXPECT_EQ(windowText(host.handle()), "");
        EXPECT_EQ(windowText(host.ok.handle()), "F\xFCnf");
    }
}

TEST(ManagedElementList, BadElementEntriesReportOrHideAndTheDialogGoesOn) {
    SkinInStore skin("[Layout]\r\nTestElements=\"0;0;400;300;1;Elemente\"\r\n"
                     "[Layout_TestElements]\r\n"
                     "Picture=\"1;0;0;10;10\"\r\n"
                     "Ok=\"1;10;10;80;24;OK;bitmap.bmp\"\r\n"
                     "Cancel=\"1;10;10\"\r\n"
                     "Yes=\"1;10;40;80;24;Ja;fehlt\\nicht.bmp;Tipp\"\r\n"
                     "CheckBox=\"1;10;70;100;20\"\r\n"
                     "Text=\"1;10;100;200;40\"\r\n");
    MessageCapture messages;
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    CManagedElementList& list = host.newList("TestElements");
    list.addPictureElement("Picture");
    host.addTemplateControls();
    list.addTextElement("Text");
    list.loadLayout(false);
    list.applyLayout();
    ASSERT_EQ(messages.texts().size(), 3u);
    EXPECT_EQ(messages.texts()[0], "Error: no bitmap file name specified for picture element 'Picture'");
    EXPECT_EQ(messages.texts()[1], "Error: no bitmap file name specified for button element 'Ok'");
    EXPECT_EQ(messages.texts()[2], "Error: invalid position for element 'Cancel'");
    // A button whose bitmap does not load keeps its style and shows its caption.
    EXPECT_EQ(windowText(host.yes.handle()), "Ja");
    EXPECT_EQ(host.yes.bitmap(), nullptr);
    EXPECT_NE(host.yes.toolTipText(), "");
    EXPECT_FALSE(IsWindowVisible(host.check.handle()));
    EXPECT_FALSE(IsWindowVisible(host.no.handle()));
}

TEST(ManagedElementList, TextsUnescapeLineBreaksAndStyleGuidesNeedAllTwentyThreeFields) {
    SkinInStore skin("[Layout]\r\nTestTexts=\"0;0;400;300;1;Texte\"\r\n"
                     "[Layout_TestTexts]\r\n"
                     "Complete=\"1;10;10;200;40;Zeile 1\\nZeile 2\"\r\n"
                     "Short=\"1;10;60;200;40;Kurz\"\r\n"
                     "[StyleGuide]\r\n"
                     "Complete=\"1;2;3;200;10;20;7;8;9;-14;0;0;0;700;0;0;0;0;0;0;3;0;Tahoma\"\r\n"
                     "Short=\"1;2;3;200;10;20;7;8;9;-14;0;0;0;700;0;0;0;0;0;0;3;0\"\r\n");
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    CManagedElementList& list = host.newList("TestTexts");
    CSkinStatic* complete = list.addTextElement("Complete");
    CSkinStatic* incomplete = list.addTextElement("Short");
    list.loadLayout(false);
    list.applyLayout();
    EXPECT_EQ(list.findText("Complete")->storedText(), "Zeile 1\nZeile 2");
    EXPECT_EQ(windowText(complete->handle()), "Zeile 1\nZeile 2");
    EXPECT_EQ(complete->textColor(), RGB(200, 10, 20));
    ASSERT_NE(complete->font(), nullptr);
    LOGFONTA font{};
    GetObjectA(complete->font(), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -14);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
    EXPECT_EQ(incomplete->textColor(), RGB(0, 0, 0));
    EXPECT_EQ(incomplete->font(), nullptr);
    // The created controls are never shown.
    EXPECT_FALSE(IsWindowVisible(complete->handle()));
}

TEST(ManagedElementList, PaintElementsDrawsPicturesAndTextsInOrderInOneCopy) {
    ProgramDirBitmaps files;
    std::string background = files.solid("bg.bmp", 16, 16, RGB(10, 120, 200));
    std::string patch = files.solid("patch.bmp", 30, 30, RGB(250, 200, 0));
    SkinInStore skin("[Layout]\r\nTestPaint=\"0;0;300;200;1;Malen\"\r\n"
                     "[Layout_TestPaint]\r\n"
                     "Background=\"1;0;0;-1;-1;" +
                     background +
                     "\"\r\n"
                     "Patch=\"1;-40;-40;30;30;" +
                     patch +
                     "\"\r\n"
                     "Label=\"1;20;20;200;40;Hallo Welt\"\r\n"
                     "[StyleGuide]\r\n"
                     "Label=\"0;0;0;255;0;0;0;0;0;-16;0;0;0;700;0;0;0;0;0;0;3;0;Tahoma\"\r\n");
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    CManagedElementList& list = host.newList("TestPaint");
    list.addPictureElement("Background");
    list.addPictureElement("Patch");
    list.addTextElement("Label");
    list.loadLayout(false);
    list.applyLayout();

    PixelCanvas canvas(300, 200);
    EXPECT_TRUE(list.paintElements(canvas.dc()));
    EXPECT_EQ(canvas.pixel(150, 150), RGB(10, 120, 200));
    EXPECT_EQ(canvas.pixel(299, 199), RGB(10, 120, 200));
    EXPECT_EQ(canvas.pixel(275, 175), RGB(250, 200, 0));
    EXPECT_EQ(canvas.countColor(RECT{260, 160, 290, 190}, RGB(250, 200, 0)), 900);
    EXPECT_GT(canvas.countColor(RECT{20, 20, 220, 60}, RGB(255, 0, 0)), 20);
    EXPECT_EQ(canvas.countColor(RECT{0, 60, 300, 200}, RGB(255, 0, 0)), 0);
    EXPECT_EQ(canvas.countColor(RECT{0, 0, 300, 200}, RGB(255, 0, 255)), 0);

    // The same picture on the screen: the window paints its background through the list.
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO, IDC_MESSAGE_CHECKBOX})
        ShowWindow(GetDlgItem(host.handle(), id), SW_HIDE);
    host.centerOver(nullptr);
    ShowWindow(host.handle(), SW_SHOW);
    RedrawWindow(host.handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages(100);
    PixelCanvas screen(300, 200);
    {
        WindowDc window(host.handle());
        BitBlt(screen.dc(), 0, 0, 300, 200, window.get(), 0, 0, SRCCOPY);
    }
    EXPECT_EQ(screen.pixel(150, 150), RGB(10, 120, 200));
    EXPECT_EQ(screen.countColor(RECT{260, 160, 290, 190}, RGB(250, 200, 0)), 900);
    EXPECT_GT(screen.countColor(RECT{20, 20, 220, 60}, RGB(255, 0, 0)), 20);
    EXPECT_EQ(screen.countColor(RECT{0, 60, 300, 200}, RGB(255, 0, 0)), 0);

    // Without pictures or texts there is nothing to paint.
    CManagedElementList buttonsOnly("TestPaint", host.handle());
    PixelCanvas untouched(10, 10);
    EXPECT_FALSE(buttonsOnly.paintElements(untouched.dc()));
    EXPECT_EQ(untouched.pixel(5, 5), RGB(255, 0, 255));
}

TEST(ManagedElementList, PlaceInRectPutsAChildPageIntoTheContainer) {
    SkinInStore skin("[Layout]\r\nTestPage=\"0;73;-1;-57;0;\"\r\n"
                     "[Layout_TestPage]\r\nTreeView=\"1;40;20;-40;-20;\"\r\n");
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    CDialog page(IDD_TREE_PAGE);
    ASSERT_TRUE(page.create(host.handle()));
    CManagedElementList list("TestPage", page.handle());
    HWND tree = GetDlgItem(page.handle(), IDC_TREE);
    list.addWindowElement("TreeView", tree);
    list.loadLayout(false);
    EXPECT_FALSE(IsWindowVisible(page.handle()));
    list.placeInRect(RECT{0, 0, 600, 420}, true);
    RECT placed{};
    GetWindowRect(page.handle(), &placed);
    MapWindowPoints(HWND_DESKTOP, host.handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(sameRect(placed, RECT{0, 73, 600, 363}));
    RECT treeRect{};
    GetWindowRect(tree, &treeRect);
    MapWindowPoints(HWND_DESKTOP, page.handle(), reinterpret_cast<POINT*>(&treeRect), 2);
    EXPECT_TRUE(sameRect(treeRect, RECT{40, 20, 560, 270}));
}

TEST(ManagedElementList, SkinnedTestDialogWithTheDefaultSkin) {
    SkinInStore skin;
    skin.addDefaultSkin();
    skin.add("[Layout]\r\nSkinnedTestDialog=\"0;0;440;184;1;Skin-Beispiel\"\r\n"
             "[Layout_SkinnedTestDialog]\r\n"
             "BackgroundBitmap=\"1;0;0;-1;-1;Skin0000\\msgbox_success.bmp\"\r\n"
             "Message=\"1;84;26;-28;60;Alle Elemente dieses Dialogs kommen aus dem Skin:\\n"
             "Hintergrund, Text, Kn\xF6pfe und Kontrollk\xE4stchen.\"\r\n"
             "CheckBox=\"1;84;-80;300;20;Kontrollk\xE4stchen\"\r\n"
             "Yes=\"1;-224;-43;96;30;Weiter;Skin0000\\button_primary.bmp;Weiter\"\r\n"
             "No=\"1;-120;-43;96;30;Abbrechen;Skin0000\\button.bmp;\"\r\n");
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    CManagedElementList& list = host.newList("SkinnedTestDialog");
    list.addPictureElement("BackgroundBitmap");
    list.addTextElement("Message");
    host.addTemplateControls();
    list.loadLayout(false);
    list.applyLayout();
    host.check.setCheck(1);
    host.centerOver(nullptr);
    ShowWindow(host.handle(), SW_SHOW);
    EXPECT_NE(host.yes.bitmap(), nullptr);
    EXPECT_EQ(host.yes.frameWidth(), 96);
    pumpMessages(100);
    EXPECT_NE(saveScreenshot(host.handle(), "SkinnedTestDialog"), "");
    // The outline region of the buttons comes from the mask frame of their strip.
    ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(host.yes.handle(), region.get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 48, 15));
}
