#include "FavoritesFixture.h"

#include <optional>

#include "app/ProgramPaths.h"
#include "config/ConfigFile.h"
#include "config/FileSystem.h"
#include "config/SharedMapping.h"
#include "config/SharedText.h"
#include "favorites/NetscapeTransfer.h"

namespace {
// Keeps a file's content (or its absence) and puts it back at the end.
class FileGuard {
  public:
    explicit FileGuard(std::string path) : path_(std::move(path)), previous_(readWholeFile(path_)) {
        std::string folder = getParentPath(path_);
        if (!isDirectory(folder)) {
            createDirectory(folder, false);
            createdFolder_ = folder;
        }
    }
    ~FileGuard() {
        if (previous_)
            writeTextFile(path_, *previous_);
        else
            DeleteFileA(path_.c_str());
        if (!createdFolder_.empty()) RemoveDirectoryA(createdFolder_.c_str());
    }
    FileGuard(const FileGuard&) = delete;
    FileGuard& operator=(const FileGuard&) = delete;

  private:
    std::string path_;
    std::optional<std::string> previous_;
    std::string createdFolder_;
};

// The suite's store opened in this process as the program opens it: a current user, its
// per-user file and "system.ini" prepared first, everything restored afterwards.
class SharedStoreImportTest : public FavoritesTest {
  protected:
    void openStore(const std::string& systemIni) {
        std::string user = "[Registry_HKCU]\r\nCurrentSkin=\"Skin0000\"\r\n"
                           "[NVFavTreeRoot]\r\nitem_0=\"Favoriten\"\r\n"
                           "[NVFavTreeRoot\\Favoriten]\r\ntype=\"folder\"\r\nitem_0=\"News\"\r\n"
                           "[NVFavTreeRoot\\Favoriten\\News]\r\ntype=\"folder\"\r\n";
        ASSERT_TRUE(writeFile(userPath, user));
        ASSERT_TRUE(writeTextFile(systemPath, systemIni));
        ASSERT_TRUE(openSharedIni());
        ASSERT_NE(sharedView(), nullptr);
        ASSERT_EQ(theIniFile().fileName(), userPath);
    }
    ~SharedStoreImportTest() override { closeSharedIni(); }

    struct Snapshot {
        std::string store;
        uint32_t generation;
        std::string mapping;
        std::string userFile;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() {
        return {storeText(), readGeneration(sharedView()), std::string(sharedText(sharedView())),
                readTextFile(userPath)};
    }
    std::string writeLinks(int count, const std::string& urlPadding) {
        std::string file = "<DL><p>\r\n";
        for (int i = 0; i < count; ++i)
            file += "<DT><A HREF=\"http://www.example.org/" + urlPadding + std::to_string(i) +
                    ".html\">Link " + std::to_string(i) + "</A>\r\n";
        file += "</DL><p>\r\n";
        std::string path = dir.file("links" + std::to_string(count) + ".htm");
        writeTextFile(path, file);
        return path;
    }

    TempDir dir;
    RegistryValueGuard currentUser{HKEY_CURRENT_USER, std::string("Software\\") + getSuitePath(),
                                   "CurrentUser", std::string("nvfavtest")};
    std::string userPath = getUserIniPath();
    std::string systemPath = getIniFilePath("system.ini");
    FileGuard userGuard{userPath};
    FileGuard systemGuard{systemPath};
};
} // namespace

TEST_F(SharedStoreImportTest, ImportOverThePerUserFileLimitIsRefusedWhole) {
    openStore("[System]\r\nVersion=\"5\"\r\n");
    Snapshot before = snapshot();
    std::string big = writeLinks(20000, "a/rather/long/path/to/a/page/");
    MessageCapture messages;
    EXPECT_EQ(import_NC("Favoriten\\News", big, true), -1);
    EXPECT_EQ(import_NCFile("Favoriten\\News", big), -1);
    EXPECT_EQ(messages.texts().size(), 2u);
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(theIniFile().holdCount, 0);

    // A fitting import afterwards is published once and saved.
    EXPECT_EQ(import_NC("Favoriten\\News", writeLinks(50, ""), true), 1);
    Snapshot after = snapshot();
    EXPECT_EQ(after.generation, before.generation + 1);
    EXPECT_NE(after.mapping.find("[NVFavTreeRoot\\Favoriten\\News\\Link 49]"), std::string::npos);
    std::optional<std::string> saved = readFile(userPath);
    ASSERT_TRUE(saved);
    EXPECT_NE(saved->find("[NVFavTreeRoot\\Favoriten\\News\\Link 49]\r\ntype=\"file\"\r\n"
                          "URL=\"http://www.example.org/49.html\"\r\nCREATED_DATE=\"" +
                          getDateString() + "\"\r\n"),
              std::string::npos);
    EXPECT_NE(saved->find("[System]\r\nVersion=\"5\"\r\n"),
              std::string::npos); // merged sections are saved too
}

TEST_F(SharedStoreImportTest, ImportWhosePublicationDoesNotFitIsRefusedWhole) {
    // Skin strings merged from "system.ini" are published but never saved: the result fits the
    // per-user file but not the shared mapping.
    std::string system = "[Strings]\r\n";
    const std::string value = "=\"" + std::string(90, 'x') + "\"\r\n";
    for (int i = 0; i < 9000; ++i) {
        system += 's';
        system += std::to_string(i);
        system += value;
    }
    openStore(system);
    Snapshot before = snapshot();
    std::string links = writeLinks(2500, "page/");
    MessageCapture messages;
    EXPECT_EQ(import_NCFile("Favoriten\\News", links), -1);
    // The refused publication is reported once per process.
    ASSERT_LE(messages.texts().size(), 1u);
    for (const std::string& text : messages.texts())
        EXPECT_EQ(text.find("Die Konfiguration ist zu gro"), 0u) << text;
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(theIniFile().holdCount, 0);
    EXPECT_EQ(getNodeValue("NVFavTreeRoot\\Favoriten\\News", "item_0"), "");
}
