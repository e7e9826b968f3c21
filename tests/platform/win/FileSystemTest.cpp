#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

TEST(Paths, AppendAndParent) {
    EXPECT_EQ(appendPath("C:\\a", "b"), "C:\\a\\b");
    EXPECT_EQ(appendPath("C:\\a\\", "b"), "C:\\a\\b");
    EXPECT_EQ(getParentPath("C:\\a\\b.txt"), "C:\\a");
    EXPECT_EQ(getParentPath("name"), "");
}

TEST(Directories, ExistenceCreationAndDeletion) {
    TempDir dir;
    std::string file = dir.file("f.txt");
    ASSERT_TRUE(writeTextFile(file, "x"));
    EXPECT_TRUE(fileExists(dir.path()));
    EXPECT_TRUE(fileExists(file));
    EXPECT_TRUE(fileExists(dir.file("*.txt")));
    EXPECT_FALSE(fileExists(dir.file("g.txt")));
    EXPECT_TRUE(isDirectory(dir.path()));
    EXPECT_FALSE(isDirectory(file));

    std::string deep = dir.file("a\\b\\c");
    EXPECT_TRUE(createDirectory(deep, true));
    EXPECT_TRUE(isDirectory(deep));
    EXPECT_FALSE(createDirectory(deep, false)); // already there

    std::string readOnly = deep + "\\ro.txt";
    ASSERT_TRUE(writeTextFile(readOnly, "r"));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(deleteDirectory(dir.file("a")));
    EXPECT_FALSE(fileExists(dir.file("a")));
    EXPECT_FALSE(deleteDirectory(dir.file("a")));
}

TEST(Directories, CopyAndMoveTrees) {
    TempDir dir;
    std::string source = dir.file("src");
    createDirectory(source + "\\sub", false);
    writeTextFile(source + "\\one.txt", "1");
    writeTextFile(source + "\\sub\\two.txt", "2");

    std::string copy = dir.file("copy");
    EXPECT_TRUE(copyDirectory(source, copy, false));
    EXPECT_EQ(readTextFile(copy + "\\one.txt"), "1");
    EXPECT_EQ(readTextFile(copy + "\\sub\\two.txt"), "2");
    EXPECT_TRUE(fileExists(source + "\\sub\\two.txt"));

    std::string moved = dir.file("moved");
    createDirectory(moved, false);
    writeTextFile(moved + "\\one.txt", "old");
    EXPECT_TRUE(copyDirectory(source, moved, true));
    EXPECT_EQ(readTextFile(moved + "\\one.txt"), "1");
    EXPECT_EQ(readTextFile(moved + "\\sub\\two.txt"), "2");
    EXPECT_FALSE(fileExists(source));
    EXPECT_FALSE(copyDirectory(dir.file("missing"), dir.file("x"), false));
}

TEST(Files, MoveWholeFilesAndDate) {
    TempDir dir;
    std::string from = dir.file("a.txt");
    writeTextFile(from, "content");
    EXPECT_FALSE(moveFile(from, ""));
    EXPECT_TRUE(moveFile(from, dir.file("new\\folder\\b.txt")));
    EXPECT_FALSE(fileExists(from));
    EXPECT_EQ(readTextFile(dir.file("new\\folder\\b.txt")), "content");
    EXPECT_FALSE(moveFile(from, dir.file("c.txt")));

    std::string path = dir.file("whole.bin");
    const char data[] = {'a', 0, 'b'};
    EXPECT_TRUE(writeWholeFile(path, data, 3, false, false));
    EXPECT_EQ(readWholeFile(path), std::string(data, 3));
    EXPECT_TRUE(writeWholeFile(path, "X", 1, true, false)); // keeps the rest
    EXPECT_EQ(readWholeFile(path), std::string("X\0b", 3));
    EXPECT_FALSE(readWholeFile(dir.file("missing")).has_value());
    {
        MessageCapture messages;
        EXPECT_FALSE(writeWholeFile(dir.file("no\\such\\dir\\f"), "x", 1, false, true));
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_EQ(messages.texts()[0], "unable to write file '" + dir.file("no\\such\\dir\\f") + "'");
        EXPECT_FALSE(writeWholeFile(dir.file("no\\such\\dir\\f"), "x", 1, false, false));
        EXPECT_EQ(messages.texts().size(), 1u);
    }

    SYSTEMTIME now;
    GetLocalTime(&now);
    char expected[16];
    std::snprintf(expected, sizeof(expected), "%02d.%02d.%04d", now.wDay, now.wMonth, now.wYear);
    EXPECT_EQ(getDateString(), expected);
}
