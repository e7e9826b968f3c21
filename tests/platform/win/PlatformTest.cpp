#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/ProfileValues.h"
#include "platform/ProgramPaths.h"
#include "support/TestSupport.h"

namespace {
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
} // namespace

TEST(ProgramPaths, ProgramDirectoryIsLowerCaseWithTrailingBackslashAndCurrent) {
    setupPaths();
    std::string directory = getProgramDirectory();
    std::string expected = testExecutableDirectory();
    for (char& c : expected) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(directory, expected);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(current), current);
    EXPECT_EQ(lstrcmpiA((std::string(current) + "\\").c_str(), directory.c_str()), 0);
}

// Only ASCII letters are lowered: the capital A umlaut stays as it is.
TEST(ProgramPaths, ProgramDirectoryOfAMixedCasePathIsLowerCase) {
    TempDir dir;
    std::string folder = dir.file("Mixed Case\\\xC4QUENDAL");
    CreateDirectoryA(dir.file("Mixed Case").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string copy = folder + "\\App.exe";
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, sizeof(module));
    ASSERT_TRUE(CopyFileA(module, copy.c_str(), FALSE));
    std::string output;
    SetEnvironmentVariableA("NV_CHILD", "directory");
    int code = runProcess("\"" + copy + "\" --gtest_filter=ProgramPaths.PrintDirectory", &output);
    SetEnvironmentVariableA("NV_CHILD", nullptr);
    EXPECT_EQ(code, 0);
    std::string lower = folder + "\\";
    for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(output.find("program directory: [" + lower + "]"), std::string::npos) << output;
}

// The child side of the test above.
TEST(ProgramPaths, PrintDirectory) {
    if (!isChildRole("directory")) GTEST_SKIP() << "runs as a child process only";
    setupPaths();
    std::printf("program directory: [%s]\n", getProgramDirectory().c_str());
}

TEST(ProgramPaths, IniFilePathRules) {
    RegistryValueGuard appData(HKEY_CURRENT_USER, kShellFolders, "AppData", std::string("D:\\Daten"));
    std::string common = getCommonAppDataPath();
    ASSERT_FALSE(common.empty());
    const std::string suite = "\\Quendal\\Quendal_Software_5\\Browser\\";
    EXPECT_EQ(getIniFilePath("system.ini"), common + suite + "system.ini");
    EXPECT_EQ(getIniFilePath("USER.INI"), common + suite + "USER.INI");
    EXPECT_EQ(getIniFilePath("NvUsrMgr.ini"), common + suite + "NvUsrMgr.ini");
    EXPECT_EQ(getIniFilePath("USR0001.INI"), "D:\\Daten" + suite + "USR0001.INI");
    EXPECT_EQ(getIniFilePath("nvarchive.ini"), getProgramDirectory() + "ini\\nvarchive.ini");
    EXPECT_EQ(getIniFilePath("user0001.ini"), getProgramDirectory() + "ini\\user0001.ini");
    RegistryValueGuard noAppData(HKEY_CURRENT_USER, kShellFolders, "AppData", std::nullopt);
    EXPECT_EQ(getIniFilePath("usr1.ini"), "c:\\" + suite + "usr1.ini");
}

TEST(Platform, SystemErrorTextsAndFamily) {
    std::string text = "stale";
    EXPECT_FALSE(getSystemErrorText(0, text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(getSystemErrorText(ERROR_FILE_NOT_FOUND, text));
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(getSystemErrorText(0x2000FFFF, text));
    EXPECT_EQ(text, "Fehler: 536936447");

    EXPECT_FALSE(isWin9x());
}

TEST(Platform, SessionNotificationUnregisterWithoutRegisterDoesNothing) {
    EXPECT_EQ(setSessionNotification(0, nullptr), 0);
    EXPECT_EQ(setSessionNotification(2, nullptr), 0);
}

TEST(ProfileValues, WritesQuotedValuesAndReadsThemBack) {
    TempDir dir;
    std::string file = dir.file("nvarchive.ini");
    EXPECT_TRUE(writeProfileValue("NVOfflineTreeRoot", "item_0", "Reisen", file));
    EXPECT_EQ(readTextFile(file), "[NVOfflineTreeRoot]\r\nitem_0=\"Reisen\"\r\n");
    EXPECT_EQ(readProfileValue("NVOfflineTreeRoot", "item_0", file), "Reisen");
    EXPECT_EQ(readProfileValue("NVOfflineTreeRoot", "item_1", file), "");
    writeProfileValue("S", "long", std::string(1500, 'x'), file);
    EXPECT_EQ(readProfileValue("S", "long", file), std::string(1023, 'x'));
}
