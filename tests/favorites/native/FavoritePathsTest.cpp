#include <gtest/gtest.h>

#include "favorites/FavoritePaths.h"

TEST(FavoritePaths, TreeItemPaths) {
    EXPECT_EQ(composeTreeItemPath({}, "Favoriten", true), "Favoriten");
    EXPECT_EQ(composeTreeItemPath({}, "A/B", true), "A/B");
    EXPECT_EQ(composeTreeItemPath({"A"}, "B", true), "A\\B");
    EXPECT_EQ(composeTreeItemPath({"Favoriten", "News"}, "Sport", true), "Favoriten\\News\\Sport");
    EXPECT_EQ(composeTreeItemPath({"Favoriten", "a/b"}, "c", true), "Favoriten\\a\\b\\c");
    EXPECT_EQ(composeTreeItemPath({"Favoriten", "News"}, "Link", false), "Favoriten\\News");
}

TEST(FavoritePaths, FolderPathParts) {
    EXPECT_EQ(splitFolderPath("Favoriten\\News\\Sport").parent, "Favoriten\\News");
    EXPECT_EQ(splitFolderPath("Favoriten\\News\\Sport").name, "Sport");
    EXPECT_EQ(splitFolderPath("Favoriten").parent, "");
    EXPECT_EQ(splitFolderPath("Favoriten").name, "Favoriten");
}

TEST(NetscapePaths, DerivedBookmarkFiles) {
    EXPECT_EQ(bookmarkPathFromPopstate("C:\\Netscape\\Users\\anna\\mail\\popstate.dat"),
              "C:\\Netscape\\Users\\anna\\bookmark.htm");
    EXPECT_EQ(bookmarkPathFromPopstate("short"), "bookmark.htm");
    EXPECT_EQ(bookmarkPathFromInstallDirectory("C:\\Programme\\Netscape\\Communicator", "anna"),
              "C:\\Programme\\Netscape\\Users\\anna\\bookmark.htm");
    EXPECT_EQ(bookmarkPathFromInstallDirectory("Communicator", "anna"), "\\Users\\anna\\bookmark.htm");
    EXPECT_EQ(defaultBookmarkPathFrom("C:\\Programme"),
              "C:\\Programme\\Netscape\\Users\\default\\bookmark.htm");
}
