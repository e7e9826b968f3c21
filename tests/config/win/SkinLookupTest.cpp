#include <gtest/gtest.h>

#include "config/Blowfish.h"
#include "config/ConfigFile.h"
#include "config/IniFile.h"
#include "config/SharedIni.h"
#include "config/SharedMapping.h"
#include "config/SharedText.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
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

    void SetUp() override {
        resetSharedIni();
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
        resetSharedIni();
        setWin9xOverride(std::nullopt);
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
    setWin9xOverride(false);
    ASSERT_TRUE(openSharedIni());
    EXPECT_EQ(getCurrentSkin(), "SkinLookupTest");
    EXPECT_EQ(getSkinDirectory(), getProgramDirectory() + "SkinLookupTest\\");
    EXPECT_EQ(getLayoutValue("MessageBoxArchivTip1"), "0;0;400;200;1;Hinweis");
    EXPECT_EQ(getLayoutValue("messageboxarchivtip1"), "0;0;400;200;1;Hinweis"); // profile API: no case
    EXPECT_EQ(getLayoutSectionValue("MessageBoxArchivTip1", "Message"), "0;10;10;-10;-50;Bitte w\xE4hlen Sie eine Datei.");
    EXPECT_EQ(getLayoutSectionValue("MessageBoxArchivTip1", "Long"), longValue.substr(0, 255));
    EXPECT_EQ(getLayoutSectionValue("MessageBoxArchivTip1", "Missing"), "");
    EXPECT_EQ(getLayoutSectionValue("NoSuchDialog", "Message"), "");
    EXPECT_EQ(getStyleGuideValue("Message").substr(0, 6), "0;0;0;");
    EXPECT_EQ(getTreeIconsPath("FolderClosed"), getProgramDirectory() + "SkinLookupTest\\tree\\folder.bmp");
    // On this family the skin never enters the store.
    EXPECT_EQ(getIniValue("Layout", "MessageBoxArchivTip1", "<none>"), "<none>");
}

TEST_F(SkinLookupTest, AMessageTheSkinLacksFallsBackToAnother) {
    setWin9xOverride(false);
    ASSERT_TRUE(openSharedIni());
    EXPECT_EQ(chooseMessageKey("MessageBoxArchivTip1", "MessageBoxArchivTip2"), "MessageBoxArchivTip1");
    EXPECT_EQ(chooseMessageKey("MessageBoxFavImportIncomplete", "MessageBoxFavImportSuccess"),
              "MessageBoxFavImportSuccess");
}

TEST_F(SkinLookupTest, Win9xFamilyReadsTheSkinFromTheStoreAndNeverSavesIt) {
    setWin9xOverride(true);
    ASSERT_TRUE(openSharedIni());
    EXPECT_EQ(getLayoutValue("MessageBoxArchivTip1"), "0;0;400;200;1;Hinweis");
    EXPECT_EQ(getLayoutValue("messageboxarchivtip1"), ""); // keys are exact in the store
    EXPECT_EQ(getLayoutSectionValue("messageboxarchivtip1", "Long"), longValue); // sections are not
    EXPECT_EQ(getLayoutSectionValue("MessageBoxArchivTip1", "Missing"), "");
    {
        SharedLock lock;
        EXPECT_NE(std::string(sharedText(sharedView())).find("[Layout_TreeIcons]"), std::string::npos);
    }
    ASSERT_TRUE(saveSharedIni());
    EXPECT_EQ(readFile(userPath), "[Registry_HKCU]\r\nCurrentSkin=\"SkinLookupTest\"\r\n[Benutzer]\r\nName=\"Anna\"\r\n"
                                  "[Registry_HKLM]\r\nVersion=\"5.0\"\r\n");
}

TEST_F(SkinLookupTest, DefaultAndCurrentSkinWithTheirMessages) {
    EXPECT_EQ(getDefaultSkin(), "Skin0000");
    resetSharedIni();
    writeTextFile(userIni, "[Other]\r\nx=\"1\"\r\n");
    EXPECT_EQ(getDefaultSkin(), "Skin0000"); // no entry: the built-in default
    resetSharedIni();
    writeTextFile(userIni, "[Registry_HKCU]\r\nCurrentSkin=\"\"\r\n");
    {
        MessageCapture messages;
        EXPECT_EQ(getDefaultSkin(), "");
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_EQ(messages.texts()[0], "Fehlender Eintrag in system.ini: [Registry_HKCU] CurrentSkin=\"\"");
    }

    resetSharedIni();
    writeTextFile(userIni, "[Registry_HKCU]\r\nCurrentSkin=\"SkinDefault\"\r\n");
    EXPECT_EQ(getCurrentSkin(), "SkinLookupTest"); // from the per-user file
    resetSharedIni();
    DeleteFileA(userPath.c_str());
    MessageCapture messages;
    EXPECT_EQ(getCurrentSkin(), "SkinDefault");
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "Skin: Datei " + userPath + " existiert nicht!");
}

TEST_F(SkinLookupTest, APublicationThatDoesNotFitIsRefusedWhole) {
    ASSERT_TRUE(openSharedIni());
    setIniValue("Test", "k", "small");
    uint32_t generation;
    std::string text;
    {
        SharedLock lock;
        generation = readGeneration(sharedView());
        text = sharedText(sharedView());
    }
    MessageCapture messages;
    // Fill the document to just over the text area: 1,048,572 bytes with the zero.
    const size_t target = kSharedTextCapacity; // one byte too many for the zero
    std::string filler(2000, 'f');
    int count = 0;
    beginUpdate();
    while (theIniFile().document().serializedSize(true) + filler.size() + 20 < target)
        setIniValue("Filler", "k" + std::to_string(count++), filler);
    size_t current = theIniFile().document().serializedSize(true);
    std::string last(target - current - std::string("x=\"\"\r\n").size(), 'z');
    setIniValue("Filler", "x", last);
    ASSERT_EQ(theIniFile().document().serializedSize(true), target);
    EXPECT_FALSE(endUpdate());
    EXPECT_EQ(messages.texts().size(), 1u);
    {
        SharedLock lock;
        EXPECT_EQ(readGeneration(sharedView()), generation);
        EXPECT_EQ(std::string(sharedText(sharedView())), text);
    }
    EXPECT_FALSE(theIniFile().setValue("Test", "k", "SMALL")); // still too large: said only once
    EXPECT_EQ(messages.texts().size(), 1u);

    // One byte less fits exactly.
    setIniValue("Filler", "x", last.substr(1));
    {
        SharedLock lock;
        EXPECT_EQ(readGeneration(sharedView()), generation + 1);
        EXPECT_EQ(sharedText(sharedView()).size(), kSharedTextCapacity - 1); // and its zero
    }
}

TEST_F(SkinLookupTest, AStoreBatchThatDoesNotFitLeavesMemoryAndMappingAsTheyWere) {
    ASSERT_TRUE(openSharedIni());
    std::string before;
    theIniFile().document().serialize(before, true);
    uint32_t generation;
    {
        SharedLock lock;
        generation = readGeneration(sharedView());
    }
    MessageCapture messages;
    {
        StoreBatch batch;
        for (int i = 0; i < 600; ++i) setIniValue("Import", "k" + std::to_string(i), std::string(2000, 'i'));
        EXPECT_FALSE(batch.commit());
    }
    EXPECT_EQ(messages.texts().size(), 1u);
    std::string after;
    theIniFile().document().serialize(after, true);
    EXPECT_EQ(after, before);
    EXPECT_EQ(theIniFile().holdCount, 0);
    {
        SharedLock lock;
        EXPECT_EQ(readGeneration(sharedView()), generation);
    }
    {
        StoreBatch batch;
        setIniValue("Import", "k", "v");
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_EQ(getIniValue("Import", "k", ""), "v");
    SharedLock lock;
    EXPECT_EQ(readGeneration(sharedView()), generation + 1);
}
