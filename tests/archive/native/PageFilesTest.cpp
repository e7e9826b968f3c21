#include <gtest/gtest.h>

#include "archive/PageFiles.h"

TEST(PageFiles, CompanionFolders) {
    std::string folder;
    EXPECT_EQ(getPageFilesFolder("C:\\Archiv\\seite.htm", folder), "C:/Archiv/seite-Dateien");
    EXPECT_EQ(folder, "seite-Dateien");
    EXPECT_EQ(getPageFilesFolder("x\\seite.html", folder), "x/seite.-Dateien");
    EXPECT_EQ(folder, "seite.-Dateien");
    EXPECT_EQ(getPageFilesFolder("a.h", folder), "-Dateien");
    EXPECT_EQ(folder, "-Dateien");
}
