#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "favorites/BookmarkParser.h"
#include "favorites/FirefoxBackup.h"
#include "favorites/FirefoxPlaces.h"
#include "favorites/FirefoxProfilesIni.h"
#include "favorites/PlacesDatabase.h"
#include "support/FirefoxFiles.h"
#include "Windows1252.h"

namespace {
const BrowserNodeMaker kNodes(windows1252,
                              [](uint64_t microseconds) { return std::to_string(microseconds); });

std::string treeOf(const PlacesTree& tree) {
    return tree.roots ? formatTree(*tree.roots) : "";
}

PlacesRow row(int64_t id, int64_t parent, int type, int64_t position, std::string title, std::string url = "",
              std::string pageTitle = "", std::string guid = "") {
    PlacesRow r;
    r.id = id;
    r.parent = parent;
    r.type = type;
    r.position = position;
    r.title = std::move(title);
    r.url = std::move(url);
    r.pageTitle = std::move(pageTitle);
    r.guid = std::move(guid);
    return r;
}

std::vector<PlacesRow> roots() {
    return {row(1, 0, kPlacesFolder, 0, "", "", "", "root________"),
            row(2, 1, kPlacesFolder, 0, "menu", "", "", "menu________"),
            row(3, 1, kPlacesFolder, 1, "toolbar", "", "", "toolbar_____"),
            row(4, 1, kPlacesFolder, 2, "tags", "", "", "tags________"),
            row(5, 1, kPlacesFolder, 3, "unfiled", "", "", "unfiled_____"),
            row(6, 1, kPlacesFolder, 4, "mobile", "", "", "mobile______")};
}

// A folder of the test's own, deleted with its content.
struct ScratchFolder {
    ScratchFolder()
        : path(std::filesystem::temp_directory_path() / ("nv-places-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path;
};

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
} // namespace

TEST(FirefoxPlaces, RootsInPositionOrderWithoutTagsSeparatorsQueriesAndInternalPages) {
    std::vector<PlacesRow> rows = roots();
    rows[2].position = 5; // the toolbar after the other roots
    rows.push_back(row(10, 3, kPlacesBookmark, 1, "Zweiter", "https://zwei.example/"));
    rows.push_back(row(11, 3, kPlacesBookmark, 0, "Erster", "https://eins.example/"));
    rows.push_back(row(12, 3, kPlacesSeparator, 2, ""));
    rows.push_back(row(13, 3, kPlacesBookmark, 3, "Meistbesucht", "place:sort=8&maxResults=10"));
    rows.push_back(row(14, 3, kPlacesBookmark, 4, "Konfiguration", "about:config"));
    rows.push_back(row(15, 3, kPlacesBookmark, 5, "Skript", "javascript:void(0)"));
    rows.push_back(row(16, 4, kPlacesFolder, 0, "reisen"));                       // a tag ...
    rows.push_back(row(17, 16, kPlacesBookmark, 0, "", "https://zwei.example/")); // ... repeats a link
    rows.push_back(row(18, 5, kPlacesFolder, 0, "M\u00fcll & \u20ac"));
    rows.push_back(row(19, 18, kPlacesBookmark, 0, "", "https://seite.example/a", "Seitentitel"));
    rows.push_back(row(20, 18, kPlacesBookmark, 1, "", "https://user@host.example:81/b"));
    rows.push_back(row(21, 18, kPlacesBookmark, 2, "\u4e2d", "https://host.example/c", "\u00c4rger"));
    rows.push_back(row(22, 2, kPlacesBookmark, 0, "Men\u00fc-Link", "https://menue.example/"));
    rows.push_back(row(23, 6, kPlacesSeparator, 0, ""));
    PlacesTree tree = buildPlacesTree(rows, kNodes);
    EXPECT_EQ(treeOf(tree), "FOLDER [Lesezeichen-Men\xFC] []\r\n"
                            "  LINK [Men\xFC-Link] [https://menue.example/]\r\n"
                            "FOLDER [Weitere Lesezeichen] []\r\n"
                            "  FOLDER [M\xFCll & \x80] []\r\n"
                            "    LINK [Seitentitel] [https://seite.example/a]\r\n"
                            "    LINK [host.example] [https://user@host.example:81/b]\r\n"
                            "    LINK [\xC4rger] [https://host.example/c]\r\n"
                            "FOLDER [Lesezeichen-Symbolleiste] []\r\n"
                            "  LINK [Erster] [https://eins.example/]\r\n"
                            "  LINK [Zweiter] [https://zwei.example/]\r\n");
    EXPECT_EQ(tree.links, 6u);
}

TEST(FirefoxPlaces, SameNamedSiblingsStayApartAndLinksKeepTheirDate) {
    std::vector<PlacesRow> rows = roots();
    rows.push_back(row(10, 3, kPlacesFolder, 0, "Neuer Ordner"));
    rows.push_back(row(11, 3, kPlacesFolder, 1, "neuer ordner"));
    rows.push_back(row(12, 10, kPlacesBookmark, 0, "A", "https://a.example/"));
    rows.push_back(row(13, 11, kPlacesBookmark, 0, "B", "https://b.example/"));
    rows.back().dateAdded = 1'000'000;
    PlacesTree tree = buildPlacesTree(rows, kNodes);
    EXPECT_EQ(treeOf(tree), "FOLDER [Lesezeichen-Symbolleiste] []\r\n"
                            "  FOLDER [Neuer Ordner] []\r\n"
                            "    LINK [A] [https://a.example/]\r\n"
                            "  FOLDER [neuer ordner (2)] []\r\n"
                            "    LINK [B] [https://b.example/]\r\n");
    EXPECT_EQ(tree.roots->firstChild->firstChild->date, "");
    EXPECT_EQ(tree.roots->firstChild->nextSibling->firstChild->date,
              std::to_string(kMicrosecondsFrom1601To1970 + 1'000'000));
}

TEST(FirefoxPlaces, RowsThatContradictEachOtherAreUsedOnceAndDepthIsBounded) {
    std::vector<PlacesRow> rows = roots();
    rows.push_back(row(10, 10, kPlacesFolder, 0, "Selbst")); // its own parent
    rows.push_back(row(11, 3, kPlacesFolder, 0, "Doppelt")); // two rows with one id
    rows.push_back(row(11, 3, kPlacesFolder, 1, "Doppelt"));
    rows.push_back(row(12, 11, kPlacesBookmark, 0, "Einmal", "https://einmal.example/"));
    rows.push_back(row(3, 11, kPlacesFolder, 1, "Schleife")); // claims the toolbar's id
    int64_t parent = 5;
    for (int64_t id = 100; id < 100 + 400; ++id) {
        rows.push_back(row(id, parent, kPlacesFolder, 0, "tief"));
        parent = id;
    }
    rows.push_back(row(1000, parent, kPlacesBookmark, 0, "Ganz unten", "https://unten.example/"));
    PlacesTree tree = buildPlacesTree(rows, kNodes);
    EXPECT_EQ(tree.links, 1u);
    EXPECT_EQ(tree.tooDeep, std::vector<std::string>{"tief"});
    ASSERT_TRUE(tree.roots);
    EXPECT_EQ(tree.roots->name, "Lesezeichen-Symbolleiste");
    EXPECT_EQ(tree.roots->nextSibling->name, "Weitere Lesezeichen");
}

TEST(PlacesDatabase, ReadsRowsThatAreOnlyInTheWriteAheadLog) {
    ScratchFolder folder;
    const std::string path = folder.file("places.sqlite");
    {
        PlacesMaker places(path);
        places.bookmark(PlacesMaker::kToolbar, "Alt", "https://alt.example/");
        places.keepInLog();
        places.bookmark(PlacesMaker::kToolbar, "", "https://neu.example/", "Neu im Log",
                        1'600'000'000'000'000);
        ASSERT_TRUE(places.ok());
    }
    ASSERT_TRUE(std::filesystem::exists(path + "-wal"));
    ASSERT_EQ(fileText(path).find("neu.example"), std::string::npos);
    PlacesRows read = readPlacesRows(path);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.rows.size(), 8u);
    const PlacesRow& fresh = read.rows.back();
    EXPECT_EQ(fresh.parent, PlacesMaker::kToolbar);
    EXPECT_EQ(fresh.position, 1);
    EXPECT_EQ(fresh.title, "");
    EXPECT_EQ(fresh.url, "https://neu.example/");
    EXPECT_EQ(fresh.pageTitle, "Neu im Log");
    EXPECT_EQ(fresh.dateAdded, 1'600'000'000'000'000);
    EXPECT_EQ(read.rows[2].guid, "toolbar_____");
}

TEST(PlacesDatabase, RefusesWhatIsNoPlacesDatabase) {
    ScratchFolder folder;
    std::ofstream(folder.file("text.sqlite")) << "kein SQLite";
    EXPECT_EQ(readPlacesRows(folder.file("text.sqlite")).error, "file is not a database");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(folder.file("other.sqlite").c_str(), &other), SQLITE_OK);
    sqlite3_exec(other, "CREATE TABLE t (x)", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(readPlacesRows(folder.file("other.sqlite")).error,
              "keine Lesezeichen-Datenbank (no such table: moz_bookmarks)");
    EXPECT_NE(readPlacesRows(folder.file("missing.sqlite")).error, "");
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing.sqlite")));
}

TEST(FirefoxBackup, UnpacksTheBackupAndBuildsTheSameTree) {
    std::string json = backupContainer(
        "", "placesRoot",
        backupContainer("menu", "bookmarksMenuFolder",
                        backupBookmark("Men\u00fc", "https://menue.example/")) +
            "," +
            backupContainer("toolbar", "toolbarFolder",
                            backupBookmark("", "https://ohne.example/x") +
                                R"(,{"type":"text/x-moz-place-separator"},)" +
                                backupBookmark("Neueste", "place:sort=14")) +
            "," +
            backupContainer("tags", "tagsFolder",
                            backupContainer("t", "", backupBookmark("X", "https://x.example/"))) +
            "," + backupContainer("unfiled", "unfiledBookmarksFolder", "") + "," +
            backupContainer("mobile", "mobileFolder", backupBookmark("Handy", "https://handy.example/")));
    BackupText text = unpackJsonLz4(jsonLz4(json));
    ASSERT_EQ(text.error, "");
    EXPECT_EQ(text.json, json);
    std::optional<std::vector<PlacesRow>> rows = backupRows(text.json);
    ASSERT_TRUE(rows);
    PlacesTree tree = buildPlacesTree(*rows, kNodes);
    EXPECT_EQ(treeOf(tree), "FOLDER [Lesezeichen-Men\xFC] []\r\n"
                            "  LINK [Men\xFC] [https://menue.example/]\r\n"
                            "FOLDER [Lesezeichen-Symbolleiste] []\r\n"
                            "  LINK [ohne.example] [https://ohne.example/x]\r\n"
                            "FOLDER [Mobile Lesezeichen] []\r\n"
                            "  LINK [Handy] [https://handy.example/]\r\n");
    EXPECT_EQ(tree.roots->firstChild->date, std::to_string(kMicrosecondsFrom1601To1970 + 1670000000000000));
    EXPECT_FALSE(backupRows("[]"));
    EXPECT_FALSE(backupRows(R"({"type":"text/x-moz-place"})"));
}

TEST(FirefoxBackup, RefusesADamagedBackupClearly) {
    const std::string json = backupContainer("", "placesRoot", backupBookmark("A", "https://a.example/"));
    EXPECT_EQ(unpackJsonLz4(jsonLz4(json, +1)).error, "Sicherung besch\xE4\x64igt (" +
                                                          std::to_string(json.size()) + " statt " +
                                                          std::to_string(json.size() + 1) + " Bytes)");
    EXPECT_EQ(unpackJsonLz4(jsonLz4(json, -1)).error,
              "Sicherung besch\xE4\x64igt (LZ4-Daten fehlerhaft oder l\xE4nger als " +
                  std::to_string(json.size() - 1) + " Bytes)");
    std::string cut = jsonLz4(json);
    cut.resize(cut.size() - 5);
    EXPECT_NE(unpackJsonLz4(cut).error, "");
    EXPECT_EQ(unpackJsonLz4(jsonLz4(json, int64_t(kMaxBackupJson))).error, "Sicherung zu gro\xDF");
    EXPECT_EQ(unpackJsonLz4("mozLz40").error, "keine Lesezeichen-Sicherung");
    EXPECT_EQ(unpackJsonLz4("{\"type\":\"text/x-moz-place-container\"}").error,
              "keine Lesezeichen-Sicherung");
}

TEST(FirefoxBackup, TheNewestBackupByTheDateInItsName) {
    EXPECT_EQ(backupDate("bookmarks-2026-12-01_57_AbC+/x==.jsonlz4"), "2026-12-01");
    for (const char* name :
         {"bookmarks-2026-13-01_1_x.jsonlz4", "bookmarks-2026-12-01.jsonlz4", "bookmarks-2026-12-01_1_x.json",
          "lesezeichen-2026-12-01_1_x.jsonlz4", "bookmarks-"})
        EXPECT_EQ(backupDate(name), "") << name;
    EXPECT_EQ(newestBackup({"bookmarks-2026-11-30_9_a.jsonlz4", "bookmarks-2026-12-01_3_a.jsonlz4",
                            "bookmarks-2027-01-01_1_a.json", "bookmarks-2026-12-01_2_b.jsonlz4"}),
              "bookmarks-2026-12-01_3_a.jsonlz4");
    EXPECT_EQ(newestBackup({}), "");
    EXPECT_EQ(germanDate("2026-12-01"), "01.12.2026");
}

TEST(FirefoxProfilesIni, TheInstallationsProfileFirstThenTheOthersInFileOrder) {
    const char* text =
        "\xEF\xBB\xBF[Profile1]\r\nName=Arbeit\r\nIsRelative=1\r\nPath=Profiles/b.work\r\n\r\n"
        "[Install308046B0AF4A39CB]\r\nDefault=Profiles/c.default-release\r\nLocked=1\r\n\r\n"
        "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\nDefault=1\r\n\r\n"
        "[Profile2]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/c.default-release\r\n\r\n"
        "[Profile3]\r\nName=Stick\r\nIsRelative=0\r\nPath=E:\\Firefox\\d.stick\r\n\r\n"
        "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n";
    std::vector<FirefoxProfileEntry> profiles = parseFirefoxProfiles(text);
    ASSERT_EQ(profiles.size(), 4u);
    EXPECT_EQ(profiles[0].name, "default-release");
    EXPECT_EQ(profiles[0].path, "Profiles\\c.default-release");
    EXPECT_EQ(profiles[1].name, "Arbeit");
    EXPECT_EQ(profiles[2].name, "default");
    EXPECT_EQ(profiles[3].path, "E:\\Firefox\\d.stick");
    EXPECT_FALSE(profiles[3].relative);
    EXPECT_EQ(profileFolderName(profiles[0].path), "c.default-release");

    // Without an installation's choice the profile marked Default=1 comes first.
    std::vector<FirefoxProfileEntry> old =
        parseFirefoxProfiles("[Profile0]\nName=a\nPath=Profiles/a\n[Profile1]\nName=b\nPath=Profiles/"
                             "b\nDefault=1\n[Profiles]\nPath=x\n");
    ASSERT_EQ(old.size(), 2u);
    EXPECT_EQ(old[0].name, "b");
}
