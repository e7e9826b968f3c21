#include <gtest/gtest.h>

#include "config/Blowfish.h"
#include "config/ConfigFile.h"
#include "config/ProcessStore.h"
#include "config/SharedStore.h"
#include "config/SharedMapping.h"
#include "config/SharedText.h"
#include "platform/FileSystem.h"
#include "platform/ProgramPaths.h"
#include "support/TestSupport.h"

namespace {
const char* const kSuiteKey = "Software\\Quendal\\Quendal_Software_5\\Browser";
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A test skin "SkinLookupTest" beside the test program and a configuration naming it.
class SkinLookupTest : public testing::Test {
  protected:
    TempDir appData;
    RegistryValueGuard user{HKEY_CURRENT_USER, kSuiteKey, "CurrentUser", std::string("usrSkinTest")};
    RegistryValueGuard appDataFolder{HKEY_CURRENT_USER, kShellFolders, "AppData", appData.path()};
    std::string systemIni = getIniFilePath("system.ini");
    std::string userIni = getIniFilePath("user.ini");
    std::optional<std::string> savedSystem = readWholeFile(systemIni);
    std::optional<std::string> savedUser = readWholeFile(userIni);
    std::string skinFile = getProgramDirectory() + "SkinLookupTest.ini";
    std::string userPath;
    const std::string longValue = std::string(300, 'L');
    SharedStore store{SkinSections::inSkinFile};

    void SetUp() override {
        createDirectory(getParentPath(systemIni), false);
        writeTextFile(systemIni, "[Registry_HKLM]\r\nVersion=\"5.0\"\r\n");
        writeTextFile(userIni, "[Registry_HKCU]\r\nCurrentSkin=\"Skin0000\"\r\n");
        userPath = getUserIniPath();
        createDirectory(getParentPath(userPath), false);
        writeUserFile("[Registry_HKCU]\r\nCurrentSkin=\"SkinLookupTest\"\r\n[Benutzer]\r\nName=\"Anna\"\r\n");
        writeTextFile(skinFile, "[Layout]\r\nMessageBoxArchivTip1=\"0;0;400;200;1;Hinweis\"\r\n"
                                "[StyleGuide]\r\nMessage=\"0;0;0;20;20;20;0;0;0;-12;0;0;0;400;0;0;0;0;0;0;0;0;Tahoma\"\r\n"
                                "[Layout_MessageBoxArchivTip1]\r\nMessage=\"0;10;10;-10;-50;Bitte w\xE4hlen Sie eine Datei.\"\r\n"
                                "Long=\"" + longValue + "\"\r\n"
                                "[Layout_TreeIcons]\r\nFolderClosed=\"tree\\folder.bmp\"\r\n");
    }

    void TearDown() override {
        store.close();
        DeleteFileA(skinFile.c_str());
        restore(systemIni, savedSystem);
        restore(userIni, savedUser);
    }

    void writeUserFile(std::string text) {
        encipherContent(text);
        writeTextFile(userPath, text);
    }

    static void restore(const std::string& path, const std::optional<std::string>& content) {
        if (content)
            writeTextFile(path, *content);
        else
            DeleteFileA(path.c_str());
    }
};
} // namespace

TEST_F(SkinLookupTest, NtFamilyReadsTheSkinFileAndCutsValuesAt255) {
    ASSERT_TRUE(store.open());
    EXPECT_EQ(store.currentSkin(), "SkinLookupTest");
    EXPECT_EQ(store.skinDirectory(), getProgramDirectory() + "SkinLookupTest\\");
    EXPECT_EQ(store.layoutValue("MessageBoxArchivTip1"), "0;0;400;200;1;Hinweis");
    EXPECT_EQ(store.layoutValue("messageboxarchivtip1"), "0;0;400;200;1;Hinweis"); // profile API: no case
    EXPECT_EQ(store.layoutSectionValue("MessageBoxArchivTip1", "Message"),
              "0;10;10;-10;-50;Bitte w\xE4hlen Sie eine Datei.");
    EXPECT_EQ(store.layoutSectionValue("MessageBoxArchivTip1", "Long"), longValue.substr(0, 255));
    EXPECT_EQ(store.layoutSectionValue("MessageBoxArchivTip1", "Missing"), "");
    EXPECT_EQ(store.layoutSectionValue("NoSuchDialog", "Message"), "");
    EXPECT_EQ(store.styleGuideValue("Message").substr(0, 6), "0;0;0;");
    EXPECT_EQ(store.treeIconsPath("FolderClosed"),
              getProgramDirectory() + "SkinLookupTest\\tree\\folder.bmp");
    // On this family the skin never enters the store.
    EXPECT_EQ(store.getValue("Layout", "MessageBoxArchivTip1", "<none>"), "<none>");
}

TEST_F(SkinLookupTest, AMessageTheSkinLacksFallsBackToAnother) {
    ASSERT_TRUE(store.open());
    EXPECT_EQ(store.chooseMessageKey("MessageBoxArchivTip1", "MessageBoxArchivTip2"), "MessageBoxArchivTip1");
    EXPECT_EQ(store.chooseMessageKey("MessageBoxFavImportIncomplete", "MessageBoxFavImportSuccess"),
              "MessageBoxFavImportSuccess");
}

TEST_F(SkinLookupTest, Win9xFamilyReadsTheSkinFromTheStoreAndNeverSavesIt) {
    SharedStore win9x(SkinSections::inStore);
    ASSERT_TRUE(win9x.open());
    EXPECT_EQ(win9x.layoutValue("MessageBoxArchivTip1"), "0;0;400;200;1;Hinweis");
    EXPECT_EQ(win9x.layoutValue("messageboxarchivtip1"), ""); // keys are exact in the store
    EXPECT_EQ(win9x.layoutSectionValue("messageboxarchivtip1", "Long"), longValue); // sections are not
    EXPECT_EQ(win9x.layoutSectionValue("MessageBoxArchivTip1", "Missing"), "");
    {
        SharedLock lock(win9x.mutex());
        EXPECT_NE(std::string(sharedText(win9x.view())).find("[Layout_TreeIcons]"), std::string::npos);
    }
    ASSERT_TRUE(win9x.save());
    EXPECT_EQ(readFile(userPath), "[Registry_HKCU]\r\nCurrentSkin=\"SkinLookupTest\"\r\n[Benutzer]\r\nName=\"Anna\"\r\n"
                                  "[Registry_HKLM]\r\nVersion=\"5.0\"\r\n");
}

TEST_F(SkinLookupTest, TheSkinLookupsOfTheProcessGoToTheStoreItsOwnerBoundLast) {
    {
        ProcessStore outer(SkinSections::inStore);
        outer->document().parse("[Layout]\r\nWindow=\"outer\"\r\n", nullptr);
        {
            ProcessStore inner(SkinSections::inStore);
            inner->document().parse("[Layout]\r\nWindow=\"inner\"\r\n", nullptr);
            EXPECT_EQ(processStore(), &inner.store());
            EXPECT_EQ(getLayoutValue("Window"), "inner");
        }
        EXPECT_EQ(getLayoutValue("Window"), "outer");
    }
    EXPECT_EQ(processStore(), nullptr);
    // Without one, a store made for the lookup reads the current skin's file.
    EXPECT_EQ(getLayoutValue("MessageBoxArchivTip1"), "0;0;400;200;1;Hinweis");
}

TEST_F(SkinLookupTest, DefaultAndCurrentSkinWithTheirMessages) {
    EXPECT_EQ(SharedStore().defaultSkin(), "Skin0000");
    writeTextFile(userIni, "[Other]\r\nx=\"1\"\r\n");
    EXPECT_EQ(SharedStore().defaultSkin(), "Skin0000"); // no entry: the built-in default
    writeTextFile(userIni, "[Registry_HKCU]\r\nCurrentSkin=\"\"\r\n");
    {
        MessageCapture messages;
        EXPECT_EQ(SharedStore().defaultSkin(), "");
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_EQ(messages.texts()[0], "Fehlender Eintrag in system.ini: [Registry_HKCU] CurrentSkin=\"\"");
    }

    writeTextFile(userIni, "[Registry_HKCU]\r\nCurrentSkin=\"SkinDefault\"\r\n");
    EXPECT_EQ(SharedStore().currentSkin(), "SkinLookupTest"); // from the per-user file
    DeleteFileA(userPath.c_str());
    MessageCapture messages;
    EXPECT_EQ(SharedStore().currentSkin(), "SkinDefault");
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "Skin: Datei " + userPath + " existiert nicht!");
}

TEST_F(SkinLookupTest, APublicationThatDoesNotFitIsRefusedWhole) {
    ASSERT_TRUE(store.open());
    store.setValue("Test", "k", "small");
    uint32_t generation;
    std::string text;
    {
        SharedLock lock(store.mutex());
        generation = readGeneration(store.view());
        text = sharedText(store.view());
    }
    MessageCapture messages;
    // Fill the document to just over the text area: 1,048,572 bytes with the zero.
    const size_t target = kSharedTextCapacity; // one byte too many for the zero
    std::string filler(2000, 'f');
    int count = 0;
    store.beginUpdate();
    while (store.document().serializedSize(true) + filler.size() + 20 < target)
        store.setValue("Filler", "k" + std::to_string(count++), filler);
    size_t current = store.document().serializedSize(true);
    std::string last(target - current - std::string("x=\"\"\r\n").size(), 'z');
    store.setValue("Filler", "x", last);
    ASSERT_EQ(store.document().serializedSize(true), target);
    EXPECT_FALSE(store.endUpdate());
    EXPECT_EQ(messages.texts().size(), 1u);
    {
        SharedLock lock(store.mutex());
        EXPECT_EQ(readGeneration(store.view()), generation);
        EXPECT_EQ(std::string(sharedText(store.view())), text);
    }
    EXPECT_FALSE(store.setValue("Test", "k", "SMALL")); // still too large: said only once
    EXPECT_EQ(messages.texts().size(), 1u);

    // One byte less fits exactly.
    store.setValue("Filler", "x", last.substr(1));
    {
        SharedLock lock(store.mutex());
        EXPECT_EQ(readGeneration(store.view()), generation + 1);
        EXPECT_EQ(sharedText(store.view()).size(), kSharedTextCapacity - 1); // and its zero
    }
}

TEST_F(SkinLookupTest, AStoreBatchThatDoesNotFitLeavesMemoryAndMappingAsTheyWere) {
    ASSERT_TRUE(store.open());
    std::string before;
    store.document().serialize(before, true);
    uint32_t generation;
    {
        SharedLock lock(store.mutex());
        generation = readGeneration(store.view());
    }
    MessageCapture messages;
    {
        StoreBatch batch(store);
        for (int i = 0; i < 600; ++i)
            store.setValue("Import", "k" + std::to_string(i), std::string(2000, 'i'));
        EXPECT_FALSE(batch.commit());
    }
    EXPECT_EQ(messages.texts().size(), 1u);
    std::string after;
    store.document().serialize(after, true);
    EXPECT_EQ(after, before);
    EXPECT_EQ(store.batchDepth(), 0);
    {
        SharedLock lock(store.mutex());
        EXPECT_EQ(readGeneration(store.view()), generation);
    }
    {
        StoreBatch batch(store);
        store.setValue("Import", "k", "v");
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_EQ(store.getValue("Import", "k", ""), "v");
    SharedLock lock(store.mutex());
    EXPECT_EQ(readGeneration(store.view()), generation + 1);
}
