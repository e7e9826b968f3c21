#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "support/TestSupport.h"

// The program's fixed messages are Windows-1252: the test environment must run with that ANSI
// code page, and German text must survive the ANSI file and registry functions unchanged.
TEST(CodePage, AnsiCodePageIs1252) { EXPECT_EQ(GetACP(), 1252u); }

TEST(CodePage, GermanTextRoundTripsThroughAnsiFileAndRegistryFunctions) {
    const std::string back = "Zur\xFC"
                             "ck";
    const std::string open = "\xD6"
                             "ffnen";
    TempDir dir;
    std::string path = dir.file(back + " " + open + ".txt");
    ASSERT_TRUE(writeTextFile(path, back + open));
    EXPECT_TRUE(fileExists(path));
    EXPECT_EQ(readTextFile(path), back + open);

    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(dir.file("*.txt").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::string(data.cFileName), back + " " + open + ".txt");
    FindClose(find);

    // The wide form proves the bytes were taken as Windows-1252: U+00FC and U+00D6.
    wchar_t wide[32] = {};
    MultiByteToWideChar(CP_ACP, 0, back.c_str(), -1, wide, 32);
    EXPECT_EQ(wide[3], 0x00FC);

    const std::string key = "Software\\NvTests\\CodePage";
    RegistryValueGuard guard(HKEY_CURRENT_USER, key, back, open);
    EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, key, back, ""), open);
    deleteRegistryTree(HKEY_CURRENT_USER, "Software\\NvTests");
}
