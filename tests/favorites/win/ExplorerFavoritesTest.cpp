#include "support/FavoritesFixture.h"

#include "favorites/ExplorerFavorites.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "store/LeftOutEntries.h"

#include <set>

namespace {
// The "Favorites" shell folder points at a temporary folder for each test.
class ExplorerFavoritesTest : public FavoritesTest {
  protected:
    std::string file(const std::string& relative) const { return favorites.file(relative); }
    void shortcut(const std::string& relative, const std::string& url) {
        ASSERT_TRUE(writeTextFile(file(relative), "[InternetShortcut]\r\nURL=" + url + "\r\n"));
    }
    TempDir favorites;
    RegistryValueGuard shellFolder{HKEY_CURRENT_USER, kShellFolders, "Favorites", favorites.path()};
};
} // namespace

TEST_F(ExplorerFavoritesTest, ImportsFoldersFirstThenShortcutsAndIgnoresOtherFiles) {
    createDirectory(file("Links"), false);
    shortcut("Links\\Suche.url", "http://suche/");
    shortcut("News.URL", "http://news/");
    writeTextFile(file("desktop.ini"), "[.ShellClassInfo]\r\n");
    writeTextFile(file("Programm.lnk"), "x");
    writeTextFile(file("Leer.url"), "no section");
    nodes.setNodeValue("NVFavTreeRoot", "item_0", "Favoriten");
    setFolder("NVFavTreeRoot\\Favoriten", {});

    EXPECT_EQ(import_MIE(store, "Favoriten"), 1);
    std::vector<std::string> top = children("NVFavTreeRoot\\Favoriten");
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0], "Links");
    EXPECT_EQ((std::set<std::string>{top[1], top[2]}), (std::set<std::string>{"News", "Leer"}));
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\Links", "type"), "folder");
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten\\Links"), std::vector<std::string>{"Suche"});
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\Links\\Suche", "URL"), "http://suche/");
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\News", "type"), "file");
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\News", "URL"), "http://news/");
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\News", "CREATED_DATE"), getDateString());
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\Leer", "URL"), "");
    EXPECT_EQ(children("NVFavTreeRoot"), std::vector<std::string>{"Favoriten"});
}

TEST_F(ExplorerFavoritesTest, ShortcutsTheStoreCannotHoldAreLeftOutAndBracketsReplaced) {
    takeLeftOut();
    shortcut("Lang.url", "http://lang/" + std::string(4083, 'x')); // 4,095 characters
    shortcut("Kurz.url", "http://kurz/");
    shortcut("Bericht [PDF].url", "http://pdf/");
    ASSERT_EQ(import_MIE(store, "Favoriten"), 1);
    std::string saved = storeText();
    IniDocument reloaded;
    reloaded.parse(saved, nullptr);
    DocumentNodeStore nodes(reloaded);
    std::vector<std::string> names = listChildren(nodes, "NVFavTreeRoot\\Favoriten");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), (std::set<std::string>{"Kurz", "Bericht [PDF "}));
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\Bericht [PDF ", "URL"), "http://pdf/");
    std::vector<LeftOutEntry> leftOut = takeLeftOut();
    ASSERT_EQ(leftOut.size(), 1u);
    EXPECT_EQ(leftOut[0].path, "Favoriten\\Lang");
}

TEST_F(ExplorerFavoritesTest, ImportingTwiceAddsNothingButRenewsTheDates) {
    shortcut("A.url", "http://a/");
    createDirectory(file("F"), false);
    shortcut("F\\B.url", "http://b/");
    ASSERT_EQ(import_MIE(store, "Favoriten"), 1);
    nodes.setNodeValue("NVFavTreeRoot\\Favoriten\\A", "CREATED_DATE", "01.01.2000");
    nodes.setNodeValue("NVFavTreeRoot\\Favoriten\\A", "URL", "http://old/");
    std::string before = storeText();
    ASSERT_EQ(import_MIE(store, "Favoriten"), 1);
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten"), (std::vector<std::string>{"F", "A"}));
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\A", "CREATED_DATE"), getDateString());
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\A", "URL"), "http://a/");
    EXPECT_NE(storeText(), before);
}

TEST_F(ExplorerFavoritesTest, ImportIntoAMissingFolderListsItInTheRoot) {
    shortcut("A.url", "http://a/");
    ASSERT_EQ(import_MIE(store, "Favoriten"), 1);
    EXPECT_EQ(children("NVFavTreeRoot"), std::vector<std::string>{"Favoriten"});
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten", "type"), "folder");
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten"), std::vector<std::string>{"A"});
    // A missing deeper folder is listed in the root under its whole path.
    ASSERT_EQ(import_MIE(store, "Favoriten\\Neu"), 1);
    EXPECT_EQ(children("NVFavTreeRoot"), (std::vector<std::string>{"Favoriten", "Favoriten\\Neu"}));
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten\\Neu"), std::vector<std::string>{"A"});
}

TEST_F(ExplorerFavoritesTest, ExportWritesFoldersAndShortcutsByteForByte) {
    nodes.setNodeValue("NVFavTreeRoot", "item_0", "Favoriten");
    setFolder("NVFavTreeRoot\\Favoriten", {"News", "Suche", "Anders", "Leer"});
    setFolder("NVFavTreeRoot\\Favoriten\\News", {"Heise"});
    setLink("NVFavTreeRoot\\Favoriten\\News\\Heise", "http://www.heise.de/");
    setLink("NVFavTreeRoot\\Favoriten\\Suche", "http://suche/?q=a&b");
    nodes.setNodeValue("NVFavTreeRoot\\Favoriten\\Anders", "type", "link");
    nodes.setNodeValue("NVFavTreeRoot\\Favoriten\\Anders", "URL", "http://anders/");
    setFolder("NVFavTreeRoot\\Favoriten\\Leer", {});
    writeTextFile(file("Suche.url"), "old content that is replaced");

    EXPECT_EQ(export_MIE(store, "Favoriten"), 1);
    EXPECT_EQ(readTextFile(file("Suche.url")), "[InternetShortcut]\r\nURL=http://suche/?q=a&b");
    EXPECT_EQ(readTextFile(file("News\\Heise.url")), "[InternetShortcut]\r\nURL=http://www.heise.de/");
    EXPECT_TRUE(isDirectory(file("Leer")));
    EXPECT_FALSE(fileExists(file("Anders.url")));

    // A subfolder goes to its own folder, created when missing.
    EXPECT_EQ(export_MIE(store, "Favoriten\\News"), 1);
    EXPECT_EQ(readTextFile(file("News\\Heise.url")), "[InternetShortcut]\r\nURL=http://www.heise.de/");
    nodes.setNodeValue("NVFavTreeRoot\\Favoriten\\News\\Heise", "URL", "http://heise/");
    deleteDirectory(file("News"));
    EXPECT_EQ(export_MIE(store, "Favoriten\\News"), 1);
    EXPECT_EQ(readTextFile(file("News\\Heise.url")), "[InternetShortcut]\r\nURL=http://heise/");
    // The first length of the top folder name plus one characters are dropped whatever they are.
    EXPECT_EQ(export_MIE(store, "Lesezeichen\\News"), 1);
    EXPECT_TRUE(isDirectory(file("n\\News")));
}

TEST_F(ExplorerFavoritesTest, ExportThenImportGivesTheSameTree) {
    nodes.setNodeValue("NVFavTreeRoot", "item_0", "Favoriten");
    setFolder("NVFavTreeRoot\\Favoriten", {"Ordner", "Link"});
    setFolder("NVFavTreeRoot\\Favoriten\\Ordner", {"Innen"});
    setLink("NVFavTreeRoot\\Favoriten\\Ordner\\Innen", "http://innen/");
    setLink("NVFavTreeRoot\\Favoriten\\Link", "http://link/");
    ASSERT_EQ(export_MIE(store, "Favoriten"), 1);
    ASSERT_EQ(import_MIE(store, "Kopie"), 1);
    EXPECT_EQ(children("NVFavTreeRoot\\Kopie"), (std::vector<std::string>{"Ordner", "Link"}));
    EXPECT_EQ(children("NVFavTreeRoot\\Kopie\\Ordner"), std::vector<std::string>{"Innen"});
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Kopie\\Ordner\\Innen", "URL"), "http://innen/");
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Kopie\\Link", "URL"), "http://link/");
}

TEST_F(ExplorerFavoritesTest, OverlongShortcutPathsFallBackOrAreSkipped) {
    // Two deep folders make the path of a short name too long; the fallback folder takes it.
    std::string deep1(100, 'a'), deep2(130 - favorites.path().size(), 'b');
    std::string shortName(30, 's'), longName(250, 'l');
    setFolder("NVFavTreeRoot\\Favoriten", {deep1, "Kurz"});
    setFolder("NVFavTreeRoot\\Favoriten\\" + deep1, {deep2});
    setFolder("NVFavTreeRoot\\Favoriten\\" + deep1 + "\\" + deep2, {shortName, longName});
    setLink("NVFavTreeRoot\\Favoriten\\" + deep1 + "\\" + deep2 + "\\" + shortName, "http://short/");
    setLink("NVFavTreeRoot\\Favoriten\\" + deep1 + "\\" + deep2 + "\\" + longName, "http://long/");
    setLink("NVFavTreeRoot\\Favoriten\\Kurz", "http://kurz/");
    ASSERT_GE((favorites.path() + "\\" + deep1 + "\\" + deep2 + "\\" + shortName).size() + 4, 260u);

    MessageCapture messages;
    EXPECT_EQ(export_MIE(store, "Favoriten"), 1);
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(readTextFile(file("Quendal Browser-Links\\" + shortName + ".url")),
              "[InternetShortcut]\r\nURL=http://short/");
    EXPECT_FALSE(fileExists(file(deep1 + "\\" + deep2 + "\\" + shortName + ".url")));
    EXPECT_FALSE(fileExists(file("Quendal Browser-Links\\l*")));
    EXPECT_EQ(readTextFile(file("Kurz.url")), "[InternetShortcut]\r\nURL=http://kurz/");

    // The fallback folder left by an export is imported like any other folder.
    store.document().clear(); // as a fresh store
    ASSERT_EQ(import_MIE(store, "Favoriten"), 1);
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten\\Quendal Browser-Links"),
              std::vector<std::string>{shortName});
}

TEST_F(ExplorerFavoritesTest, FailedShortcutWritesAreReportedAndSkipped) {
    setFolder("NVFavTreeRoot\\Favoriten", {"A?B", "C"});
    setLink("NVFavTreeRoot\\Favoriten\\A?B", "http://ab/");
    setLink("NVFavTreeRoot\\Favoriten\\C", "http://c/");
    MessageCapture messages;
    EXPECT_EQ(export_MIE(store, "Favoriten"), 1);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "unable to write file '" + file("A?B.url") + "'");
    EXPECT_EQ(readTextFile(file("C.url")), "[InternetShortcut]\r\nURL=http://c/");
}

TEST_F(ExplorerFavoritesTest, NamesThatLeadOutOfTheFavoritesFolderAreNotWritten) {
    TempDir outside;
    RegistryValueGuard inner{HKEY_CURRENT_USER, kShellFolders, "Favorites", outside.file("Favoriten")};
    createDirectory(outside.file("Favoriten"), false);
    setFolder("NVFavTreeRoot\\Favoriten", {"..", "Gut"});
    setFolder("NVFavTreeRoot\\Favoriten\\..", {"Boese"});
    setLink("NVFavTreeRoot\\Favoriten\\..\\Boese", "http://evil/");
    setLink("NVFavTreeRoot\\Favoriten\\Gut", "http://gut/");
    EXPECT_EQ(export_MIE(store, "Favoriten"), 1);
    EXPECT_FALSE(fileExists(outside.file("Boese.url")));
    EXPECT_TRUE(fileExists(outside.file("Favoriten\\Gut.url")));
    EXPECT_EQ(export_MIE(store, "Favoriten\\.."), -1);
    EXPECT_FALSE(fileExists(outside.file("Boese.url")));
}

TEST_F(ExplorerFavoritesTest, WithoutAFavoritesFolderNothingHappens) {
    RegistryValueGuard none{HKEY_CURRENT_USER, kShellFolders, "Favorites", std::nullopt};
    setFolder("NVFavTreeRoot\\Favoriten", {"A"});
    setLink("NVFavTreeRoot\\Favoriten\\A", "http://a/");
    std::string before = storeText();
    EXPECT_EQ(import_MIE(store, "Favoriten"), -1);
    EXPECT_EQ(export_MIE(store, "Favoriten"), -1);
    EXPECT_EQ(storeText(), before);
}

TEST_F(ExplorerFavoritesTest, UnlistableDirectoryContributesNothing) {
    EXPECT_FALSE(importDirectory(nodes, "NVFavTreeRoot\\X", file("missing"), ".url", true));
    EXPECT_FALSE(importDirectory(nodes, "NVFavTreeRoot\\X", file("missing"), ".url", false));
    EXPECT_TRUE(children("NVFavTreeRoot\\X").empty());
    shortcut("A.url", "http://a/");
    createDirectory(file("Sub"), false);
    EXPECT_TRUE(importDirectory(nodes, "NVFavTreeRoot\\X", favorites.path() + "\\", ".url", false));
    EXPECT_EQ(children("NVFavTreeRoot\\X"), std::vector<std::string>{"A"});
}
