#include <gtest/gtest.h>

#include "app/RunMode.h"

TEST(RunMode, SwitchesAreCaseSensitiveSubstringsAndFavoritesWins) {
    EXPECT_EQ(selectRunMode("ImportExport.exe -Favorites"), RunMode::Favorites);
    EXPECT_EQ(selectRunMode("\"C:\\x-Favorites\\ImportExport.exe\""), RunMode::Favorites);
    EXPECT_EQ(selectRunMode("a.exe xx-Favoritesyy"), RunMode::Favorites);
    EXPECT_EQ(selectRunMode("a.exe -favorites"), RunMode::None);
    EXPECT_EQ(selectRunMode("a.exe -Archiv -Favorites"), RunMode::Favorites);
    EXPECT_EQ(selectRunMode("a.exe -Archive"), RunMode::Archive);
    EXPECT_EQ(selectRunMode("a.exe -archiv"), RunMode::None);
    EXPECT_EQ(selectRunMode(""), RunMode::None);
}
