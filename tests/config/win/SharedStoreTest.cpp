#include <gtest/gtest.h>

#include <map>

#include "config/Blowfish.h"
#include "config/ConfigFile.h"
#include "config/SharedStore.h"
#include "config/SharedMapping.h"
#include "config/SharedText.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/ProgramPaths.h"
#include "support/TestSupport.h"

namespace {
const char* const kSuiteKey = "Software\\Quendal\\Quendal_Software_5\\Browser";
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const DWORD kTimeout = 30000;

const std::string kUserFile = "[Registry_HKCU]\r\nCurrentSkin=\"Skin0000\"\r\n"
                              "[NVFavTreeRoot]\r\nitem_0=\"Favoriten\"\r\n"
                              "[NVFavTreeRoot\\Favoriten]\r\ntype=\"folder\"\r\n";
const std::string kSystemFile = "[Registry_HKLM]\r\nVersion=\"5.0\"\r\n[Layout_Test]\r\nTitle=\"T\"\r\n"
                                "[StyleGuide]\r\nMessage=\"0;0;0\"\r\n[Strings]\r\nA=\"a\"\r\n";

// A configuration of the suite in the prefix: the per-user file (enciphered) in a temporary
// AppData folder, "system.ini" and "user.ini" in the common data folder. Restores everything.
class SharedStoreTest : public testing::Test {
  protected:
    TempDir appData;
    RegistryValueGuard user{HKEY_CURRENT_USER, kSuiteKey, "CurrentUser", std::string("usrStoreTest")};
    RegistryValueGuard appDataFolder{HKEY_CURRENT_USER, kShellFolders, "AppData", appData.path()};
    std::string systemIni = getIniFilePath("system.ini");
    std::string userIni = getIniFilePath("user.ini");
    std::optional<std::string> savedSystem = readWholeFile(systemIni);
    std::optional<std::string> savedUser = readWholeFile(userIni);
    std::string userPath;
    SharedStore store;

    void SetUp() override {
        createDirectory(getParentPath(systemIni), false);
        writeTextFile(systemIni, kSystemFile);
        writeTextFile(userIni, "[Registry_HKCU]\r\nCurrentSkin=\"Skin0000\"\r\n");
        userPath = getUserIniPath();
        createDirectory(getParentPath(userPath), false);
        std::string enciphered = kUserFile;
        encipherContent(enciphered);
        writeTextFile(userPath, enciphered);
    }

    void TearDown() override {
        store.close();
        restore(systemIni, savedSystem);
        restore(userIni, savedUser);
    }

    static void restore(const std::string& path, const std::optional<std::string>& content) {
        if (content)
            writeTextFile(path, *content);
        else
            DeleteFileA(path.c_str());
    }

    static std::string child(const std::string& arguments) {
        return "\"" + testExecutableDirectory() + "store_child.exe\" " + arguments;
    }

    // Runs a child to its end and returns its output.
    static std::string runChild(const std::string& arguments) {
        ChildProcess process;
        EXPECT_TRUE(process.start(child(arguments)));
        EXPECT_EQ(process.wait(kTimeout), 0) << arguments << ": " << process.output();
        return process.output();
    }

    uint32_t mappingGeneration() {
        SharedLock lock(store.mutex());
        return readGeneration(store.view());
    }

    std::string mappingText() {
        SharedLock lock(store.mutex());
        return std::string(sharedText(store.view()));
    }
};
} // namespace

TEST_F(SharedStoreTest, TheSecondProcessJoinsFromTheMappingAndNeverReadsSystemIni) {
    ChildProcess first;
    ASSERT_TRUE(first.start(child("hold")));
    ASSERT_TRUE(first.waitForLine("open 1", kTimeout)) << first.output();
    ASSERT_TRUE(DeleteFileA(systemIni.c_str()));

    std::string output = runChild("get Registry_HKLM Version");
    EXPECT_NE(output.find("open 1"), std::string::npos) << output;
    EXPECT_NE(output.find("value=5.0"), std::string::npos) << output;
    EXPECT_EQ(output.find("message:"), std::string::npos) << output;
    output = runChild("sections");
    EXPECT_NE(output.find("sections=Registry_HKCU\tNVFavTreeRoot\tNVFavTreeRoot\\Favoriten\tRegistry_HKLM\t"
                          "Layout_Test\tStyleGuide\tStrings"),
              std::string::npos)
        << output;
}

TEST_F(SharedStoreTest, APublishedValueIsSeenAtTheOthersNextRead) {
    ChildProcess first;
    ASSERT_TRUE(first.start(child("hold")));
    ASSERT_TRUE(first.waitForLine("open 1", kTimeout)) << first.output();
    ASSERT_TRUE(store.open()); // this process joins
    EXPECT_EQ(store.getValue("Registry_HKLM", "Version", ""), "5.0");
    EXPECT_EQ(store.getValue("Test", "k", "<none>"), "<none>");
    uint32_t before = mappingGeneration();

    EXPECT_NE(runChild("set Test k v1").find("published 1"), std::string::npos);
    EXPECT_EQ(mappingGeneration(), before + 1);
    EXPECT_EQ(store.getValue("Test", "k", "<none>"), "v1");
    EXPECT_EQ(store.generationSeen(), static_cast<int32_t>(before + 1));

    store.setValue("Test", "k", "v2");
    EXPECT_EQ(mappingGeneration(), before + 2);
    EXPECT_NE(runChild("get Test k").find("value=v2"), std::string::npos);
}

TEST_F(SharedStoreTest, NestedBatchesPublishOnceAndNeitherReloadNorPublishInBetween) {
    ChildProcess first;
    ASSERT_TRUE(first.start(child("hold")));
    ASSERT_TRUE(first.waitForLine("open 1", kTimeout)) << first.output();
    ASSERT_TRUE(store.open());
    uint32_t before = mappingGeneration();

    store.beginUpdate();
    store.beginUpdate();
    store.setValue("Batch", "a", "1");
    store.setValue("Batch", "b", "2");
    EXPECT_EQ(mappingGeneration(), before);
    EXPECT_NE(runChild("set Other k x").find("published 1"), std::string::npos);
    EXPECT_EQ(mappingGeneration(), before + 1);
    EXPECT_EQ(store.getValue("Other", "k", "<none>"), "<none>"); // no reload during the batch
    store.setValue("Batch", "c", "3");
    EXPECT_TRUE(store.endUpdate());
    EXPECT_EQ(mappingGeneration(), before + 1);
    EXPECT_TRUE(store.endUpdate());
    EXPECT_EQ(mappingGeneration(), before + 2);

    // The last publication wins for the whole text.
    std::string text = mappingText();
    EXPECT_NE(text.find("[Batch]\r\na=\"1\"\r\nb=\"2\"\r\nc=\"3\"\r\n"), std::string::npos);
    EXPECT_EQ(text.find("[Other]"), std::string::npos);
    EXPECT_NE(text.find("[Layout_Test]"), std::string::npos); // excluded sections are published
}

TEST_F(SharedStoreTest, AMutexAbandonedByAKilledProcessLeavesTheStoreUsable) {
    ChildProcess first;
    ASSERT_TRUE(first.start(child("hold")));
    ASSERT_TRUE(first.waitForLine("open 1", kTimeout));
    ChildProcess locker;
    ASSERT_TRUE(locker.start(child("lockmutex")));
    ASSERT_TRUE(locker.waitForLine("locked", kTimeout));
    locker.terminate();

    EXPECT_NE(runChild("set Test k after").find("published 1"), std::string::npos);
    EXPECT_NE(runChild("get Test k").find("value=after"), std::string::npos);
}

TEST_F(SharedStoreTest, SavingWritesMergedSectionsButNeverSkinSections) {
    ChildProcess first;
    ASSERT_TRUE(first.start(child("hold")));
    ASSERT_TRUE(first.waitForLine("open 1", kTimeout));
    std::string output = runChild("set User k v --save");
    EXPECT_NE(output.find("saved 1"), std::string::npos) << output;

    EXPECT_TRUE(isEncryptedFile(userPath));
    std::optional<std::string> saved = readFile(userPath);
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, kUserFile + "[Registry_HKLM]\r\nVersion=\"5.0\"\r\n[User]\r\nk=\"v\"\r\n");
}

TEST_F(SharedStoreTest, ConcurrentWritersNeverTearTheTextAndEndOnTheLastPublication) {
    ASSERT_TRUE(store.open()); // this process is the first and keeps the block alive
    ScopedHandle final(CreateEventA(nullptr, TRUE, FALSE, "NvStoreStressFinal"));
    ChildProcess writers[4];
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(writers[i].start(child("stress " + std::to_string(i) + " 500")));
    std::map<int, int> lastGeneration;
    for (int i = 0; i < 4; ++i) {
        std::string line;
        ASSERT_TRUE(writers[i].waitForLine("ok lastgen=", 120000, &line)) << writers[i].output();
        lastGeneration[std::stoi(line.substr(11))] = i;
    }
    SetEvent(final.get());
    std::string text = mappingText();
    std::string expected = "final=" + std::to_string(std::hash<std::string_view>{}(text));
    for (auto& writer : writers) {
        EXPECT_TRUE(writer.waitForLine("final=", kTimeout)) << writer.output();
        EXPECT_NE(writer.output().find(expected), std::string::npos) << writer.output();
        EXPECT_EQ(writer.wait(kTimeout), 0);
    }
    EXPECT_EQ(mappingGeneration(), static_cast<uint32_t>(lastGeneration.rbegin()->first));
    int lastWriter = lastGeneration.rbegin()->second;
    EXPECT_NE(text.find("p" + std::to_string(lastWriter) + "=\"499\""), std::string::npos) << text;
    EXPECT_GE(mappingGeneration(), 1u + 500u); // the first load plus at least one writer's rounds
}

// The user's configuration is never replaced by a document that did not read it.
TEST_F(SharedStoreTest, AProcessThatCouldNotReadTheUserFileNeverSavesOverIt) {
    std::optional<std::string> before = readWholeFile(userPath);
    ScopedHandle go(CreateEventA(nullptr, TRUE, FALSE, "NvStoreGo"));
    ChildProcess importer;
    {
        ScopedHandle locked(CreateFileA(userPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locked);
        ASSERT_TRUE(importer.start(child("setlater NVFavTreeRoot\\Favoriten item_0 Neu")));
        ASSERT_TRUE(importer.waitForLine("open 0", kTimeout)) << importer.output();
    }
    SetEvent(go.get());
    ASSERT_TRUE(importer.waitForLine("saved again", kTimeout)) << importer.output();
    EXPECT_NE(importer.output().find("saved 0"), std::string::npos);
    EXPECT_NE(importer.output().find("saved again 0"), std::string::npos);
    size_t first = importer.output().find("message: Die Konfiguration wurde nicht gespeichert");
    EXPECT_NE(first, std::string::npos) << importer.output();
    EXPECT_EQ(importer.output().find("message: Die Konfiguration wurde nicht gespeichert", first + 1),
              std::string::npos); // said once
    EXPECT_EQ(readWholeFile(userPath), before);
}

TEST_F(SharedStoreTest, AProcessJoiningANeverPublishedBlockLoadsTheFilesItself) {
    ChildProcess failed;
    {
        ScopedHandle locked(CreateFileA(userPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(failed.start(child("hold")));
        ASSERT_TRUE(failed.waitForLine("open 0", kTimeout)) << failed.output();
    }
    std::string output = runChild("set Import k v --save");
    EXPECT_NE(output.find("open 1"), std::string::npos) << output;
    EXPECT_NE(output.find("saved 1"), std::string::npos) << output;
    EXPECT_EQ(readFile(userPath), kUserFile + "[Registry_HKLM]\r\nVersion=\"5.0\"\r\n[Import]\r\nk=\"v\"\r\n");
}

TEST_F(SharedStoreTest, ANewUsersFileIsCreatedByTheFirstSave) {
    // Without a per-user file the first process loads nothing and stays detached; its save
    // creates the file with what it holds.
    DeleteFileA(userPath.c_str());
    std::string output = runChild("set Neu Benutzer \"Ein neuer Benutzer der Suite\" --save");
    EXPECT_NE(output.find("saved 1"), std::string::npos) << output;
    EXPECT_TRUE(isEncryptedFile(userPath));
    EXPECT_EQ(readFile(userPath), "[Neu]\r\nBenutzer=\"Ein neuer Benutzer der Suite\"\r\n");
}

TEST_F(SharedStoreTest, NvToolSetsGetsAndDumpsTheStoreOfARunningProgram) {
    const std::string nvtool = "\"" + testExecutableDirectory() + "nvtool.exe\" ";
    std::string output;
    EXPECT_EQ(runProcess(nvtool + "store dump", &output), 1); // nobody holds the store yet

    ChildProcess holder;
    ASSERT_TRUE(holder.start(nvtool + "store hold 60"));
    ASSERT_TRUE(holder.waitForLine("store open", kTimeout)) << holder.output();
    ASSERT_EQ(runProcess(nvtool + "store dump", &output), 0);
    ASSERT_EQ(output.rfind("generation ", 0), 0u) << output;
    unsigned long before = std::stoul(output.substr(11));
    EXPECT_NE(output.find("[Registry_HKLM]\r\nVersion=\"5.0\"\r\n"), std::string::npos);

    EXPECT_EQ(runProcess(nvtool + "store set Test k v"), 0);
    EXPECT_EQ(runProcess(nvtool + "store get Test k", &output), 0);
    EXPECT_EQ(output, "v\n");
    EXPECT_EQ(runProcess(nvtool + "store dump", &output), 0);
    EXPECT_EQ(output.rfind("generation " + std::to_string(before + 1) + "\n", 0), 0u) << output;
    EXPECT_EQ(runProcess(nvtool + "store get Test missing", &output), 1);
    EXPECT_EQ(runProcess(nvtool + "store set Test k"), 2);

    EXPECT_EQ(runProcess(nvtool + "store set Saved k v --save"), 0);
    EXPECT_NE(readFile(userPath)->find("[Saved]\r\nk=\"v\"\r\n"), std::string::npos);
}

TEST_F(SharedStoreTest, AFailedLoadOfSystemIniNeverMakesASaveWriteIntoIt) {
    ASSERT_TRUE(DeleteFileA(systemIni.c_str()));
    MessageCapture messages;
    EXPECT_FALSE(store.open());
    EXPECT_EQ(messages.texts().size(), 1u); // the read message for "system.ini"
    EXPECT_EQ(store.fileName(), userPath);
    store.setValue("User", "k", "v");
    EXPECT_TRUE(store.save());
    EXPECT_FALSE(fileExists(systemIni));
    EXPECT_EQ(readFile(userPath), kUserFile + "[User]\r\nk=\"v\"\r\n");
}
