#include <gtest/gtest.h>

#include <string>

#include "favorites/BookmarkParser.h"

namespace {
std::unique_ptr<BookmarkNode> parseText(const std::string& text, const std::string& rootName = {},
                                        WideToAnsi toAnsi = {}) {
    CBookmarkParser parser("bookmark.htm", std::move(toAnsi));
    if (!rootName.empty()) parser.setRootName(rootName);
    parser.loadBuffer(text);
    parser.parse();
    return std::move(parser.bookmarkRoot);
}

std::string treeText(const std::string& text, const std::string& rootName = {}, WideToAnsi toAnsi = {}) {
    return formatTree(*parseText(text, rootName, std::move(toAnsi)));
}

// A stand-in for the ANSI conversion: Latin-1 characters become their byte, others "?".
std::optional<std::string> latin1(std::u16string_view units) {
    std::string text;
    for (char16_t unit : units)
        text += unit < 0x100 ? static_cast<char>(unit) : '?';
    return text;
}
} // namespace

TEST(ClassifyLine, FirstMarkerOfTheTableWins) {
    EXPECT_EQ(classifyLine("<DL><p>"), kListStartLine);
    EXPECT_EQ(classifyLine("</DL><p>"), kListEndLine);
    EXPECT_EQ(classifyLine("    <DT><H3 ADD_DATE=\"1\">News</H3>"), kFolderLine);
    EXPECT_EQ(classifyLine("<DT><A HREF=\"x\">y</A>"), kLinkLine);
    EXPECT_EQ(classifyLine("<TITLE>Bookmarks</TITLE>"), kOtherLine);
    EXPECT_EQ(classifyLine(""), kOtherLine);
    EXPECT_EQ(classifyLine("<dt><a href=\"x\">y</a>"), kOtherLine);
    EXPECT_EQ(classifyLine("<DT><H3>X</H3><DL><p>"), kListStartLine);
    EXPECT_EQ(classifyLine("<DT><A HREF=\"x\">y</A></DL>"), kListEndLine);
    EXPECT_EQ(classifyLine("<DT><A HREF=\"x\"><DT><H3>"), kFolderLine);
    EXPECT_EQ(classifyLine("<DT><"), kOtherLine);
    EXPECT_EQ(classifyLine("<<DL"), kOtherLine);
}

TEST(ParseEntry, LinkStepsStopAtTheFirstFailure) {
    EntryFields fields{"old", ""};
    parseEntry("<DT><A HREF=\"http://a/\" ADD_DATE=\"5\">Name</A>", kLinkLine, fields);
    EXPECT_EQ(fields.url, "http://a/");
    EXPECT_EQ(fields.name, "Name");

    fields = {"old", ""};
    parseEntry("<DT><A href=\"http://a/\">Name</A>", kLinkLine, fields);
    EXPECT_EQ(fields.name, "old");
    EXPECT_EQ(fields.url, "");

    fields = {"old", ""};
    parseEntry("<DT><A HREF=\"http://a/>Name</A>", kLinkLine, fields);
    EXPECT_EQ(fields.url, "http://a/>Name</A>");
    EXPECT_EQ(fields.name, "old");

    fields = {"old", ""};
    parseEntry("<DT><A HREF=\"http://a/\"", kLinkLine, fields);
    EXPECT_EQ(fields.url, "http://a/");
    EXPECT_EQ(fields.name, "old");

    fields = {"old", ""};
    parseEntry("<DT><A HREF=\"u\">Name without end", kLinkLine, fields);
    EXPECT_EQ(fields.name, "Name without end");

    // The first ">" after the marker may lie inside the URL.
    fields = {"", ""};
    parseEntry("<DT><A HREF=\"a>b\">N</A>", kLinkLine, fields);
    EXPECT_EQ(fields.url, "a>b");
    EXPECT_EQ(fields.name, "b\">N");
}

TEST(ParseEntry, FolderStepsAndOtherKinds) {
    EntryFields fields{"old", "u"};
    parseEntry("<DT><H3 FOLDED ADD_DATE=\"1\">News &amp; Sport</H3>", kFolderLine, fields);
    EXPECT_EQ(fields.name, "News &amp; Sport");
    EXPECT_EQ(fields.url, "");

    fields = {"old", "u"};
    parseEntry("<DT><H3 no close", kFolderLine, fields);
    EXPECT_EQ(fields.name, " no close");
    EXPECT_EQ(fields.url, "u");

    fields = {"old", "u"};
    parseEntry("<DT><H3>open end", kFolderLine, fields);
    EXPECT_EQ(fields.name, "open end");
    EXPECT_EQ(fields.url, "u");

    fields = {"old", "u"};
    parseEntry("<DT><A HREF=\"x\">y</A>", kOtherLine, fields);
    parseEntry("<DL>", kListStartLine, fields);
    EXPECT_EQ(fields.name, "old");
    EXPECT_EQ(fields.url, "u");
}

TEST(BookmarkParser, BuildsNestedFoldersAndLinksInFileOrder) {
    const std::string file = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                             "<TITLE>Meine Lesezeichen</TITLE>\r\n"
                             "<H1>Bookmarks</H1>\r\n"
                             "<DL><p>\r\n"
                             "    <DT><H3 ADD_DATE=\"1\">News</H3>\r\n"
                             "    <DL><p>\r\n"
                             "        <DT><A HREF=\"http://n/\">N &amp; M</A>\r\n"
                             "        <DT><H3>Sub</H3>\r\n"
                             "        <DL><p>\r\n"
                             "        </DL><p>\r\n"
                             "    </DL><p>\r\n"
                             "    <HR>\r\n"
                             "    <DT><A HREF=\"http://s/\" LAST_VISIT=\"3\">Suche</A>\r\n"
                             "    <DD>description\r\n"
                             "</DL><p>\r\n";
    EXPECT_EQ(treeText(file), "FOLDER [Meine Lesezeichen] []\r\n"
                              "  FOLDER [News] []\r\n"
                              "    LINK [N &amp; M] [http://n/]\r\n"
                              "    FOLDER [Sub] []\r\n"
                              "  LINK [Suche] [http://s/]\r\n");
    EXPECT_EQ(treeText(file, "News"), "FOLDER [News] []\r\n"
                                      "  FOLDER [News] []\r\n"
                                      "    LINK [N &amp; M] [http://n/]\r\n"
                                      "    FOLDER [Sub] []\r\n"
                                      "  LINK [Suche] [http://s/]\r\n");
}

TEST(BookmarkParser, ReadsBackTheWritersFolderBlock) {
    const std::string written = "<DT><H3 >Favoriten</H3>\r\n<DL><p>\r\n"
                                "<DT><H3 >Leer</H3>\r\n<DL><p>\r\n</DL><p>\r\n"
                                "<DT><A HREF=\"http://x/\">X</A>\r\n"
                                "</DL><p>\r\n";
    EXPECT_EQ(treeText(written), "FOLDER [] []\r\n"
                                 "  FOLDER [Favoriten] []\r\n"
                                 "    FOLDER [Leer] []\r\n"
                                 "    LINK [X] [http://x/]\r\n");
}

TEST(BookmarkParser, LineEndsAndUnterminatedLines) {
    // Without "charset=UTF-8" lines end at CR LF only.
    EXPECT_EQ(treeText("<DL><p>\n<DT><A HREF=\"u\">n</A>\n</DL><p>\n"), "FOLDER [] []\r\n");
    // A last line without its line end is never parsed.
    EXPECT_EQ(treeText("<DT><A HREF=\"u\">a</A>\r\n<DT><A HREF=\"v\">b</A>"), "FOLDER [] []\r\n"
                                                                              "  LINK [a] [u]\r\n");
    // A lone CR or LF inside a line belongs to it.
    EXPECT_EQ(treeText("<DT><A HREF=\"u\">a\rb</A>\r\n"), "FOLDER [] []\r\n  LINK [a\rb] [u]\r\n");
    // The text ends at the first zero byte.
    EXPECT_EQ(treeText(std::string("<DT><A HREF=\"u\">a</A>\r\n\0<DT><A HREF=\"v\">b</A>\r\n", 45)),
              "FOLDER [] []\r\n  LINK [a] [u]\r\n");
    EXPECT_EQ(treeText(""), "FOLDER [] []\r\n");
}

TEST(BookmarkParser, NestingFollowsFolderAndListEndLinesOnly) {
    // The folder on a "<DL>" line is lost and its list end closes the enclosing level early.
    EXPECT_EQ(treeText("<DT><H3>A</H3>\r\n"
                       "<DT><H3>X</H3><DL><p>\r\n"
                       "<DT><A HREF=\"1\">in X</A>\r\n"
                       "</DL><p>\r\n"
                       "<DT><A HREF=\"2\">after</A>\r\n"),
              "FOLDER [] []\r\n"
              "  FOLDER [A] []\r\n"
              "    LINK [in X] [1]\r\n"
              "  LINK [after] [2]\r\n");
    // A list end at the outermost level ends the parse.
    EXPECT_EQ(treeText("<DT><A HREF=\"1\">a</A>\r\n</DL>\r\n<DT><A HREF=\"2\">b</A>\r\n<DT><H3>F</H3>\r\n"),
              "FOLDER [] []\r\n  LINK [a] [1]\r\n");
    // Missing list ends simply end at the end of the buffer.
    EXPECT_EQ(treeText("<DT><H3>A</H3>\r\n<DT><H3>B</H3>\r\n<DT><A HREF=\"1\">c</A>\r\n"),
              "FOLDER [] []\r\n  FOLDER [A] []\r\n    FOLDER [B] []\r\n      LINK [c] [1]\r\n");
}

TEST(BookmarkParser, NamesCarryOverWithinALevelOnly) {
    // A link line without the link marker takes the name last extracted at its level.
    EXPECT_EQ(treeText("<DT><A nothing</A>\r\n"
                       "<DT><A HREF=\"1\">one</A>\r\n"
                       "<DT><A broken\r\n"
                       "<DT><H3>F</H3>\r\n"
                       "<DT><A broken\r\n"
                       "</DL>\r\n"
                       "<DT><A broken\r\n"),
              "FOLDER [] []\r\n"
              "  LINK [] []\r\n"
              "  LINK [one] [1]\r\n"
              "  LINK [one] []\r\n"
              "  FOLDER [F] []\r\n"
              "    LINK [] []\r\n"
              "  LINK [F] []\r\n");
}

TEST(BookmarkParser, TitleRules) {
    auto titleOf = [](const std::string& text, const std::string& preset = {}) {
        CBookmarkParser parser("x");
        if (!preset.empty()) parser.setRootName(preset);
        parser.loadBuffer(text);
        return parser.getTitle();
    };
    EXPECT_EQ(titleOf("<TITLE>A</TITLE><TITLE>B</TITLE>"), "A");
    EXPECT_EQ(titleOf("</TITLE> <TITLE>A"), "");
    EXPECT_EQ(titleOf("<TITLE>A"), "");
    EXPECT_EQ(titleOf("<title>A</title>"), "");
    EXPECT_EQ(titleOf("<TITLE></TITLE>"), "");
    EXPECT_EQ(titleOf("<TITLE>A</TITLE>", "Preset"), "Preset");
}

TEST(BookmarkParser, Utf8ModeDecodesValidLinesAndKeepsOthersRaw) {
    const std::string file = "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                             "<TITLE>B\xC3\xBC"
                             "cher</TITLE>\n"
                             "<DL><p>\n"
                             "<DT><A HREF=\"http://m/\">M\xC3\xBC"
                             "nchen \xE2\x82\xAC</A>\r\n"
                             "<DT><A HREF=\"http://b/\">Bad \xC3\x28</A>\n"
                             "</DL><p>\n";
    EXPECT_EQ(treeText(file, {}, latin1), "FOLDER [B\xC3\xBC"
                                          "cher] []\r\n"
                                          "  LINK [M\xFCnchen ?] [http://m/]\r\n"
                                          "  LINK [Bad \xC3\x28] [http://b/]\r\n");
    // A failing conversion keeps the raw line, and so does a missing one.
    EXPECT_EQ(treeText(file, "R", [](std::u16string_view) { return std::optional<std::string>(); }),
              "FOLDER [R] []\r\n  LINK [M\xC3\xBCnchen \xE2\x82\xAC] [http://m/]\r\n  LINK [Bad \xC3\x28] "
              "[http://b/]\r\n");
    EXPECT_EQ(treeText(file, "R"), "FOLDER [R] []\r\n  LINK [M\xC3\xBCnchen \xE2\x82\xAC] [http://m/]\r\n  "
                                   "LINK [Bad \xC3\x28] [http://b/]\r\n");
}

TEST(BookmarkParser, Utf8LinesLongerThanTheDecodeBufferStayRaw) {
    std::string longName(2600, 'a');
    std::string file =
        "charset=UTF-8\n<DT><A HREF=\"u\">" + longName + "</A>\n<DT><A HREF=\"v\">\xC3\xA4</A>\n";
    auto root = parseText(file, {}, [](std::u16string_view units) {
        if (units.find(u'\u00E4') == std::u16string_view::npos) return latin1(units);
        return std::optional<std::string>("<DT><A HREF=\"conv\">" + std::to_string(units.size()) + "</A>");
    });
    ASSERT_TRUE(root->firstChild);
    EXPECT_EQ(root->firstChild->name, longName);
    ASSERT_TRUE(root->firstChild->nextSibling);
    EXPECT_EQ(root->firstChild->nextSibling->url, "conv");
}

TEST(BookmarkParser, SurvivesDeepNestingAndLongLists) {
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<DT><H3>\r\n";
    auto root = parseText(deep);
    int depth = 0;
    for (const BookmarkNode* node = root->firstChild.get(); node; node = node->firstChild.get())
        ++depth;
    EXPECT_EQ(depth, 200000);
    root.reset();

    std::string flat;
    for (int i = 0; i < 200000; ++i)
        flat += "<DT><A HREF=\"u\">n</A>\r\n";
    root = parseText(flat);
    int count = 0;
    for (const BookmarkNode* node = root->firstChild.get(); node; node = node->nextSibling.get())
        ++count;
    EXPECT_EQ(count, 200000);
}

TEST(BookmarkParser, SecondParseFindsTheBufferConsumed) {
    CBookmarkParser parser("x");
    parser.loadBuffer("<TITLE>T</TITLE>\r\n<DT><A HREF=\"u\">n</A>\r\n");
    parser.parse();
    EXPECT_EQ(formatTree(*parser.bookmarkRoot), "FOLDER [T] []\r\n  LINK [n] [u]\r\n");
    parser.parse();
    EXPECT_EQ(formatTree(*parser.bookmarkRoot), "FOLDER [] []\r\n");
}

TEST(BookmarkFormat, NeedsAllThreeMarkers) {
    EXPECT_TRUE(isNetscapeBookmarkFormat("<DL><p></DL><p><DT>"));
    EXPECT_TRUE(isNetscapeBookmarkFormat("<DT><H3 >x</H3>\r\n<DL><p>\r\n</DL><p>\r\n"));
    EXPECT_FALSE(isNetscapeBookmarkFormat("<DL><p><DT>"));
    EXPECT_FALSE(isNetscapeBookmarkFormat("<dl><p></dl><p><dt>"));
    EXPECT_FALSE(isNetscapeBookmarkFormat(""));
    EXPECT_FALSE(isNetscapeBookmarkFormat(std::string("<DL><p></DL><p>\0<DT>", 20)));
}

TEST(BookmarkFormat, Utf8IsDeclaredByTheCharsetBeforeAnyZeroByte) {
    EXPECT_TRUE(declaresUtf8("<META CONTENT=\"text/html; charset=UTF-8\">"));
    EXPECT_FALSE(declaresUtf8("<META CONTENT=\"text/html; charset=utf-8\">"));
    EXPECT_FALSE(declaresUtf8("<META CONTENT=\"text/html; charset=windows-1252\">"));
    EXPECT_FALSE(declaresUtf8(std::string("<DL><p>\0charset=UTF-8", 22)));
}
