#include "support/FavoritesFixture.h"

#include "SuiteEnvironment.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "support/FirefoxFiles.h"

namespace {
void put(const std::string& path, const std::string& content) {
    createDirectory(getParentPath(path), false);
    ASSERT_TRUE(writeTextFile(path, content));
}

// The files of a folder tree with their content, "name=content" per file.
std::string folderContent(const std::string& folder) {
    std::string text;
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileA(appendPath(folder, "*").c_str(), &entry));
    if (!find) return text;
    do {
        if (isDotEntry(entry.cFileName)) continue;
        std::string path = appendPath(folder, entry.cFileName);
        text += (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "[" + path + "]\n" + folderContent(path)
                                                                    : path + "=" + readTextFile(path) + "\n";
    } while (FindNextFileA(find.get(), &entry));
    return text;
}

bool leftTemporaryCopies() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof(temp), temp);
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileA(appendPath(temp, "nvplaces-*").c_str(), &entry));
    return static_cast<bool>(find);
}

std::string backup(const std::string& linkTitle) {
    return jsonLz4(backupContainer(
        "", "placesRoot",
        backupContainer("toolbar", "toolbarFolder", backupBookmark(linkTitle, "https://sicherung.example/")) +
            "," +
            backupContainer("tags", "tagsFolder",
                            backupContainer("t", "", backupBookmark("Tag", "https://t.example/"))) +
            "," +
            backupContainer("unfiled", "unfiledBookmarksFolder",
                            backupBookmark("Zweiter", "https://zwei.example/"))));
}

// Firefox in the roaming application data folder with three profiles: "Persönlich", the one its
// installation uses (listed second in profiles.ini), with a database whose newest bookmark is
// only in the write-ahead log; "Sicherung" with backups only; "Kaputt" whose only backup is
// damaged.
class FirefoxImportTest : public FavoritesTest {
  protected:
    FirefoxImportTest() {
        EXPECT_TRUE(suite.prepare());
        put(firefox + "\\profiles.ini",
            "[Profile1]\r\nName=Sicherung\r\nIsRelative=1\r\nPath=Profiles/abcd.sicherung\r\n\r\n"
            "[Profile0]\r\nName=Pers\xC3\xB6nlich\r\nIsRelative=1\r\nPath=Profiles/"
            "wxyz.default-release\r\n\r\n"
            "[Profile2]\r\nName=Kaputt\r\nIsRelative=0\r\nPath=" +
                firefox +
                "\\Profiles\\bad.backup\r\n\r\n"
                "[Install308046B0AF4A39CB]\r\nDefault=Profiles/wxyz.default-release\r\nLocked=1\r\n\r\n"
                "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
        createDirectory(personal, false);
        {
            PlacesMaker places(personal + "\\places.sqlite");
            int64_t travel = places.folder(PlacesMaker::kToolbar, "Reisen");
            places.bookmark(travel, "Stra\xC3\x9F\x65nbahn K\xC3\xB6ln", "https://kvb.example/");
            places.bookmark(travel, "", "https://ohne-titel.example/", "Der Seitentitel \xE2\x82\xAC");
            places.separator(PlacesMaker::kToolbar);
            places.bookmark(PlacesMaker::kToolbar, "Meistbesucht", "place:sort=8&maxResults=10");
            places.folder(PlacesMaker::kToolbar, "Neuer Ordner");
            int64_t second = places.folder(PlacesMaker::kToolbar, "Neuer Ordner");
            places.bookmark(second, "Drin", "https://drin.example/");
            int64_t tag = places.folder(PlacesMaker::kTags, "reise");
            places.bookmark(tag, "", "https://kvb.example/");
            places.bookmark(PlacesMaker::kMenu, "Einstellungen", "about:preferences");
            places.keepInLog();
            places.bookmark(PlacesMaker::kUnfiled, "Nur im Log", "https://log.example/");
            EXPECT_TRUE(places.ok());
        }
        put(personal + "\\bookmarkbackups\\bookmarks-2026-11-02_3_xyz.jsonlz4", backup("Alte Sicherung"));
        put(backups + "\\bookmarkbackups\\bookmarks-2026-11-30_2_abc=.jsonlz4", backup("Vorige Sicherung"));
        put(backups + "\\bookmarkbackups\\bookmarks-2026-12-01_2_def=.jsonlz4", backup("Neueste Sicherung"));
        put(damaged, jsonLz4(damagedJson, 7));
    }
    std::string savedConfiguration() { return readFile(suite.userPath).value_or(""); }

    SuiteEnvironment suite;
    TempDir local, roaming;
    RegistryValueGuard localFolder{HKEY_CURRENT_USER, kShellFolders, "Local AppData", local.path()};
    RegistryValueGuard roamingFolder{HKEY_CURRENT_USER, kShellFolders, "AppData", roaming.path()};
    std::string firefox = roaming.file("Mozilla\\Firefox");
    std::string personal = firefox + "\\Profiles\\wxyz.default-release";
    std::string backups = firefox + "\\Profiles\\abcd.sicherung";
    std::string damagedJson = backupContainer("", "placesRoot", "");
    std::string damaged =
        firefox + "\\Profiles\\bad.backup\\bookmarkbackups\\bookmarks-2026-12-24_1_x.jsonlz4";
};
} // namespace

TEST_F(FirefoxImportTest, ListsTheInstallationsProfileFirstWithWhatEachGives) {
    std::string output;
    ASSERT_EQ(nvtool("favorites browsers", &output), "0");
    EXPECT_EQ(output,
              "firefox:wxyz.default-release\tMozilla Firefox \x96 Pers\xF6nlich\t" + personal +
                  "\\places.sqlite\t4 links\r\n"
                  "firefox:abcd.sicherung\tMozilla Firefox \x96 Sicherung\t" +
                  backups +
                  "\\bookmarkbackups\\bookmarks-2026-12-01_2_def=.jsonlz4\t2 links from the backup of "
                  "01.12.2026 (the database: places.sqlite fehlt)\r\n"
                  "firefox:bad.backup\tMozilla Firefox \x96 Kaputt\t" +
                  damaged + "\tSicherung besch\xE4\x64igt (" + std::to_string(damagedJson.size()) +
                  " statt " + std::to_string(damagedJson.size() + 7) + " Bytes): " + damaged + "\r\n");
}

TEST_F(FirefoxImportTest, ImportsTheDatabaseWithItsLogFromACopyAndASecondImportAddsNothing) {
    const std::string profileBefore = folderContent(personal);
    ASSERT_NE(readTextFile(personal + "\\places.sqlite-wal").find("log.example"), std::string::npos);
    ASSERT_EQ(readTextFile(personal + "\\places.sqlite").find("log.example"), std::string::npos);
    std::string output;
    ASSERT_EQ(nvtool("favorites import-browser \"Favoriten\\Firefox\" firefox:wxyz.default-release", &output),
              "0");
    EXPECT_EQ(output, "done\r\n");
    EXPECT_EQ(folderContent(personal), profileBefore);
    EXPECT_FALSE(leftTemporaryCopies());
    std::string first = savedConfiguration();
    EXPECT_EQ(nvtool("favorites list \"Favoriten\\Firefox\"", &output), "0");
    EXPECT_EQ(output, "FOLDER [Lesezeichen-Symbolleiste]\r\n"
                      "  FOLDER [Reisen]\r\n"
                      "    LINK [Stra\xDF\x65nbahn K\xF6ln] [https://kvb.example/]\r\n"
                      "    LINK [Der Seitentitel \x80] [https://ohne-titel.example/]\r\n"
                      "  FOLDER [Neuer Ordner]\r\n"
                      "  FOLDER [Neuer Ordner (2)]\r\n"
                      "    LINK [Drin] [https://drin.example/]\r\n"
                      "FOLDER [Weitere Lesezeichen]\r\n"
                      "  LINK [Nur im Log] [https://log.example/]\r\n");
    ASSERT_EQ(nvtool("favorites import-browser \"Favoriten\\Firefox\" firefox:wxyz.default-release"), "0");
    EXPECT_EQ(savedConfiguration(), first);
}

TEST_F(FirefoxImportTest, WithoutADatabaseTheNewestBackupIsImportedAndItsDateNamed) {
    std::string output;
    ASSERT_EQ(nvtool("favorites import-browser Favoriten firefox:abcd.sicherung", &output), "0");
    EXPECT_EQ(output, "read from the backup of 01.12.2026 (the database: places.sqlite fehlt)\r\ndone\r\n");
    EXPECT_EQ(nvtool("favorites list Favoriten\\Lesezeichen-Symbolleiste", &output), "0");
    EXPECT_EQ(output, "LINK [Neueste Sicherung] [https://sicherung.example/]\r\n");
}

TEST_F(FirefoxImportTest, ADamagedBackupOrADamagedDatabaseWithoutBackupIsRefusedAndTheStoreStays) {
    std::string output;
    EXPECT_EQ(nvtool("favorites import-browser Favoriten firefox:bad.backup", &output), "1");
    EXPECT_EQ(output, "failed\r\n");
    deleteDirectory(personal + "\\bookmarkbackups");
    put(personal + "\\places.sqlite", "kein SQLite");
    DeleteFileA((personal + "\\places.sqlite-wal").c_str());
    ASSERT_EQ(nvtool("favorites browsers", &output), "0");
    EXPECT_NE(output.find("\tDatenbank nicht lesbar (file is not a database), keine Sicherung\r\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(nvtool("favorites import-browser Favoriten firefox:wxyz.default-release"), "1");
    EXPECT_EQ(savedConfiguration(), SuiteEnvironment::kUserFile);
    EXPECT_FALSE(leftTemporaryCopies());
}
