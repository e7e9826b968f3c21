#include "support/FavoritesFixture.h"

#include "favorites/InternetShortcut.h"
#include "toolkit/TreeView.h"
#include "ui/FolderTreeView.h"

using FavoritesStoreTest = FavoritesTest;

TEST_F(FavoritesStoreTest, NodeValuesAndChildListsLiveInTheSharedStore) {
    EXPECT_EQ(getFavTreeRoot(), "NVFavTreeRoot");
    EXPECT_EQ(getOfflineTreeRoot(), "NVOfflineTreeRoot");
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot", "item_0"), "");
    nodes.setNodeValue("NVFavTreeRoot", "item_0", "Favoriten");
    EXPECT_EQ(store.getValue("nvfavtreeroot", "item_0", "-"), "Favoriten");
    EXPECT_EQ(findItemKey(nodes, "NVFavTreeRoot"), "item_1");
    std::string name = "Favoriten";
    EXPECT_EQ(findItemKey(nodes, "NVFavTreeRoot", &name), "item_0");
}

TEST_F(FavoritesStoreTest, HasItemIgnoresTheCaseOfAsciiLettersAsSectionNamesDo) {
    setFolder("R", {"News", "\xC4rger",
                    "Stra\xDF"
                    "e"});
    EXPECT_TRUE(hasItem(nodes, "R", "news"));
    EXPECT_TRUE(hasItem(nodes, "R", "NEWS"));
    EXPECT_TRUE(hasItem(nodes, "R", "\xC4RGER"));
    EXPECT_TRUE(hasItem(nodes, "R",
                        "stra\xDF"
                        "e"));
    // Another section for the store, so another child: listed, and found again after a reload.
    EXPECT_FALSE(hasItem(nodes, "R", "\xE4rger"));
    EXPECT_FALSE(hasItem(nodes, "R", "Arger"));
    EXPECT_FALSE(hasItem(nodes, "R", "New"));
    std::string lower = "news";
    EXPECT_EQ(findItemKey(nodes, "R", &lower), "item_3");

    EXPECT_EQ(addChild(nodes, "R", "\xC4RGER", true), "R\\\xC4RGER");
    EXPECT_EQ(children("R").size(), 3u);
    EXPECT_EQ(addChild(nodes, "R", "\xE4rger", false), "R\\\xE4rger");
    EXPECT_EQ(children("R"), (std::vector<std::string>{"News", "\xC4rger",
                                                       "Stra\xDF"
                                                       "e",
                                                       "\xE4rger"}));
}

TEST_F(FavoritesStoreTest, ReadsInternetShortcuts) {
    TempDir dir;
    writeTextFile(dir.file("a.url"),
                  "[DEFAULT]\r\nBASEURL=x\r\n[InternetShortcut]\r\nURL=http://a/?q=1\r\nIconIndex=0\r\n");
    writeTextFile(dir.file("b.url"), "[Other]\r\nURL=http://b/\r\n");
    EXPECT_EQ(readInternetShortcut(dir.file("a.url")), "http://a/?q=1");
    EXPECT_EQ(readInternetShortcut(dir.file("b.url")), "");
    EXPECT_EQ(readInternetShortcut(dir.file("missing.url")), "");

    ASSERT_TRUE(writeInternetShortcut(dir.file("c.url"), "http://c/"));
    EXPECT_EQ(readTextFile(dir.file("c.url")), "[InternetShortcut]\r\nURL=http://c/");
    EXPECT_EQ(readInternetShortcut(dir.file("c.url")), "http://c/");
    EXPECT_FALSE(writeInternetShortcut("", "http://c/"));
    MessageCapture messages;
    EXPECT_FALSE(writeInternetShortcut(dir.file("no folder\\d.url"), "http://d/"));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "unable to write file '" + dir.file("no folder\\d.url") + "'");
}

namespace {
// A real tree view control in a hidden top-level window.
class TreeWindow {
  public:
    TreeWindow() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        frame_ = CreateWindowExA(0, "STATIC", "tree test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        tree_ = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | TVS_HASLINES, 0, 0, 300, 300, frame_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    }
    ~TreeWindow() { DestroyWindow(frame_); }
    HWND tree() const { return tree_; }
    HTREEITEM first(HTREEITEM parent = nullptr) const {
        return TreeView_GetNextItem(tree_, parent, parent ? TVGN_CHILD : TVGN_ROOT);
    }
    HTREEITEM next(HTREEITEM item) const { return TreeView_GetNextItem(tree_, item, TVGN_NEXT); }
    // The items below parent as "label(image/selected){children}" text, in order.
    std::string describe(HTREEITEM parent = nullptr) const {
        std::string text;
        for (HTREEITEM item = first(parent); item; item = next(item)) {
            char label[256] = {};
            TVITEMA data{};
            data.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
            data.hItem = item;
            data.pszText = label;
            data.cchTextMax = sizeof(label);
            TreeView_GetItem(tree_, &data);
            text += std::string(label) + "(" + std::to_string(data.iImage) + "/" +
                    std::to_string(data.iSelectedImage) + ")";
            std::string below = describe(item);
            if (!below.empty()) text += "{" + below + "}";
            text += " ";
        }
        return text;
    }

  private:
    HWND frame_ = nullptr;
    HWND tree_ = nullptr;
};
} // namespace

TEST_F(FavoritesStoreTest, EmptyRootsShowTheirPlaceholderFolder) {
    TreeWindow window;
    ASSERT_TRUE(window.tree());
    fillFolderTree(nodes, window.tree(), nullptr, "NVFavTreeRoot");
    EXPECT_EQ(window.describe(), "Favoriten(1/2) ");
    TreeView_DeleteAllItems(window.tree());
    fillFolderTree(nodes, window.tree(), nullptr, "NVOfflineTreeRoot");
    EXPECT_EQ(window.describe(), "Seitenarchiv(1/2) ");
    TreeView_DeleteAllItems(window.tree());
    // The comparison with the root names is case-sensitive.
    fillFolderTree(nodes, window.tree(), nullptr, "nvfavtreeroot");
    EXPECT_EQ(window.describe(), "");
}

TEST_F(FavoritesStoreTest, FolderTreeShowsFoldersInStoreOrderOnly) {
    nodes.setNodeValue("NVFavTreeRoot", "item_0", "Favoriten");
    nodes.setNodeValue("NVFavTreeRoot", "item_1", "Lose");
    setFolder("NVFavTreeRoot\\Favoriten", {"News", "Link", "Sport", "Datei mit Kindern"});
    setFolder("NVFavTreeRoot\\Favoriten\\News", {"Inland", "Ausland"});
    setFolder("NVFavTreeRoot\\Favoriten\\News\\Inland", {});
    setFolder("NVFavTreeRoot\\Favoriten\\News\\Ausland", {});
    setLink("NVFavTreeRoot\\Favoriten\\Link", "http://l/");
    setFolder("NVFavTreeRoot\\Favoriten\\Sport", {});
    setLink("NVFavTreeRoot\\Favoriten\\Datei mit Kindern", "http://d/");
    nodes.setNodeValue("NVFavTreeRoot\\Favoriten\\Datei mit Kindern", "item_0", "Versteckt");
    setFolder("NVFavTreeRoot\\Favoriten\\Datei mit Kindern\\Versteckt", {});
    nodes.setNodeValue("NVFavTreeRoot\\Lose", "type", "link");

    TreeWindow window;
    fillFolderTree(nodes, window.tree(), nullptr, "NVFavTreeRoot");
    EXPECT_EQ(window.describe(), "Favoriten(1/2){News(1/2){Inland(1/2) Ausland(1/2) } Sport(1/2) } ");
}

TEST_F(FavoritesStoreTest, RootListingOnlyFilesShowsNothing) {
    nodes.setNodeValue("NVFavTreeRoot", "item_0", "Link");
    setLink("NVFavTreeRoot\\Link", "http://l/");
    TreeWindow window;
    fillFolderTree(nodes, window.tree(), nullptr, "NVFavTreeRoot");
    EXPECT_EQ(window.describe(), "");
}

TEST_F(FavoritesStoreTest, TreeItemPathsFollowTheLabels) {
    TreeWindow window;
    CTreeView tree(window.tree());
    HTREEITEM top = tree.insert(nullptr, "Favoriten", true);
    HTREEITEM news = tree.insert(top, "News", true);
    HTREEITEM sport = tree.insert(news, "Sport", true);
    HTREEITEM link = tree.insert(news, "Ein Link", false);
    HTREEITEM slashed = tree.insert(top, "A/B", true);
    HTREEITEM below = tree.insert(slashed, "C", true);
    EXPECT_EQ(window.describe(), "Favoriten(1/2){News(1/2){Sport(1/2) Ein Link(0/0) } A/B(1/2){C(1/2) } } ");
    EXPECT_EQ(getTreeItemPath(tree.handle(), top), "Favoriten");
    EXPECT_EQ(getTreeItemPath(tree.handle(), news), "Favoriten\\News");
    EXPECT_EQ(getTreeItemPath(tree.handle(), sport), "Favoriten\\News\\Sport");
    EXPECT_EQ(getTreeItemPath(tree.handle(), link), "Favoriten\\News");
    EXPECT_EQ(getTreeItemPath(tree.handle(), slashed), "Favoriten\\A/B");
    EXPECT_EQ(getTreeItemPath(tree.handle(), below), "Favoriten\\A\\B\\C");
}
