#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "skin/ManagedElementList.h"
#include "skin/SkinBitmap.h"
#include "support/GuiTestSupport.h"
#include "TestHostDialog.h"

namespace {
constexpr COLORREF kBack = RGB(255, 0, 255);

// A strip of five 50 x 20 frames: red, green, blue, grey and the mask, whose dark part is the
// rectangle (10, 5)-(40, 15) of the frame.
ScopedBitmap makeStrip() {
    PixelCanvas canvas(250, 20, RGB(255, 255, 255));
    const COLORREF frames[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(90, 90, 90)};
    for (int i = 0; i < 4; ++i) {
        ScopedBrush brush(CreateSolidBrush(frames[i]));
        RECT rect{i * 50, 0, i * 50 + 50, 20};
        FillRect(canvas.dc(), &rect, brush.get());
    }
    ScopedBrush black(CreateSolidBrush(RGB(0, 0, 0)));
    RECT mask{210, 5, 240, 15};
    FillRect(canvas.dc(), &mask, black.get());
    WindowDc screen(nullptr);
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), 250, 20));
    ScopedMemoryDc dc(CreateCompatibleDC(screen.get()));
    SelectGuard select(dc.get(), bitmap.get());
    BitBlt(dc.get(), 0, 0, 250, 20, canvas.dc(), 0, 0, SRCCOPY);
    return bitmap;
}

DRAWITEMSTRUCT drawRequest(HWND control, HDC dc, UINT state, UINT action = ODA_DRAWENTIRE) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = control;
    item.hDC = dc;
    item.itemState = state;
    item.itemAction = action;
    GetClientRect(control, &item.rcItem);
    return item;
}

void placeButton(HWND button) {
    SetWindowLongPtrA(button, GWL_STYLE, 0x5000000B);
    MoveWindow(button, 300, 100, 50, 20, FALSE);
}
} // namespace

TEST(SkinButton, StripOfTwoHundredFiftyPixelsHasFiftyPixelFramesAndAnOutlineFromTheLast) {
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    placeButton(host.ok.handle());
    ScopedBitmap strip = makeStrip();
    host.ok.setBitmap(strip.get());
    EXPECT_EQ(host.ok.frameWidth(), 50);
    ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(host.ok.handle(), region.get()), ERROR);
    RECT box{};
    GetRgnBox(region.get(), &box);
    EXPECT_TRUE(sameRect(box, RECT{10, 5, 40, 15}));
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(host.ok.handle(), BM_GETIMAGE, IMAGE_BITMAP, 0)),
              strip.get());

    // Painting shows the normal frame (cursor elsewhere) inside the outline only.
    SetCursorPos(0, 0);
    PixelCanvas canvas(50, 20, kBack);
    DRAWITEMSTRUCT item = drawRequest(host.ok.handle(), canvas.dc(), 0);
    SetWindowTextA(host.ok.handle(), "");
    EXPECT_TRUE(host.ok.drawItem(item));
    EXPECT_EQ(canvas.pixel(25, 10), RGB(200, 0, 0));
    EXPECT_EQ(canvas.pixel(5, 2), kBack);
    EXPECT_EQ(canvas.countOther(RECT{0, 0, 50, 20}, kBack), 30 * 10);

    PixelCanvas disabled(50, 20, kBack);
    item = drawRequest(host.ok.handle(), disabled.dc(), ODS_DISABLED);
    host.ok.drawItem(item);
    EXPECT_EQ(disabled.pixel(25, 10), RGB(90, 90, 90));
    EXPECT_EQ(host.ok.frameForState(0), 0);
    host.ok.setBitmap(nullptr);
}

TEST(SkinButton, WithoutBitmapPaintsOnlyItsCaptionAndStaysRectangular) {
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    placeButton(host.ok.handle());
    SetWindowTextA(host.ok.handle(), "OK");
    ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(host.ok.handle(), region.get()), ERROR);
    PixelCanvas canvas(50, 20, kBack);
    DRAWITEMSTRUCT item = drawRequest(host.ok.handle(), canvas.dc(), 0);
    host.ok.drawItem(item);
    int changed = canvas.countOther(RECT{0, 0, 50, 20}, kBack);
    EXPECT_GT(changed, 10);
    EXPECT_LT(changed, 300);
    EXPECT_EQ(canvas.pixel(0, 0), kBack);
    EXPECT_EQ(canvas.pixel(49, 19), kBack);
}

TEST(SkinButton, TooltipComesWithTheFirstMouseMoveOnceWithTheButtonAsTool) {
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    host.ok.setToolTipText("Erster Text");
    EXPECT_EQ(host.ok.toolTip(), nullptr); // no window before the mouse comes
    gui::moveMouse(gui::centreOf(host.ok.handle()));
    gui::waitForIdle();
    HWND tip = host.ok.toolTip();
    ASSERT_NE(tip, nullptr);
    host.ok.setToolTipText("Zweiter Text");
    EXPECT_EQ(host.ok.toolTip(), tip);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[80] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = host.ok.handle();
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Zweiter Text");
}

TEST(SkinCheckBox, EachClickTogglesAndTheClickDoesNotReachTheOwner) {
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    SetWindowLongPtrA(host.check.handle(), GWL_STYLE, 0x5001000B);
    HWND box = host.check.handle();
    EXPECT_FALSE(host.check.getCheck());
    clickButton(host.handle(), IDC_MESSAGE_CHECKBOX);
    EXPECT_TRUE(host.check.getCheck());
    // Asked as a standard check box, it answers what it shows.
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(box, BM_GETSTATE, 0, 0) & BST_CHECKED, BST_CHECKED);
    clickButton(host.handle(), IDC_MESSAGE_CHECKBOX);
    EXPECT_FALSE(host.check.getCheck());
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0); // from outside: no click
    EXPECT_TRUE(host.check.getCheck());
    SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_TRUE(host.commands.empty());
    // A plain button's click does reach the owner.
    clickButton(host.handle(), IDYES);
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0], IDYES);
    host.check.setCheck(1);
    EXPECT_TRUE(host.check.getCheck());
}

TEST(SkinCheckBox, DrawsWhiteBoxWithCrossWhenTickedAndTheSystemBoxWhenDisabled) {
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    HWND box = host.check.handle();
    SetWindowLongPtrA(box, GWL_STYLE, 0x5001000B);
    MoveWindow(box, 10, 10, 120, 20, FALSE);
    SetWindowTextA(box, "");
    PixelCanvas unticked(120, 20, kBack), ticked(120, 20, kBack), disabled(120, 20, kBack);
    DRAWITEMSTRUCT item = drawRequest(box, unticked.dc(), 0);
    host.check.drawItem(item);
    EXPECT_EQ(unticked.pixel(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(unticked.pixel(0, 5), RGB(0, 0, 0));
    EXPECT_EQ(unticked.pixel(30, 10), kBack);
    host.check.setCheck(1);
    item = drawRequest(box, ticked.dc(), 0);
    host.check.drawItem(item);
    EXPECT_EQ(ticked.pixel(10, 10), RGB(0, 0, 0));
    EnableWindow(box, FALSE);
    item = drawRequest(box, disabled.dc(), ODS_DISABLED);
    host.check.drawItem(item);
    EXPECT_GT(disabled.countOther(RECT{0, 0, 20, 20}, kBack), 0);
    EXPECT_NE(disabled.pixel(10, 10), ticked.pixel(10, 10));
}

TEST(SkinStatic, CentredTextInTheSecondColourAndSetTextRepaintsTheParent) {
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    CSkinStatic text(false);
    ASSERT_TRUE(text.create("STATIC", WS_CHILD | SS_CENTER, host.handle(), -1, "Mitte"));
    MoveWindow(text.handle(), 20, 10, 200, 40, FALSE);
    text.setColors(RGB(1, 1, 1), RGB(0, 0, 255), RGB(2, 2, 2));
    PixelCanvas canvas(240, 60, RGB(255, 255, 255));
    EXPECT_TRUE(text.paintOn(canvas.dc(), host.handle()));
    int first = 240, last = 0;
    for (int x = 0; x < 240; ++x)
        for (int y = 0; y < 60; ++y)
            if (canvas.pixel(x, y) == RGB(0, 0, 255)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    ASSERT_LT(first, last);
    EXPECT_NEAR((first - 20) - (220 - 1 - last), 0, 3) << first << " " << last;
    EXPECT_EQ(canvas.countColor(RECT{0, 0, 240, 10}, RGB(0, 0, 255)), 0);

    ShowWindow(host.handle(), SW_SHOWNA);
    pumpMessages(50);
    ValidateRect(host.handle(), nullptr);
    text.setText("Neu");
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(host.handle(), &update, FALSE));
    EXPECT_TRUE(sameRect(update, RECT{20, 10, 220, 50}));
}

TEST(SkinStatic, PictureDrawsTheWholeBitmapFromItsCornerOrTilesIt) {
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    PixelCanvas source(20, 20, RGB(0, 100, 0));
    WindowDc screen(nullptr);
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), 20, 20));
    {
        ScopedMemoryDc dc(CreateCompatibleDC(screen.get()));
        SelectGuard select(dc.get(), bitmap.get());
        BitBlt(dc.get(), 0, 0, 20, 20, source.dc(), 0, 0, SRCCOPY);
    }
    CSkinStatic picture(true);
    ASSERT_TRUE(picture.create("STATIC", WS_CHILD | SS_BITMAP, host.handle(), -1, ""));
    picture.send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
    MoveWindow(picture.handle(), 5, 5, 10, 10, FALSE);
    PixelCanvas small(60, 60, kBack);
    EXPECT_TRUE(picture.paintOn(small.dc(), host.handle()));
    EXPECT_EQ(small.countColor(RECT{0, 0, 60, 60}, RGB(0, 100, 0)), 400);
    EXPECT_EQ(small.pixel(24, 24), RGB(0, 100, 0));

    MoveWindow(picture.handle(), 0, 0, 45, 30, FALSE);
    PixelCanvas large(60, 60, kBack);
    picture.paintOn(large.dc(), host.handle());
    EXPECT_EQ(large.countColor(RECT{0, 0, 60, 60}, RGB(0, 100, 0)), 60 * 40);
    picture.send(STM_SETIMAGE, IMAGE_BITMAP, 0);
    EXPECT_FALSE(picture.paintOn(large.dc(), host.handle()));
}

TEST(SkinStatic, AnAmpersandIsDrawnAsItselfNotAsAMnemonic) {
    SkinInStore skin;
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    // Text elements come from the element list; "&&" would collapse to one "&" as a mnemonic.
    CManagedElementList list("NoSection", host.handle());
    CSkinStatic* text = list.addTextElement("Message");
    ASSERT_NE(text, nullptr);
    MoveWindow(text->handle(), 0, 0, 400, 40, FALSE);
    text->setColors(0, RGB(0, 0, 255), 0);
    auto inkOf = [&](const char* shown) {
        SetWindowTextA(text->handle(), shown);
        PixelCanvas canvas(400, 40, RGB(255, 255, 255));
        text->paintOn(canvas.dc(), host.handle());
        return canvas.countColor(RECT{0, 0, 400, 40}, RGB(0, 0, 255));
    };
    const int one = inkOf("Tom & Jerry");
    EXPECT_GT(inkOf("Tom && Jerry"), one);
    EXPECT_LT(inkOf("Tom Jerry"), one);
}
