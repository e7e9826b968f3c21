#include <gtest/gtest.h>

#include "favorites/BookmarkParser.h"
#include "favorites/BookmarkWriter.h"
#include "favorites/StoreTree.h"

namespace {
class BookmarkWriterTest : public testing::Test {
  protected:
    void node(const std::string& section, const std::string& type, const std::vector<std::string>& children,
              const std::string& url = {}) {
        if (!type.empty()) document.setValue(section, "type", type);
        for (size_t i = 0; i < children.size(); ++i)
            document.setValue(section, itemKey(i), children[i]);
        if (!url.empty()) document.setValue(section, "URL", url);
    }
    IniDocument document;
    DocumentNodeStore store{document};
};
} // namespace

TEST_F(BookmarkWriterTest, WritesTheFolderBlockByteForByte) {
    node("R\\F", "folder", {"News", "Suche", "Other", "NoType", "Leer"});
    node("R\\F\\News", "folder", {"Kicker"});
    node("R\\F\\News\\Kicker", "file", {}, "http://kicker.de/?a=1&b=\"2\"");
    node("R\\F\\Suche", "file", {"Hidden"}, "http://suche/");
    node("R\\F\\Other", "link", {}, "http://other/");
    node("R\\F\\NoType", "", {});
    node("R\\F\\Leer", "folder", {});
    EXPECT_EQ(buildFolderBlock(store, "R\\F", "F<1>"),
              "<DT><H3 >F<1></H3>\r\n<DL><p>\r\n"
              "<DT><H3 >News</H3>\r\n<DL><p>\r\n"
              "<DT><A HREF=\"http://kicker.de/?a=1&b=\"2\"\">Kicker</A>\r\n"
              "</DL><p>\r\n"
              "<DT><A HREF=\"http://suche/\">Suche</A>\r\n"
              "<DT><H3 >Leer</H3>\r\n<DL><p>\r\n"
              "</DL><p>\r\n"
              "</DL><p>\r\n");
}

TEST_F(BookmarkWriterTest, NonFolderSectionsWriteNoChildren) {
    node("R\\F", "file", {"A"});
    node("R\\F\\A", "file", {}, "u");
    std::string text = "x";
    exportFolderToHtml(store, "R\\F", text);
    EXPECT_EQ(text, "x");
    EXPECT_EQ(buildFolderBlock(store, "R\\Missing", "M"), "<DT><H3 >M</H3>\r\n<DL><p>\r\n</DL><p>\r\n");
    // A file without "URL" becomes a link with an empty target.
    node("R\\G", "folder", {"NoUrl"});
    node("R\\G\\NoUrl", "file", {});
    text.clear();
    exportFolderToHtml(store, "R\\G", text);
    EXPECT_EQ(text, "<DT><A HREF=\"\">NoUrl</A>\r\n");
}

TEST_F(BookmarkWriterTest, WrittenBlockReadsBackIntoTheSameTree) {
    node("R\\F", "folder", {"A", "B"});
    node("R\\F\\A", "folder", {"C"});
    node("R\\F\\A\\C", "file", {}, "http://c/");
    node("R\\F\\B", "file", {}, "http://b/");
    CBookmarkParser parser("x");
    parser.loadBuffer(buildFolderBlock(store, "R\\F", "F"));
    parser.parse();
    EXPECT_EQ(formatTree(*parser.bookmarkRoot), "FOLDER [] []\r\n"
                                                "  FOLDER [F] []\r\n"
                                                "    FOLDER [A] []\r\n"
                                                "      LINK [C] [http://c/]\r\n"
                                                "    LINK [B] [http://b/]\r\n");
}

TEST(FindLastListEnd, FindsTheLastOccurrence) {
    EXPECT_EQ(findLastListEnd("no end here </DL>"), -1);
    EXPECT_EQ(findLastListEnd(""), -1);
    EXPECT_EQ(findLastListEnd("</DL><p>"), 0);
    EXPECT_EQ(findLastListEnd("a</DL><p>b</DL><p>c"), 10);
    EXPECT_EQ(findLastListEnd("</DL><p></DL><p>"), 8);

    std::string text = "<DL><p>\r\n<DT>x\r\n</DL><p>\r\n";
    insertBeforeLastListEnd(text, "BLOCK");
    EXPECT_EQ(text, "<DL><p>\r\n<DT>x\r\nBLOCK</DL><p>\r\n");
    text = "plain";
    insertBeforeLastListEnd(text, "BLOCK");
    EXPECT_EQ(text, "BLOCKplain");
}

TEST(InternetShortcutContent, IsTwoLinesWithoutTrailingLineEnd) {
    EXPECT_EQ(internetShortcutContent("http://a/"), "[InternetShortcut]\r\nURL=http://a/");
    EXPECT_EQ(internetShortcutContent("http://a/").size(), std::string("http://a/").size() + 24);
}
