#include "support/FavoritesFixture.h"

#include "SuiteEnvironment.h"
#include "platform/Handles.h"
#include "platform/Platform.h"

namespace {
std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

const std::string kBookmarks =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Lesezeichen</TITLE>\r\n<DL><p>\r\n"
    "<DT><H3>Sport</H3>\r\n<DL><p>\r\n<DT><A HREF=\"http://kicker/\">Kicker</A>\r\n"
    "</DL><p>\r\n<DT><A HREF=\"http://suche/\">Suche &amp; Finde</A>\r\n</DL><p>\r\n";

// nvtool runs each operation in the store, which it opens as the program does.
class NvToolFavoritesTest : public FavoritesTest {
  protected:
    NvToolFavoritesTest() { EXPECT_TRUE(suite.prepare()); }
    std::string savedConfiguration() { return readFile(suite.userPath).value_or(""); }
    TempDir dir;
    SuiteEnvironment suite;
    TempDir favorites;
    RegistryValueGuard shellFolder{HKEY_CURRENT_USER, kShellFolders, "Favorites", favorites.path()};
};
} // namespace

TEST(NvToolBookmarks, ShowPrintsTheReadersTree) {
    TempDir dir;
    writeTextFile(dir.file("b.htm"), kBookmarks + "<DT><A HREF=\"x\">after the end</A>\r\n");
    std::string output;
    EXPECT_EQ(nvtool("bookmarks show " + inQuotes(dir.file("b.htm")), &output), "0");
    EXPECT_EQ(output, "FOLDER [Lesezeichen] []\r\n"
                      "  FOLDER [Sport] []\r\n"
                      "    LINK [Kicker] [http://kicker/]\r\n"
                      "  LINK [Suche &amp; Finde] [http://suche/]\r\n");
    EXPECT_EQ(nvtool("bookmarks show " + inQuotes(dir.file("b.htm")) + " --root Import", &output), "0");
    EXPECT_EQ(output.substr(0, 21), "FOLDER [Import] []\r\n ");
    EXPECT_EQ(nvtool("bookmarks show " + inQuotes(dir.file("missing.htm")), &output), "1");
    EXPECT_EQ(output, "");
    EXPECT_EQ(nvtool("bookmarks show"), "2");
    EXPECT_EQ(nvtool("bookmarks list x"), "2");
    EXPECT_EQ(nvtool("bookmarks show a b"), "2");
}

TEST_F(NvToolFavoritesTest, ImportFileMergesAndSavesThePerUserFile) {
    writeTextFile(dir.file("b.htm"), kBookmarks);
    std::string output;
    EXPECT_EQ(nvtool("favorites import-file \"Favoriten\\News\" " + inQuotes(dir.file("b.htm")), &output), "0");
    EXPECT_EQ(output, "done\r\n");
    EXPECT_EQ(nvtool("favorites import-file \"Favoriten\\News\" " + inQuotes(dir.file("b.htm")), &output), "0");
    std::string saved = savedConfiguration();
    EXPECT_NE(saved.find("[NVFavTreeRoot\\Favoriten\\News]\r\ntype=\"folder\"\r\nitem_0=\"Sport\"\r\n"
                         "item_1=\"Suche &amp; Finde\"\r\n"),
              std::string::npos)
        << saved;
    EXPECT_NE(
        saved.find(
            "[NVFavTreeRoot\\Favoriten\\News\\Sport\\Kicker]\r\ntype=\"file\"\r\nURL=\"http://kicker/\"\r\n"
            "CREATED_DATE=\"" +
            getDateString() + "\"\r\n"),
        std::string::npos);
    EXPECT_EQ(nvtool("favorites list Favoriten", &output), "0");
    EXPECT_EQ(output, "FOLDER [News]\r\n"
                      "  FOLDER [Sport]\r\n"
                      "    LINK [Kicker] [http://kicker/]\r\n"
                      "  LINK [Suche &amp; Finde] [http://suche/]\r\n");
    EXPECT_EQ(nvtool("favorites list", &output), "0");
    EXPECT_EQ(output.substr(0, 20), "FOLDER [Favoriten]\r\n");
    EXPECT_EQ(nvtool("favorites list Nirgends", &output), "1");
}

TEST_F(NvToolFavoritesTest, AnEntryTheStoreCannotHoldIsNamedAndTheRestSurvivesAReload) {
    writeTextFile(dir.file("b.htm"), "<DL><p>\r\n<DT><H3>Lang</H3>\r\n<DL><p>\r\n<DT><A HREF=\"http://lang/" +
                                         std::string(3188, 'x') + "\">Lang</A>\r\n"
                                         "<DT><A HREF=\"http://kurz/\">Kurz</A>\r\n</DL><p>\r\n"
                                         "<DT><H3>Danach</H3>\r\n<DL><p>\r\n<DT><A HREF=\"http://d/\">D</A>\r\n"
                                         "</DL><p>\r\n</DL><p>\r\n");
    std::string output;
    EXPECT_EQ(nvtool("favorites import-file Favoriten " + inQuotes(dir.file("b.htm")), &output, true), "0");
    EXPECT_NE(output.find("nvtool: left out: Favoriten\\Lang\\Lang: its URL is longer than the store can hold "
                          "(3200 characters)"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("done\r\n"), std::string::npos);
    EXPECT_EQ(nvtool("favorites list Favoriten", &output), "0"); // a new process reads the saved file
    EXPECT_EQ(output, "FOLDER [News]\r\nFOLDER [Lang]\r\n  LINK [Kurz] [http://kurz/]\r\nFOLDER [Danach]\r\n  LINK [D] [http://d/]\r\n");
}

TEST_F(NvToolFavoritesTest, NamesThatDifferInTheCaseOfAnUmlautBothStayVisible) {
    auto file = [](const std::string& folder, const std::string& link) {
        return "<DL><p>\r\n<DT><H3>" + folder + "</H3>\r\n<DL><p>\r\n<DT><A HREF=\"http://" + link + "/\">" + link +
               "</A>\r\n</DL><p>\r\n</DL><p>\r\n";
    };
    writeTextFile(dir.file("a.htm"), file("\xDC" "bersicht", "Eins"));
    writeTextFile(dir.file("b.htm"), file("\xFC" "bersicht", "Zwei"));
    EXPECT_EQ(nvtool("favorites import-file Favoriten " + inQuotes(dir.file("a.htm"))), "0");
    EXPECT_EQ(nvtool("favorites import-file Favoriten " + inQuotes(dir.file("b.htm"))), "0");
    std::string output;
    EXPECT_EQ(nvtool("favorites list Favoriten", &output), "0");
    EXPECT_EQ(output, "FOLDER [News]\r\nFOLDER [\xDC" "bersicht]\r\n  LINK [Eins] [http://Eins/]\r\n"
                      "FOLDER [\xFC" "bersicht]\r\n  LINK [Zwei] [http://Zwei/]\r\n");
}

TEST_F(NvToolFavoritesTest, ResultsBecomeExitCodes) {
    writeTextFile(dir.file("text.txt"), "not bookmarks");
    std::string output;
    EXPECT_EQ(nvtool("favorites import-file Favoriten " + inQuotes(dir.file("text.txt")), &output), "3");
    EXPECT_EQ(output, "abandoned\r\n");
    EXPECT_EQ(nvtool("favorites import-nc Favoriten niemand", &output), "1");
    EXPECT_EQ(output, "failed\r\n");
    EXPECT_EQ(nvtool("favorites export-nc Favoriten niemand"), "1");
    EXPECT_EQ(readFile(suite.userPath).value_or(""), SuiteEnvironment::kUserFile);

    EXPECT_EQ(nvtool("favorites"), "2");
    EXPECT_EQ(nvtool("favorites import-ie"), "2");
    EXPECT_EQ(nvtool("favorites import-nc Favoriten"), "2");
    EXPECT_EQ(nvtool("favorites export-file a b c"), "2");
    EXPECT_EQ(nvtool("favorites unknown x"), "2");
}

TEST_F(NvToolFavoritesTest, ExportFileAsksBeforeReplacing) {
    std::string target = dir.file("export.htm");
    const std::string document =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
        "<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n"
        "<DT><H3 >Favoriten</H3>\r\n<DL><p>\r\n<DT><H3 >News</H3>\r\n<DL><p>\r\n</DL><p>\r\n"
        "</DL><p>\r\n</DL><p>\r\n";
    EXPECT_EQ(nvtool("favorites export-file Favoriten " + inQuotes(target)), "0");
    EXPECT_EQ(readTextFile(target), document);
    writeTextFile(target, "old");
    EXPECT_EQ(nvtool("favorites export-file Favoriten " + inQuotes(target)), "3");
    EXPECT_EQ(nvtool("favorites export-file --no Favoriten " + inQuotes(target)), "3");
    EXPECT_EQ(readTextFile(target), "old");
    EXPECT_EQ(nvtool("favorites export-file Favoriten " + inQuotes(target) + " --yes"), "0");
    EXPECT_EQ(readTextFile(target), document);
}

TEST_F(NvToolFavoritesTest, ExplorerExportAndImportRoundTrip) {
    writeTextFile(dir.file("b.htm"), kBookmarks);
    ASSERT_EQ(nvtool("favorites import-file \"Favoriten\\News\" " + inQuotes(dir.file("b.htm"))), "0");
    EXPECT_EQ(nvtool("favorites export-ie Favoriten"), "0");
    EXPECT_EQ(readTextFile(favorites.file("News\\Sport\\Kicker.url")),
              "[InternetShortcut]\r\nURL=http://kicker/");
    EXPECT_EQ(readTextFile(favorites.file("News\\Suche &amp; Finde.url")),
              "[InternetShortcut]\r\nURL=http://suche/");
    EXPECT_EQ(nvtool("favorites import-ie \"Favoriten\\Kopie\""), "0");
    std::string news, copy;
    EXPECT_EQ(nvtool("favorites list \"Favoriten\\News\"", &news), "0");
    EXPECT_EQ(nvtool("favorites list \"Favoriten\\Kopie\\News\"", &copy), "0");
    EXPECT_EQ(copy, news);
}

TEST_F(NvToolFavoritesTest, NetscapeUsersWithTheirFiles) {
    deleteRegistryTree(HKEY_CURRENT_USER, "Software\\Netscape");
    std::string output;
    EXPECT_EQ(nvtool("favorites netscape-users", &output), "1");
    const std::string users = "Software\\Netscape\\Netscape Navigator\\biff\\users";
    setRegistryString(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main", "Install Directory",
                      dir.file("Netscape\\Communicator"));
    setRegistryString(HKEY_CURRENT_USER, users + "\\anna", "email", "a");
    setRegistryString(HKEY_CURRENT_USER, users + "\\bernd", "email", "b");
    createDirectory(dir.file("Netscape\\Users\\anna"), false);
    writeTextFile(dir.file("Netscape\\Users\\anna\\bookmark.htm"), kBookmarks);
    EXPECT_EQ(nvtool("favorites netscape-users", &output), "0");
    EXPECT_EQ(output, "anna [" + dir.file("Netscape\\Users\\anna\\bookmark.htm") + "] exists\r\nbernd [" +
                          dir.file("Netscape\\Users\\bernd\\bookmark.htm") + "] missing\r\n");

    EXPECT_EQ(nvtool("favorites export-nc \"Favoriten\\News\" anna"), "0");
    EXPECT_EQ(readTextFile(dir.file("Netscape\\Users\\anna\\bookmark.htm")),
              kBookmarks.substr(0, kBookmarks.size() - 10) +
                  "<DT><H3 >News</H3>\r\n<DL><p>\r\n</DL><p>\r\n</DL><p>\r\n");
    EXPECT_EQ(nvtool("favorites import-nc Favoriten anna"), "0");
    EXPECT_EQ(nvtool("favorites list Favoriten", &output), "0");
    EXPECT_EQ(output, "FOLDER [News]\r\n"
                      "FOLDER [Sport]\r\n  LINK [Kicker] [http://kicker/]\r\n"
                      "LINK [Suche &amp; Finde] [http://suche/]\r\n");
    deleteRegistryTree(HKEY_CURRENT_USER, "Software\\Netscape");
}

namespace {
// The favorites sections of a configuration text in the writer's syntax, in their order.
std::string favoritesSections(const std::string& text) {
    std::string sections;
    bool inside = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        end = end == std::string::npos ? text.size() : end + 2;
        std::string line = text.substr(start, end - start);
        if (line[0] == '[') inside = line.rfind("[NVFavTreeRoot", 0) == 0;
        if (inside) sections += line;
        start = end;
    }
    return sections;
}
} // namespace

TEST_F(NvToolFavoritesTest, UndoPutsTheFavoritesSectionsBackExactlyAndOnlyOnce) {
    writeTextFile(dir.file("b.htm"), kBookmarks);
    const std::string before = favoritesSections(savedConfiguration());
    std::string output;
    EXPECT_EQ(nvtool("favorites undo", &output, true), "1");
    EXPECT_NE(output.find("nvtool: favorites undo: there is no import to undo"), std::string::npos) << output;
    EXPECT_EQ(nvtool("favorites undo --show"), "1");

    ASSERT_EQ(nvtool("favorites import-file \"Favoriten\\News\" " + inQuotes(dir.file("b.htm"))), "0");
    ASSERT_NE(favoritesSections(savedConfiguration()), before);
    EXPECT_EQ(nvtool("favorites undo --show", &output), "0");
    EXPECT_EQ(output.substr(0, 24), "folder Favoriten\\News\r\nd");
    EXPECT_NE(output.find("\r\nadded 3\r\nchanged 1\r\nundo possible\r\n"), std::string::npos) << output;
    EXPECT_NE(output.find("date " + getDateString() + " "), std::string::npos) << output;

    EXPECT_EQ(nvtool("favorites undo", &output), "0");
    EXPECT_EQ(output, "undone Favoriten\\News\r\n");
    EXPECT_EQ(favoritesSections(savedConfiguration()), before);
    EXPECT_EQ(nvtool("favorites undo", &output, true), "1");
    EXPECT_NE(output.find("there is no import to undo"), std::string::npos);
    EXPECT_EQ(nvtool("favorites undo now"), "2");

    // A folder path with an empty last name: the import makes a folder named by the file's title.
    ASSERT_EQ(nvtool("favorites import-file \"Favoriten\\\\\" " + inQuotes(dir.file("b.htm"))), "0");
    EXPECT_EQ(nvtool("favorites undo"), "0");
    EXPECT_EQ(favoritesSections(savedConfiguration()), before);
}

TEST_F(NvToolFavoritesTest, UndoIsRefusedAndChangesNothingWhenTheFolderChangedSinceTheImport) {
    writeTextFile(dir.file("b.htm"), kBookmarks);
    ASSERT_EQ(nvtool("favorites import-file \"Favoriten\\News\" " + inQuotes(dir.file("b.htm"))), "0");
    ASSERT_EQ(nvtool("store set \"NVFavTreeRoot\\Favoriten\\News\\Sport\" item_1 Neu --save"), "0");
    const std::string changed = savedConfiguration();
    std::string output;
    EXPECT_EQ(nvtool("favorites undo", &output, true), "1");
    EXPECT_NE(output.find("nvtool: favorites undo: Favoriten\\News has changed since the import of "),
              std::string::npos)
        << output;
    EXPECT_EQ(savedConfiguration(), changed);
    EXPECT_EQ(nvtool("favorites undo --show", &output), "0");
    EXPECT_NE(output.find("undo refused: changed since the import\r\n"), std::string::npos);

    // A failed import leaves the record of the last one.
    EXPECT_EQ(nvtool("favorites import-nc Favoriten niemand"), "1");
    EXPECT_EQ(nvtool("favorites undo --show", &output), "0");
    EXPECT_EQ(output.substr(0, 23), "folder Favoriten\\News\r\n");
}

TEST_F(NvToolFavoritesTest, AProgramHoldingTheStoreSeesTheUndoAtItsNextRead) {
    writeTextFile(dir.file("b.htm"), kBookmarks);
    ScopedHandle go(CreateEventA(nullptr, TRUE, FALSE, "NvStoreGo"));
    ChildProcess holder;
    ASSERT_TRUE(holder.start("\"" + testExecutableDirectory() +
                             "store_child.exe\" getlater \"NVFavTreeRoot\\Favoriten\\News\" item_0"));
    ASSERT_TRUE(holder.waitForLine("value=<none>", 20000)) << holder.output();
    ASSERT_EQ(nvtool("favorites import-file \"Favoriten\\News\" " + inQuotes(dir.file("b.htm"))), "0");
    std::string output;
    EXPECT_EQ(nvtool("favorites list \"Favoriten\\News\"", &output), "0");
    EXPECT_EQ(output.substr(0, 17), "FOLDER [Sport]\r\n ");
    EXPECT_EQ(nvtool("favorites undo", &output), "0");
    SetEvent(go.get());
    std::string later;
    EXPECT_TRUE(holder.waitForLine("later=", 20000, &later));
    EXPECT_EQ(later, "later=<none>");
    EXPECT_EQ(holder.wait(), 0);
}
