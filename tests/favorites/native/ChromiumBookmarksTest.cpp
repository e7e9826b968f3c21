#include <gtest/gtest.h>

#include "Windows1252.h"
#include "favorites/BookmarkImport.h"
#include "favorites/ChromiumBookmarks.h"
#include "favorites/ChromiumLocalState.h"
#include "store/StoreTree.h"

namespace {
std::string dayOf(uint64_t microseconds) {
    return std::to_string(microseconds / 86'400'000'000ull);
}

ChromiumBookmarkReader chromeReader() {
    return ChromiumBookmarkReader({"Lesezeichenleiste", "Weitere Lesezeichen", "Mobile Lesezeichen"},
                                  windows1252, dayOf);
}

std::string urlNode(const std::string& name, const std::string& url,
                    const std::string& added = "13300000000000000") {
    return R"({"type":"url","name":")" + name + R"(","url":")" + url + R"(","date_added":")" + added +
           R"("})";
}

std::string folder(const std::string& name, const std::string& children) {
    return R"({"type":"folder","name":")" + name + R"(","children":[)" + children + "]}";
}

std::string document(const std::string& bar, const std::string& other, const std::string& extra = "") {
    return R"({"checksum":"x","roots":{"bookmark_bar":)" + folder("Lesezeichenleiste", bar) + R"(,"other":)" +
           folder("Other", other) + R"(,"synced":)" + folder("Mobile", "") + extra + R"(},"version":1})";
}

std::string treeOf(ChromiumBookmarkReader& reader) {
    std::unique_ptr<BookmarkNode> tree = reader.takeTree();
    return tree ? formatTree(*tree) : ""; // the root folders and their siblings
}
} // namespace

TEST(ChromiumBookmarks, RootsBecomeFoldersWithTheBrowsersNamesAndOnlyRealLinksStay) {
    ChromiumBookmarkReader reader = chromeReader();
    std::string bar = folder("Reisen", urlNode("M\u00fcnchen \u20ac", "https://m\u00fcnchen.de/") + "," +
                                           urlNode("Einstellungen", "chrome://settings") + "," +
                                           urlNode("Skript", "JavaScript:alert(1)") + "," +
                                           urlNode("", "https://user@www.example.org:8080/x")) +
                      "," + folder("Neuer Ordner", urlNode("A", "https://a.example/")) + "," +
                      folder("neuer ordner", urlNode("B", "https://b.example/")) + "," +
                      R"({"type":"separator"})";
    std::string extra = R"(,"trash":)" + folder("Papierkorb", urlNode("Weg", "https://weg.example/")) +
                        R"(,"custom_root":)" +
                        folder("Schnellwahl", urlNode("\u4e2d", "https://zh.example/p"));
    ASSERT_TRUE(reader.add(document(bar, urlNode("Neu", "about:blank"), extra)));
    EXPECT_EQ(treeOf(reader), "FOLDER [Lesezeichenleiste] []\r\n"
                              "  FOLDER [Reisen] []\r\n"
                              "    LINK [M\xFCnchen \x80] [https://m\xFCnchen.de/]\r\n"
                              "    LINK [www.example.org] [https://user@www.example.org:8080/x]\r\n"
                              "  FOLDER [Neuer Ordner] []\r\n"
                              "    LINK [A] [https://a.example/]\r\n"
                              "  FOLDER [neuer ordner (2)] []\r\n"
                              "    LINK [B] [https://b.example/]\r\n"
                              "FOLDER [Schnellwahl] []\r\n"
                              "  LINK [zh.example] [https://zh.example/p]\r\n");
    EXPECT_EQ(reader.linkCount(), 5u);
}

TEST(ChromiumBookmarks, LinksKeepTheirOwnDateAndUnconvertibleUrlsArePercentEncoded) {
    ChromiumBookmarkReader reader = chromeReader();
    ASSERT_TRUE(reader.add(document(urlNode("Wiki", "https://example.org/\u4e2d", "86400000000") + "," +
                                        urlNode("Ohne Datum", "https://example.org/", "kein"),
                                    "")));
    std::unique_ptr<BookmarkNode> tree = reader.takeTree();
    BookmarkNode* first = tree->firstChild.get();
    EXPECT_EQ(first->url, "https://example.org/%E4%B8%AD");
    EXPECT_EQ(first->date, "1");
    EXPECT_EQ(first->nextSibling->date, "");
}

TEST(ChromiumBookmarks, AccountBookmarksJoinTheSameRootsAndStayApart) {
    ChromiumBookmarkReader reader = chromeReader();
    ASSERT_TRUE(reader.add(document(folder("Arbeit", urlNode("A", "https://a.example/")), "")));
    ASSERT_TRUE(reader.add(
        document(folder("Arbeit", urlNode("B", "https://b.example/")), urlNode("C", "https://c.example/"))));
    EXPECT_EQ(treeOf(reader), "FOLDER [Lesezeichenleiste] []\r\n"
                              "  FOLDER [Arbeit] []\r\n"
                              "    LINK [A] [https://a.example/]\r\n"
                              "  FOLDER [Arbeit (2)] []\r\n"
                              "    LINK [B] [https://b.example/]\r\n"
                              "FOLDER [Weitere Lesezeichen] []\r\n"
                              "  LINK [C] [https://c.example/]\r\n");
}

TEST(ChromiumBookmarks, RefusesWhatIsNoBookmarksDocument) {
    for (const char* text : {"", "{", "[]", R"({"roots":[]})", "{\"roots\":{}} trailing", "\xFF\xFE{}"}) {
        ChromiumBookmarkReader reader = chromeReader();
        EXPECT_FALSE(reader.add(text)) << text;
        EXPECT_EQ(reader.takeTree(), nullptr);
    }
    ChromiumBookmarkReader reader = chromeReader();
    EXPECT_TRUE(reader.add(R"({"roots":{}})"));
    EXPECT_EQ(reader.takeTree(), nullptr);
}

TEST(ChromiumBookmarks, DeepNestingEndsAndNamesTheFolderLeftOut) {
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += R"({"type":"folder","name":"d","children":[)";
    deep += urlNode("Tief", "https://tief.example/");
    for (int i = 0; i < 100000; ++i)
        deep += "]}";
    ChromiumBookmarkReader reader = chromeReader();
    ASSERT_TRUE(reader.add(document(deep, urlNode("Flach", "https://flach.example/"))));
    EXPECT_EQ(reader.tooDeep(), std::vector<std::string>{"d"});
    EXPECT_EQ(reader.linkCount(), 1u);
    IniDocument store;
    DocumentNodeStore nodes(store);
    importBookmarkTree(nodes, "NVFavTreeRoot", reader.takeTree().get(), "08.12.2026");
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Weitere Lesezeichen\\Flach", "CREATED_DATE"), "153935");
}

TEST(ChromiumBookmarks, SeparatesSameNamedSiblingsDeterministically) {
    BookmarkNode root(kFolderNode, "", "");
    const char* names[] = {"X", "x (2)", "X", "x"};
    std::unique_ptr<BookmarkNode>* tail = &root.firstChild;
    for (const char* name : names) {
        *tail = std::make_unique<BookmarkNode>(kLinkNode, name, "u");
        tail = &(*tail)->nextSibling;
    }
    separateSameNamedSiblings(root);
    std::vector<std::string> result;
    for (BookmarkNode* node = root.firstChild.get(); node; node = node->nextSibling.get())
        result.push_back(node->name);
    EXPECT_EQ(result, (std::vector<std::string>{"X", "x (2)", "X (3)", "x (4)"}));
}

TEST(ChromiumLocalState, ListsTheProfilesWithTheirNames) {
    auto profiles = parseLocalStateProfiles(
        R"({"profile":{"info_cache":{"Profile 1":{"name":"Arbeit"},"Default":{"name":"Person 1"},"Profile 3":{}}}})");
    ASSERT_EQ(profiles.size(), 3u);
    EXPECT_EQ(profiles[0].folder, "Default");
    EXPECT_EQ(profiles[0].displayName, "Person 1");
    EXPECT_EQ(profiles[1].displayName, "Arbeit");
    EXPECT_EQ(profiles[2].displayName, "Profile 3");
    EXPECT_TRUE(parseLocalStateProfiles("{\"profile\":3}").empty());
    EXPECT_TRUE(parseLocalStateProfiles("nicht json").empty());
}
