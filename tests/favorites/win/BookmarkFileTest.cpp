#include "support/FavoritesFixture.h"

#include "favorites/BookmarkFile.h"
#include "favorites/BookmarkParser.h"

TEST(BookmarkFile, LoadsAndParsesAnAnsiFile) {
    TempDir dir;
    std::string path = dir.file("bookmark.htm");
    writeTextFile(path,
                  "<TITLE>Lesezeichen von Anna</TITLE>\r\n<DL><p>\r\n"
                  "<DT><H3>M\xFCnchen</H3>\r\n<DL><p>\r\n<DT><A HREF=\"http://m/\">Stadt</A>\r\n</DL><p>\r\n"
                  "</DL><p>\r\n");
    CBookmarkParser parser(path);
    ASSERT_TRUE(parser.loadFile());
    parser.parse();
    EXPECT_FALSE(parser.isUtf8Mode());
    EXPECT_EQ(formatTree(*parser.bookmarkRoot), "FOLDER [Lesezeichen von Anna] []\r\n"
                                                "  FOLDER [M\xFCnchen] []\r\n"
                                                "    LINK [Stadt] [http://m/]\r\n");
    EXPECT_TRUE(isNetscapeBookmarkFile(path));

    CBookmarkParser missing(dir.file("missing.htm"));
    EXPECT_FALSE(missing.loadFile());
    EXPECT_FALSE(isNetscapeBookmarkFile(dir.file("missing.htm")));
    writeTextFile(dir.file("plain.txt"), "<DL><p> only");
    EXPECT_FALSE(isNetscapeBookmarkFile(dir.file("plain.txt")));
}

TEST(BookmarkFile, Utf8LinesBecomeAnsiThroughTheCodePage) {
    TempDir dir;
    std::string path = dir.file("utf8.htm");
    writeTextFile(path, "<META CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>B\xC3\xBC"
                        "cher</TITLE>\n<DL><p>\n"
                        "<DT><A HREF=\"http://m/\">M\xC3\xBCnchen \xE2\x82\xAC</A>\n"
                        "<DT><A HREF=\"http://c/\">\xE4\xB8\xAD</A>\n"
                        "<DT><A HREF=\"http://b/\">Bad \xFF</A>\n"
                        "</DL><p>\n");
    CBookmarkParser parser(path);
    ASSERT_TRUE(parser.loadFile());
    parser.parse();
    EXPECT_TRUE(parser.isUtf8Mode());
    // The euro sign is 0x80 in Windows-1252; a character the code page lacks becomes "?".
    EXPECT_EQ(formatTree(*parser.bookmarkRoot), "FOLDER [B\xC3\xBC"
                                                "cher] []\r\n"
                                                "  LINK [M\xFCnchen \x80] [http://m/]\r\n"
                                                "  LINK [?] [http://c/]\r\n"
                                                "  LINK [Bad \xFF] [http://b/]\r\n");
    EXPECT_EQ(wideToAnsi(u"\u00E4\u20AC"), std::optional<std::string>("\xE4\x80"));
    EXPECT_EQ(wideToAnsi(u""), std::optional<std::string>(""));
}
