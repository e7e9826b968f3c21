#include "support/FavoritesFixture.h"

#include "SuiteEnvironment.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"

namespace {
std::string urlNode(const std::string& name, const std::string& url) {
    return R"({"date_added":"13300000000000000","name":")" + name + R"(","type":"url","url":")" + url +
           R"("})";
}

std::string folder(const std::string& name, const std::string& children) {
    return R"({"children":[)" + children + R"(],"name":")" + name + R"(","type":"folder"})";
}

std::string bookmarks(const std::string& bar, const std::string& other) {
    return R"({"checksum":"0","roots":{"bookmark_bar":)" + folder("Bookmarks bar", bar) + R"(,"other":)" +
           folder("Other bookmarks", other) + R"(,"synced":)" + folder("Mobile", "") + R"(},"version":1})";
}

// Chrome with the profiles "Default" (Person 1) and "Profile 1" (Arbeit, account bookmarks only),
// Edge with one, Opera's single profile in the roaming folder, and a Brave profile whose
// bookmarks are not JSON; every bookmark file as the browsers write them.
class BrowserImportTest : public FavoritesTest {
  protected:
    BrowserImportTest() {
        EXPECT_TRUE(suite.prepare());
        std::string chrome = local.file("Google\\Chrome\\User Data");
        put(chrome + "\\Local State",
            R"({"profile":{"info_cache":{"Default":{"name":"Person 1"},"Profile 1":{"name":"Arbeit"}}}})");
        put(chrome + "\\Default\\Bookmarks",
            bookmarks(
                folder("Reisen", urlNode("M\u00fcnchen f\u00fcr 5 \u20ac", "https://m\u00fcnchen.de/")) +
                    "," + folder("Neuer Ordner", urlNode("A", "https://a.example/")) + "," +
                    folder("Neuer Ordner", urlNode("B", "https://b.example/")) + "," +
                    urlNode("Verlauf", "chrome://history/"),
                urlNode("Sonst", "https://sonst.example/")));
        put(chrome + "\\Profile 1\\AccountBookmarks",
            bookmarks(urlNode("Konto", "https://konto.example/"), ""));
        put(chrome + "\\Crashpad\\settings.dat", "x");
        put(local.file("Microsoft\\Edge\\User Data\\Default\\Bookmarks"),
            bookmarks(urlNode("Edge", "https://edge.example/"), ""));
        put(local.file("BraveSoftware\\Brave-Browser\\User Data\\Default\\Bookmarks"),
            "v10\x01\x02 encrypted");
        put(roaming.file("Opera Software\\Opera Stable\\Bookmarks"),
            bookmarks("", urlNode("Oper", "https://oper.example/")));
    }
    static void put(const std::string& path, const std::string& text) {
        createDirectory(getParentPath(path), false);
        ASSERT_TRUE(writeTextFile(path, text));
    }
    std::string savedConfiguration() { return readFile(suite.userPath).value_or(""); }

    SuiteEnvironment suite;
    TempDir local, roaming;
    RegistryValueGuard localFolder{HKEY_CURRENT_USER, kShellFolders, "Local AppData", local.path()};
    RegistryValueGuard roamingFolder{HKEY_CURRENT_USER, kShellFolders, "AppData", roaming.path()};
};
} // namespace

TEST_F(BrowserImportTest, ListsEveryProfileWithBookmarksAndWhyOneCannotBeRead) {
    std::string output;
    ASSERT_EQ(nvtool("favorites browsers", &output), "0");
    EXPECT_EQ(output, "chrome:Default\tGoogle Chrome \x96 Person 1\t" +
                          local.file("Google\\Chrome\\User Data\\Default\\Bookmarks") +
                          "\t4 links\r\n"
                          "chrome:Profile 1\tGoogle Chrome \x96 Arbeit\t" +
                          local.file("Google\\Chrome\\User Data\\Profile 1\\AccountBookmarks") +
                          "\t1 links\r\n"
                          "edge:Default\tMicrosoft Edge \x96 Default\t" +
                          local.file("Microsoft\\Edge\\User Data\\Default\\Bookmarks") +
                          "\t1 links\r\n"
                          "brave:Default\tBrave \x96 Default\t" +
                          local.file("BraveSoftware\\Brave-Browser\\User Data\\Default\\Bookmarks") +
                          "\tLesezeichen verschl\xFCsselt oder besch\xE4\x64igt\r\n"
                          "opera:Opera Stable\tOpera\t" +
                          roaming.file("Opera Software\\Opera Stable\\Bookmarks") + "\t1 links\r\n");
}

TEST_F(BrowserImportTest, ImportsEveryLinkOnceAndASecondImportAddsNothing) {
    std::string output;
    ASSERT_EQ(nvtool("favorites import-browser \"Favoriten\\Chrome\" chrome:Default", &output), "0");
    EXPECT_EQ(output, "done\r\n");
    std::string first = savedConfiguration();
    EXPECT_EQ(nvtool("favorites list \"Favoriten\\Chrome\"", &output), "0");
    EXPECT_EQ(output, "FOLDER [Lesezeichenleiste]\r\n"
                      "  FOLDER [Reisen]\r\n"
                      "    LINK [M\xFCnchen f\xFCr 5 \x80] [https://m\xFCnchen.de/]\r\n"
                      "  FOLDER [Neuer Ordner]\r\n"
                      "    LINK [A] [https://a.example/]\r\n"
                      "  FOLDER [Neuer Ordner (2)]\r\n"
                      "    LINK [B] [https://b.example/]\r\n"
                      "FOLDER [Weitere Lesezeichen]\r\n"
                      "  LINK [Sonst] [https://sonst.example/]\r\n");
    EXPECT_NE(first.find("[NVFavTreeRoot\\Favoriten\\Chrome\\Weitere Lesezeichen\\Sonst]\r\ntype=\"file\"\r\n"
                         "URL=\"https://sonst.example/\"\r\nCREATED_DATE=\"18.06.2022\"\r\n"),
              std::string::npos);
    ASSERT_EQ(nvtool("favorites import-browser \"Favoriten\\Chrome\" chrome:Default"), "0");
    EXPECT_EQ(savedConfiguration(), first);

    ASSERT_EQ(nvtool("favorites import-browser Favoriten edge:Default"), "0");
    ASSERT_EQ(nvtool("favorites import-browser Favoriten \"opera:Opera Stable\""), "0");
    EXPECT_EQ(nvtool("favorites list Favoriten\\Favoritenleiste", &output), "0");
    EXPECT_EQ(output, "LINK [Edge] [https://edge.example/]\r\n");
}

TEST_F(BrowserImportTest, RefusesAnUnreadableOrUnknownProfileAndLeavesTheStore) {
    std::string output;
    EXPECT_EQ(nvtool("favorites import-browser Favoriten brave:Default", &output), "1");
    EXPECT_EQ(output, "failed\r\n");
    EXPECT_EQ(nvtool("favorites import-browser Favoriten chrome:Nobody", &output), "1");
    EXPECT_EQ(savedConfiguration(), SuiteEnvironment::kUserFile);
}

TEST(ReadFileInUse, ReadsAFileAnotherProgramHoldsOpenForWriting) {
    TempDir dir;
    std::string path = dir.file("Bookmarks");
    writeTextFile(path, "{}");
    ScopedHandle writer(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(readFileInUse(path, 100), "{}");
    EXPECT_EQ(readFileInUse(path, 1), std::nullopt);
}
