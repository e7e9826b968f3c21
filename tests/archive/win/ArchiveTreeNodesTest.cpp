#include <gtest/gtest.h>

#include "config/IniFile.h"
#include "config/SharedIni.h"
#include "favorites/FavoritePaths.h"
#include "store/SharedStoreNodes.h"
#include "support/TestSupport.h"

namespace {
struct ArchiveTreeNodes : testing::Test {
    void SetUp() override { theIniFile().clear(); }
    void TearDown() override { theIniFile().clear(); }
};
} // namespace

TEST_F(ArchiveTreeNodes, ListsEndAtTheFirstGapAndFindItemKeyReturnsTheFreeSlot) {
    setNodeValue("NVOfflineTreeRoot\\A", "item_0", "News");
    setNodeValue("NVOfflineTreeRoot\\A", "item_2", "Spaet");
    EXPECT_EQ(findItemKey("NVOfflineTreeRoot\\A"), "item_1");
    const std::string news = "News", lower = "news";
    EXPECT_EQ(findItemKey("NVOfflineTreeRoot\\A", &news), "item_0");
    EXPECT_EQ(findItemKey("NVOfflineTreeRoot\\A", &lower), "item_1");
    EXPECT_FALSE(hasItem("NVOfflineTreeRoot\\A", "Spaet"));
    EXPECT_EQ(findItemKey("NVOfflineTreeRoot\\Leer"), "item_0");
}

TEST_F(ArchiveTreeNodes, HasItemIgnoresCaseAsTheSectionNamesDo) {
    setNodeValue("NVOfflineTreeRoot", "item_0", "News");
    setNodeValue("NVOfflineTreeRoot", "item_1",
                 "\xDC"
                 "bersicht");
    EXPECT_TRUE(hasItem("NVOfflineTreeRoot", "news"));
    EXPECT_TRUE(hasItem("nvofflinetreeroot", "NEWS"));
    // Another section for the store (ASCII letters only fold), so another child.
    EXPECT_FALSE(hasItem("NVOfflineTreeRoot", "\xFC"
                                              "bersicht"));
    EXPECT_FALSE(hasItem("NVOfflineTreeRoot", "New"));
    EXPECT_EQ(getNodeValue("NVOfflineTreeRoot", "fehlt"), "");
}
