#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "favorites/FolderTreeView.h"
#include "platform/Handles.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"
#include "toolkit/Dialog.h"
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

// The tree page's template hosting a CMultiTree: Root with the folders A (children a1, a2 and
// the page p) and B.
class TreeHost : public CDialog {
  public:
    TreeHost() : CDialog(IDD_TREE_PAGE) {}
    bool open() {
        parent_.reset(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr));
        if (!create(parent_.get())) return false;
        ShowWindow(handle(), SW_SHOW);
        tree.subclassItem(handle(), IDC_TREE);
        HWND window = tree.handle();
        root = insertTreeFolder(window, nullptr, "Root", true);
        a = insertTreeFolder(window, root, "A", true);
        a1 = insertTreeFolder(window, a, "a1", true);
        a2 = insertTreeFolder(window, a, "a2", true);
        page = insertTreeFolder(window, a, "p", false);
        b = insertTreeFolder(window, root, "B", true);
        TreeView_Expand(window, root, TVE_EXPAND);
        TreeView_Expand(window, a, TVE_EXPAND);
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
    SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
    SendMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
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
    // The space changes nothing.
    SendMessageA(tree.handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(tree.handle(), WM_CHAR, ' ', 0);
    EXPECT_EQ(tree.caretItem(), host.b);
    EXPECT_EQ(host.selected(), std::vector<HTREEITEM>{host.b});
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
        HTREEITEM deep = insertTreeFolder(host.tree.handle(), host.a1, "deep page", false);
        host.tree.attachItemData(deep, std::make_unique<CountedData>());
        EXPECT_EQ(liveBlocks, 2);
        DestroyWindow(host.handle());
        EXPECT_EQ(liveBlocks, 0);
        EXPECT_EQ(freedBlocks, 2);
    }
    EXPECT_EQ(freedBlocks, 2);
}

namespace {
// Sets the thread's Shift and Ctrl state as the key handlers read it; released on destruction.
class HeldKeys {
  public:
    HeldKeys(bool shift, bool ctrl) { set(shift, ctrl); }
    ~HeldKeys() { set(false, false); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

  private:
    static void set(bool shift, bool ctrl) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
    }
};
} // namespace

TEST(MultiTree, KeyboardSelectsRangesWithShiftAndMovesTheCaretWithCtrl) {
    TreeHost host;
    ASSERT_TRUE(host.open());
    CMultiTree& tree = host.tree;
    SetFocus(tree.handle());
    tree.setItemSelection(host.a, kSelect | kCaret, kSelect | kCaret);
    {
        HeldKeys shift(true, false);
        SendMessageA(tree.handle(), WM_KEYDOWN, VK_DOWN, 0);
        SendMessageA(tree.handle(), WM_KEYDOWN, VK_DOWN, 0);
    }
    EXPECT_EQ(tree.caretItem(), host.a2);
    EXPECT_EQ(host.selected(), (std::vector<HTREEITEM>{host.a, host.a1, host.a2}));
    {
        HeldKeys ctrl(false, true);
        SendMessageA(tree.handle(), WM_KEYDOWN, VK_DOWN, 0);
        SendMessageA(tree.handle(), WM_KEYDOWN, VK_SPACE, 0); // Ctrl+Space toggles the caret item
    }
    EXPECT_EQ(tree.caretItem(), host.page);
    EXPECT_EQ(host.selected(), (std::vector<HTREEITEM>{host.a, host.a1, host.a2, host.page}));
    SendMessageA(tree.handle(), WM_KEYDOWN, VK_DOWN, 0); // no modifier: only the new caret item
    EXPECT_EQ(tree.caretItem(), host.b);
    EXPECT_EQ(host.selected(), std::vector<HTREEITEM>{host.b});
}

namespace {
POINT rowPoint(HWND tree, HTREEITEM item, int x) {
    RECT row{};
    TreeView_GetItemRect(tree, item, &row, FALSE);
    return {x, (row.top + row.bottom) / 2};
}

// Presses the left button at from on the tree; the moves and the final message were queued
// before, so the band's own message loop finds them.
void band(HWND tree, POINT from, POINT to, UINT last, WPARAM lastParam = 0) {
    PostMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageA(tree, last, lastParam, MAKELPARAM(to.x, to.y));
    SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
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
    band(window, rowPoint(window, host.a1, right), rowPoint(window, host.a2, right), WM_LBUTTONUP);
    EXPECT_EQ(host.selected(), (std::vector<HTREEITEM>{host.a1, host.a2}));
    EXPECT_EQ(std::count(host.notifications.begin(), host.notifications.end(), static_cast<UINT>(NM_CLICK)),
              1);
    EXPECT_EQ(GetCapture(), nullptr);

    band(window, rowPoint(window, host.root, right), rowPoint(window, host.a, right), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(host.selected().empty());

    // A plain click beside the labels deselects everything too.
    tree.setItemSelection(host.b, kSelect, kSelect);
    PostMessageA(window, WM_LBUTTONUP, 0, 0);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right, rowPoint(window, host.b, right).y));
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
    POINT start{label.left + 3, (label.top + label.bottom) / 2};
    POINT screen = start;
    ClientToScreen(tree, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 20, start.y + 20));
    SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    const POINT drop = rowPoint(tree, target, start.x);
    SendMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(drop.x, drop.y));
    SendMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
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
        insertTreeFolder(window, host.b, "a1", true);
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
        dragOnto(window, host.a2, host.a);
        EXPECT_EQ(childLabels(window, host.a), (std::vector<std::string>{"a1", "a2"}));
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
