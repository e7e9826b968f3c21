#include <gtest/gtest.h>

#include "ArchiveTestFiles.h"
#include "archive/FileChecks.h"
#include "platform/FileSystem.h"
#include "support/TestSupport.h"

TEST(FileChecks, SplitsPathsIntoFolderAndFileName) {
    EXPECT_EQ(getFolderPart("C:\\x\\y.sad"), "C:\\x\\");
    EXPECT_EQ(getFileName("C:\\x\\y.sad"), "y.sad");
    EXPECT_EQ(getFolderPart("y.sad"), "y.sad");
    EXPECT_EQ(getFileName("y.sad"), "y.sad");
    EXPECT_EQ(getFileName("C:\\x\\"), "");
}

TEST(FileChecks, MakeTempNameGivesAFreshNameWithoutExtensionAndLeavesNothing) {
    TempDir dir;
    std::string first = makeTempName(dir.path());
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(getFolderPart(first), dir.path() + "\\");
    EXPECT_EQ(first.find(".tmp"), std::string::npos);
    EXPECT_FALSE(fileExists(first));
    EXPECT_FALSE(fileExists(first + ".tmp"));
    ASSERT_TRUE(createDirectory(first, false));
    std::string second = makeTempName(dir.path());
    EXPECT_NE(second, first);
    EXPECT_EQ(makeTempName(dir.file("fehlt")), "");
}

TEST(FileChecks, IsValidFileNameAsksAboutEmptyAndForbiddenNames) {
    QuestionScript questions({IDOK, false});
    EXPECT_FALSE(isValidFileName(""));
    EXPECT_FALSE(isValidFileName("Rom's page"));
    EXPECT_FALSE(isValidFileName("a<b"));
    EXPECT_TRUE(isValidFileName("Rom page.htm"));
    ASSERT_EQ(questions.asked().size(), 3u);
    EXPECT_EQ(questions.asked()[0].key, "MessageBoxFileNameEmpty");
    EXPECT_EQ(questions.asked()[0].insert, "");
    EXPECT_EQ(questions.asked()[1].key, "MessageBoxInvalidFileName");
    EXPECT_EQ(questions.asked()[1].insert, "\\/:*?\"<>|'");
    EXPECT_EQ(questions.asked()[2].key, "MessageBoxInvalidFileName");
}

TEST(FileChecks, DiskSpaceTests) {
    EXPECT_TRUE(hasDiskSpace(0, ""));
    EXPECT_FALSE(hasDiskSpace(1, ""));
    EXPECT_TRUE(hasDiskSpace(1, "C:"));
    EXPECT_TRUE(hasDiskSpace(1, "C:\\"));
    EXPECT_FALSE(hasDiskSpace(1ull << 62, "C:")); // more than any drive holds: a 32-bit count would wrap
    EXPECT_FALSE(hasDiskSpace(1, "Q:\\kein\\laufwerk"));

    TempDir dir;
    writeTextFile(dir.file("a.sad"), std::string(600, 'a'));
    EXPECT_TRUE(hasDiskSpaceFor(dir.file("a.sad"), "a.sad")); // no "\": no test at all
    EXPECT_TRUE(hasDiskSpaceFor(dir.file("fehlt.sad"), "a.sad"));
    EXPECT_FALSE(hasDiskSpaceFor(dir.file("a.sad"), "\\\\server\\share\\a.sad"));
    EXPECT_TRUE(hasDiskSpaceFor(dir.file("a.sad"), dir.file("b.sad")));
    EXPECT_FALSE(hasDiskSpaceFor(dir.file("fehlt.sad"), dir.file("b.sad")));
}

TEST(FileChecks, DestinationsTheirRootsAndWhetherTheyAreThere) {
    EXPECT_EQ(getSpaceRoot("D:\\Sicherung\\a.sad"), "D:");
    EXPECT_EQ(getSpaceRoot("\\\\server\\share\\Sicherung\\a.sad"), "\\\\server\\share\\");
    EXPECT_EQ(getSpaceRoot("\\\\server\\share\\a.sad"), "\\\\server\\share\\");
    EXPECT_EQ(getSpaceRoot("\\Sicherung\\a.sad"), "\\"); // the current drive
    EXPECT_EQ(getSpaceRoot("a.sad"), "");
    EXPECT_EQ(getSpaceRoot("\\\\server\\a.sad"), "");
    EXPECT_EQ(getSpaceRoot("\\\\\\share\\a.sad"), "");

    TempDir dir;
    EXPECT_TRUE(isDestinationReachable("a.sad"));
    EXPECT_TRUE(isDestinationReachable(dir.file("a.sad")));
    EXPECT_TRUE(isDestinationReachable("C:\\a.sad"));
    EXPECT_FALSE(isDestinationReachable(dir.file("fehlt\\a.sad")));
    EXPECT_FALSE(isDestinationReachable("Q:\\kein\\laufwerk.sad"));
    EXPECT_FALSE(isDestinationReachable("\\\\server\\share\\a.sad"));

    WineShare share;
    if (!share.available()) GTEST_SKIP() << "no share";
    writeTextFile(dir.file("a.sad"), std::string(600, 'a'));
    EXPECT_TRUE(isDestinationReachable(share.file("a.sad")));
    EXPECT_TRUE(hasDiskSpaceFor(dir.file("a.sad"), share.file("a.sad")));
}
