#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "archive/FileChecks.h"
#include "platform/Handles.h"
#include "support/GuiInput.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"
#include "toolkit/Dialog.h"
#include "toolkit/TreeView.h"
#include "ui/MultiTree.h"
#include "ui/ResourceIds.h"

namespace {
int liveBlocks = 0;
int freedBlocks = 0;

class CountedData : public CTreeItemData {
  public:
    CountedData() { ++liveBlocks; }
    ~CountedData() override {
        --liveBlocks;
        ++freedBlocks;
    }
};

// The characters that CMultiTree passes on to the tree control it wraps.
std::vector<WPARAM> charsReachingControl;
WNDPROC controlProc = nullptr;

LRESULT CALLBACK recordChars(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) charsReachingControl.push_back(wParam);
    return CallWindowProcA(controlProc, window, message, wParam, lParam);
}

// The tree page's template hosting a CMultiTree: Root with the folders A (children a1, a2 and
// the page p) and B.
class TreeHost : public CDialog {
  public:
    TreeHost() : CDialog(IDD_TREE_PAGE) {}
    // The window goes first: while it lives, the tree's last notifications reach onNotify.
    ~TreeHost() override {
        if (exists()) DestroyWindow(handle());
    }
    bool open() {
        parent_.reset(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 900, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr));
        if (!create(parent_.get())) return false;
        ShowWindow(handle(), SW_SHOW);
        SetForegroundWindow(parent_.get());
        controlProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            GetDlgItem(handle(), IDC_TREE), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&recordChars)));
        tree.subclassItem(handle(), IDC_TREE);
        tree.setLabelCheck(isValidFileName);
        HWND window = tree.handle();
        CTreeView view(window);
        root = view.insert(nullptr, "Root", true);
        a = view.insert(root, "A", true);
        a1 = view.insert(a, "a1", true);
        a2 = view.insert(a, "a2", true);
        page = view.insert(a, "p", false);
        b = view.insert(root, "B", true);
        TreeView_Expand(window, root, TVE_EXPAND);
        TreeView_Expand(window, a, TVE_EXPAND);
        gui::waitForIdle();
        return true;
    }
    std::vector<HTREEITEM> selected() {
        std::vector<HTREEITEM> items;
        tree.getSelectedItems(items);
        return items;
    }
    CMultiTree tree;
    HTREEITEM root{}, a{}, a1{}, a2{}, page{}, b{};
    HTREEITEM veto = nullptr;
    ScopedWindow parent_;
    std::vector<UINT> notifications;

  protected:
    bool onNotify(NMHDR& header, LRESULT& result) override {
        notifications.push_back(header.code);
        if (header.code == TVN_SELCHANGINGA && veto) {
            auto& change = reinterpret_cast<NMTREEVIEWA&>(header);
            result = change.itemNew.hItem == veto ? 1 : 0;
            return true;
        }
        return false;
    }
};

// Clicks the expand button of item as the user would (TVM_EXPAND sends no notifications).
void clickExpandButton(HWND tree, HTREEITEM item) {
    RECT text{};
    ASSERT_TRUE(TreeView_GetItemRect(tree, item, &text, TRUE));
    TVHITTESTINFO hit{};
    hit.pt.y = (text.top + text.bottom) / 2;
    for (hit.pt.x = 0; hit.pt.x < text.left; ++hit.pt.x) {
        TreeView_HitTest(tree, &hit);
        if (hit.flags & TVHT_ONITEMBUTTON) break;
    }
    ASSERT_TRUE(hit.flags & TVHT_ONITEMBUTTON);
    gui::clickClient(tree, hit.pt);
    gui::waitForIdle();
}

constexpr UINT kSelect = CMultiTree::kSelectedBit;
constexpr UINT kCaret = CMultiTree::kCaretBit;
} // namespace

TEST(MultiTree, SelectionModelWithMultiSelection) {
    TreeHost host;
    ASSERT_TRUE(host.open());
    CMultiTree& tree = host.tree;
    EXPECT_TRUE(tree.multiSelect());
    ASSERT_TRUE(tree.setItemSelection(host.a1, kSelect | kCaret, kSelect | kCaret));
    ASSERT_TRUE(tree.setItemSelection(host.b, kSelect, kSelect));
    ASSERT_TRUE(tree.setItemSelection(host.root, kSelect, kSelect));
    // Visible order, the caret item keeps its selection.
    EXPECT_EQ(host.selected(), (std::vector<HTREEITEM>{host.root, host.a1, host.b}));
    EXPECT_EQ(tree.caretItem(), host.a1);

    // Moving the caret keeps the old caret item selected and does not select the new one.
    ASSERT_TRUE(tree.setItemSelection(host.a2, kCaret, kCaret));
    EXPECT_EQ(tree.caretItem(), host.a2);
    EXPECT_TRUE(tree.isSelected(host.a1));
    EXPECT_FALSE(tree.isSelected(host.a2));

    host.veto = host.page;
    EXPECT_FALSE(tree.setItemSelection(host.page, kSelect, kSelect));
    EXPECT_FALSE(tree.isSelected(host.page));
    host.veto = nullptr;

    tree.selectRange(host.a, host.page, true);
    EXPECT_EQ(host.selected(), (std::vector<HTREEITEM>{host.a, host.a1, host.a2, host.page}));
    tree.selectAll(false);
    EXPECT_TRUE(host.selected().empty());
    EXPECT_NE(std::count(host.notifications.begin(), host.notifications.end(), TVN_SELCHANGEDA), 0);
}

TEST(MultiTree, SwitchingMultiSelectionOffKeepsOnlyASelectedCaret) {
    TreeHost host;
    ASSERT_TRUE(host.open());
    CMultiTree& tree = host.tree;
    tree.setItemSelection(host.a1, kSelect | kCaret, kSelect | kCaret);
    tree.setItemSelection(host.b, kSelect, kSelect);
    EXPECT_TRUE(tree.setMultiSelect(false));
    EXPECT_EQ(host.selected(), std::vector<HTREEITEM>{host.a1});
    EXPECT_EQ(tree.caretItem(), host.a1);

    tree.setMultiSelect(true);
    tree.setItemSelection(host.b, kSelect, kSelect);
    tree.setItemSelection(host.a1, 0, kSelect); // the caret item itself deselected
    EXPECT_TRUE(tree.setMultiSelect(false));
    EXPECT_TRUE(host.selected().empty());
}

TEST(MultiTree, CollapsingAFolderWithTheCaretLeavesNoCaret) {
    TreeHost host;
    ASSERT_TRUE(host.open());
    CMultiTree& tree = host.tree;
    // Focus first: a control that gains the focus without a caret item takes the first one.
    SetFocus(tree.handle());
    tree.setItemSelection(host.a2, kSelect | kCaret, kSelect | kCaret);
    tree.setItemSelection(host.a1, kSelect, kSelect);
    clickExpandButton(tree.handle(), host.a);
    EXPECT_EQ(tree.caretItem(), nullptr);
    clickExpandButton(tree.handle(), host.a);
    EXPECT_FALSE(tree.isSelected(host.a1));
    EXPECT_FALSE(tree.isSelected(host.a2));
    TVITEMA info{};
    info.mask = TVIF_IMAGE;
    info.hItem = host.a;
    TreeView_GetItem(tree.handle(), &info);
    EXPECT_EQ(info.iImage, 3);
}

TEST(MultiTree, TreePageConfigurationBehavesLikeAPlainTree) {
    TreeHost host;
    ASSERT_TRUE(host.open());
    CMultiTree& tree = host.tree;
    tree.configure(false, false, false, false);
    tree.setStyle(tree.style() | TVS_EDITLABELS);
    TreeView_SelectItem(tree.handle(), host.b);
    SetFocus(tree.handle());
    // The space changes nothing (the control never sees it: it would search for an item starting
    // with it); Ctrl and Shift clicks select as in a plain tree.
    charsReachingControl.clear();
    gui::pressKey(VK_SPACE);
    gui::pressKey('X');
    gui::waitForIdle();
    EXPECT_EQ(charsReachingControl, std::vector<WPARAM>{'x'});
    EXPECT_EQ(tree.caretItem(), host.b);
    EXPECT_EQ(host.selected(), std::vector<HTREEITEM>{host.b});
    RECT label{};
    TreeView_GetItemRect(tree.handle(), host.a1, &label, TRUE);
    const POINT onLabel{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    gui::moveMouse(gui::clientToScreen(tree.handle(), onLabel));
    gui::keyDown(VK_CONTROL);
    gui::buttonDown();
    gui::buttonUp();
    gui::keyUp(VK_CONTROL);
    gui::waitForIdle();
    EXPECT_EQ(tree.caretItem(), host.a1);
    EXPECT_EQ(host.selected(), std::vector<HTREEITEM>{host.a1});
    // Labels cannot be edited; with label editing on they can, except the root's.
    EXPECT_EQ(TreeView_EditLabel(tree.handle(), host.b), nullptr);
    tree.configure(false, false, true, false);
    EXPECT_EQ(TreeView_EditLabel(tree.handle(), host.root), nullptr);
    HWND editor = TreeView_EditLabel(tree.handle(), host.b);
    EXPECT_NE(editor, nullptr);
    TreeView_EndEditLabelNow(tree.handle(), TRUE);
}

TEST(MultiTree, EditedLabelThatClashesWithASiblingIsRefused) {
    QuestionScript questions;
    TreeHost host;
    ASSERT_TRUE(host.open());
    CMultiTree& tree = host.tree;
    tree.configure(false, false, true, true);
    tree.setStyle(tree.style() | TVS_EDITLABELS);
    HWND editor = TreeView_EditLabel(tree.handle(), host.a2);
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "a1");
    TreeView_EndEditLabelNow(tree.handle(), FALSE);
    ASSERT_EQ(questions.asked().size(), 1u);
    EXPECT_EQ(questions.asked()[0].key, "MessageBoxFolderExists");
    char text[64] = {};
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = host.a2;
    info.pszText = text;
    info.cchTextMax = sizeof(text);
    TreeView_GetItem(tree.handle(), &info);
    EXPECT_STREQ(text, "a2");
    pumpMessages(50);
    TreeView_EndEditLabelNow(tree.handle(), TRUE);

    editor = TreeView_EditLabel(tree.handle(), host.a2);
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "a:3"); // not a file name
    TreeView_EndEditLabelNow(tree.handle(), FALSE);
    ASSERT_EQ(questions.asked().size(), 2u);
    EXPECT_EQ(questions.asked()[1].key, "MessageBoxInvalidFileName");
    TreeView_GetItem(tree.handle(), &info);
    EXPECT_STREQ(text, "a2");
    pumpMessages(50);
    TreeView_EndEditLabelNow(tree.handle(), TRUE);

    editor = TreeView_EditLabel(tree.handle(), host.a2);
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "a3");
    TreeView_EndEditLabelNow(tree.handle(), FALSE);
    TreeView_GetItem(tree.handle(), &info);
    EXPECT_STREQ(text, "a3");
    EXPECT_EQ(CMultiTree::lastEditedLabel(), "a3");
}

TEST(MultiTree, DestroyingTheTreeFreesEachDataBlockOnce) {
    liveBlocks = freedBlocks = 0;
    {
        TreeHost host;
        ASSERT_TRUE(host.open());
        host.tree.attachItemData(host.page, std::make_unique<CountedData>());
        HTREEITEM deep = CTreeView(host.tree.handle()).insert(host.a1, "deep page", false);
        host.tree.attachItemData(deep, std::make_unique<CountedData>());
        EXPECT_EQ(liveBlocks, 2);
        DestroyWindow(host.handle());
        EXPECT_EQ(liveBlocks, 0);
        EXPECT_EQ(freedBlocks, 2);
    }
    EXPECT_EQ(freedBlocks, 2);
}

TEST(MultiTree, KeyboardSelectsRangesWithShiftAndMovesTheCaretWithCtrl) {
    TreeHost host;
    ASSERT_TRUE(host.open());
    CMultiTree& tree = host.tree;
    SetFocus(tree.handle());
    tree.setItemSelection(host.a, kSelect | kCaret, kSelect | kCaret);
    gui::pressKey(VK_DOWN, {VK_SHIFT});
    gui::pressKey(VK_DOWN, {VK_SHIFT});
    gui::waitForIdle();
    EXPECT_EQ(tree.caretItem(), host.a2);
    EXPECT_EQ(host.selected(), (std::vector<HTREEITEM>{host.a, host.a1, host.a2}));
    gui::pressKey(VK_DOWN, {VK_CONTROL});
    gui::pressKey(VK_SPACE, {VK_CONTROL}); // Ctrl+Space toggles the caret item
    gui::waitForIdle();
    EXPECT_EQ(tree.caretItem(), host.page);
    EXPECT_EQ(host.selected(), (std::vector<HTREEITEM>{host.a, host.a1, host.a2, host.page}));
    gui::pressKey(VK_DOWN); // no modifier: only the new caret item
    gui::waitForIdle();
    EXPECT_EQ(tree.caretItem(), host.b);
    EXPECT_EQ(host.selected(), std::vector<HTREEITEM>{host.b});
}

namespace {
POINT rowPoint(HWND tree, HTREEITEM item, int x) {
    RECT row{};
    TreeView_GetItemRect(tree, item, &row, FALSE);
    return {x, (row.top + row.bottom) / 2};
}

// Draws a band with the left button from one point of the tree to another; with escape, the
// Escape key is pressed before the button comes up.
void band(HWND tree, POINT from, POINT to, bool escape = false) {
    const POINT middle{(from.x + to.x) / 2, (from.y + to.y) / 2 + 1};
    std::vector<std::function<void()>> events{[=] { gui::moveMouse(gui::clientToScreen(tree, from)); },
                                              [] { gui::buttonDown(); },
                                              [=] { gui::moveMouse(gui::clientToScreen(tree, middle)); },
                                              [=] { gui::moveMouse(gui::clientToScreen(tree, to)); }};
    if (escape) events.push_back([] { gui::pressKey(VK_ESCAPE); });
    events.push_back([] { gui::buttonUp(); });
    gui::play(events);
}
} // namespace

TEST(MultiTree, RubberBandSelectsTheRowsItTouchesAndEscapeDeselectsAll) {
    TreeHost host;
    ASSERT_TRUE(host.open());
    CMultiTree& tree = host.tree;
    HWND window = tree.handle();
    const int right = CWindow(window).clientRect().right - 5; // right of every label
    tree.setItemSelection(host.b, kSelect, kSelect);
    host.notifications.clear();
    band(window, rowPoint(window, host.a1, right), rowPoint(window, host.a2, right));
    EXPECT_EQ(host.selected(), (std::vector<HTREEITEM>{host.a1, host.a2}));
    EXPECT_EQ(std::count(host.notifications.begin(), host.notifications.end(), static_cast<UINT>(NM_CLICK)),
              1);
    EXPECT_EQ(GetCapture(), nullptr);

    band(window, rowPoint(window, host.root, right), rowPoint(window, host.a, right), true);
    EXPECT_TRUE(host.selected().empty());

    // A plain click beside the labels deselects everything too.
    tree.setItemSelection(host.b, kSelect, kSelect);
    gui::clickClient(window, rowPoint(window, host.b, right));
    gui::waitForIdle();
    EXPECT_TRUE(host.selected().empty());
}

namespace {
std::vector<std::string> childLabels(HWND tree, HTREEITEM folder) {
    std::vector<std::string> labels;
    for (HTREEITEM child = TreeView_GetChild(tree, folder); child;
         child = TreeView_GetNextSibling(tree, child)) {
        char text[64] = {};
        TVITEMA info{};
        info.mask = TVIF_TEXT;
        info.hItem = child;
        info.pszText = text;
        info.cchTextMax = sizeof(text);
        TreeView_GetItem(tree, &info);
        labels.push_back(text);
    }
    return labels;
}

// Drags the selected items from the label of item onto the row of target with the left button.
void dragOnto(HWND tree, HTREEITEM item, HTREEITEM target) {
    RECT label{};
    TreeView_GetItemRect(tree, item, &label, TRUE);
    const POINT start{label.left + 3, (label.top + label.bottom) / 2};
    const POINT drop = rowPoint(tree, target, start.x);
    gui::play({[=] { gui::moveMouse(gui::clientToScreen(tree, start)); }, [] { gui::buttonDown(); },
               [=] {
                   gui::moveMouse(gui::clientToScreen(tree, {start.x + 20, start.y + 20}));
               },
               [=] { gui::moveMouse(gui::clientToScreen(tree, drop)); }, [] { gui::buttonUp(); }});
}
} // namespace

TEST(MultiTree, DroppedItemsMoveUnlessTheirNameIsTakenInTheTarget) {
    QuestionScript questions;
    liveBlocks = freedBlocks = 0;
    {
        TreeHost host;
        ASSERT_TRUE(host.open());
        CMultiTree& tree = host.tree;
        HWND window = tree.handle();
        CTreeView(window).insert(host.b, "a1", true);
        tree.attachItemData(host.page, std::make_unique<CountedData>());
        tree.setItemSelection(host.a1, kSelect, kSelect);
        tree.setItemSelection(host.page, kSelect | kCaret, kSelect | kCaret);
        dragOnto(window, host.page, host.b);
        EXPECT_EQ(GetCapture(), nullptr);
        ASSERT_EQ(questions.asked().size(), 1u);
        EXPECT_EQ(questions.asked()[0].key, "MessageBoxTreeMoveItems");
        EXPECT_EQ(childLabels(window, host.a), (std::vector<std::string>{"a1", "a2"}));
        EXPECT_EQ(childLabels(window, host.b), (std::vector<std::string>{"a1", "p"}));
        EXPECT_EQ(liveBlocks, 1); // the moved page kept its block

        // Onto a page or into its own folder: nothing moves, nothing is said.
        tree.selectAll(false);
        tree.setItemSelection(host.a2, kSelect | kCaret, kSelect | kCaret);
        TreeView_Expand(window, host.b, TVE_EXPAND);
        HTREEITEM movedPage = TreeView_GetNextSibling(window, TreeView_GetChild(window, host.b));
        ASSERT_NE(movedPage, nullptr);
        dragOnto(window, host.a2, movedPage);
        dragOnto(window, host.a2, host.a);
        EXPECT_EQ(childLabels(window, host.a), (std::vector<std::string>{"a1", "a2"}));
        EXPECT_EQ(TreeView_GetChild(window, movedPage), nullptr);
        EXPECT_EQ(questions.asked().size(), 1u);

        // Without the switch dragging does nothing.
        tree.configure(true, false, false, false);
        dragOnto(window, host.a2, host.b);
        EXPECT_EQ(childLabels(window, host.b), (std::vector<std::string>{"a1", "p"}));
        DestroyWindow(host.handle());
    }
    EXPECT_EQ(liveBlocks, 0);
    EXPECT_EQ(freedBlocks, 1);
}
