#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "favorites/BookmarkParser.h"
#include "favorites/BookmarkWriter.h"
#include "store/StoreTree.h"

namespace {
// A stand-in for the ANSI code page 1252 as far as these tests need it: Latin-1 and the euro sign.
std::optional<std::u16string> windows1252(std::string_view text) {
    std::u16string units;
    for (unsigned char byte : text)
        units += byte == 0x80 ? u'\u20AC' : static_cast<char16_t>(byte);
    return units;
}

std::optional<std::string> windows1252Back(std::u16string_view units) {
    std::string text;
    for (char16_t unit : units)
        text += unit == u'\u20AC' ? '\x80' : unit < 0x100 ? static_cast<char>(unit) : '?';
    return text;
}

// Grüße and München Straße in code page 1252.
const std::string kGruesse = "Gr\xFC\xDF"
                             "e";
const std::string kMuenchen = "M\xFCnchen Stra\xDF"
                              "e";

std::optional<std::u16string> failingConversion(std::string_view) {
    return std::nullopt;
}

std::string readDataFile(const std::string& name) {
    std::ifstream file(std::string(NV_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

class BookmarkWriterTest : public testing::Test {
  protected:
    void node(const std::string& section, const std::string& type, const std::vector<std::string>& children,
              const std::string& url = {}) {
        if (!type.empty()) document.setValue(section, "type", type);
        for (size_t i = 0; i < children.size(); ++i)
            document.setValue(section, itemKey(i), children[i]);
        if (!url.empty()) document.setValue(section, "URL", url);
    }
    // Export\Grüße with two links, a link with the euro sign and an empty folder, in ANSI.
    void exportFolder() {
        const std::string gruesse = "R\\Export\\" + kGruesse;
        node("R\\Export", "folder", {kGruesse, "Preis 5 \x80", "Leer"});
        node(gruesse, "folder", {kMuenchen, "Eins"});
        node(gruesse + "\\" + kMuenchen, "file", {}, "http://example.com/?ort=M\xFCnchen&amp;preis=5\x80");
        node(gruesse + "\\Eins", "file", {}, "http://eins/");
        node("R\\Export\\Preis 5 \x80", "file", {}, "http://preis/");
        node("R\\Export\\Leer", "folder", {});
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

TEST_F(BookmarkWriterTest, WritesACompleteUtf8Document) {
    exportFolder();
    std::string golden = readDataFile("bookmark-export.htm");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(buildBookmarkDocument(store, "R\\Export", "Export", windows1252), golden);
    EXPECT_EQ(buildBookmarkDocument(store, "R\\Export", "Export", failingConversion), std::nullopt);
}

TEST_F(BookmarkWriterTest, WrittenDocumentReadsBackWithTheExportedFolderUnderTheRoot) {
    exportFolder();
    CBookmarkParser parser("x", windows1252Back);
    parser.loadBuffer(buildBookmarkDocument(store, "R\\Export", "Export", windows1252).value_or(""));
    parser.parse();
    EXPECT_EQ(formatTree(*parser.bookmarkRoot),
              "FOLDER [Bookmarks] []\r\n  FOLDER [Export] []\r\n    FOLDER [" + kGruesse +
                  "] []\r\n      LINK [" + kMuenchen +
                  "] [http://example.com/?ort=M\xFCnchen&amp;preis=5\x80]\r\n" +
                  "      LINK [Eins] [http://eins/]\r\n    LINK [Preis 5 \x80] [http://preis/]\r\n" +
                  "    FOLDER [Leer] []\r\n");
}

TEST(InsertFolderBlock, FollowsTheEncodingTheFileDeclares) {
    const std::string block = "<DT><H3 >" + kGruesse + " \x80</H3>\r\n<DL><p>\r\n</DL><p>\r\n";
    std::string ansiFile = "<DL><p>\n</DL><p>\n";
    EXPECT_TRUE(insertFolderBlock(ansiFile, block, failingConversion));
    EXPECT_EQ(ansiFile, "<DL><p>\n" + block + "</DL><p>\n");

    const std::string head = "<META CONTENT=\"text/html; charset=UTF-8\">\n<DL><p>\n";
    std::string utf8File = head + "</DL><p>\n";
    EXPECT_TRUE(insertFolderBlock(utf8File, block, windows1252));
    EXPECT_EQ(utf8File,
              head +
                  "<DT><H3 >Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC</H3>\r\n<DL><p>\r\n</DL><p>\r\n</DL><p>\n");
    std::string unchanged = head + "</DL><p>\n";
    EXPECT_FALSE(insertFolderBlock(unchanged, block, failingConversion));
    EXPECT_EQ(unchanged, head + "</DL><p>\n");
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
