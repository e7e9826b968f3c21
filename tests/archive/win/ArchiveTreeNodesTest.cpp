#include <gtest/gtest.h>

#include "config/SharedStore.h"
#include "favorites/FavoritePaths.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"
#include "support/TestSupport.h"

namespace {
struct ArchiveTreeNodes : testing::Test {
    SharedStore store;
    SharedStoreNodes nodes{store};
};
} // namespace

TEST_F(ArchiveTreeNodes, ListsEndAtTheFirstGapAndFindItemKeyReturnsTheFreeSlot) {
    nodes.setNodeValue("NVOfflineTreeRoot\\A", "item_0", "News");
    nodes.setNodeValue("NVOfflineTreeRoot\\A", "item_2", "Spaet");
    EXPECT_EQ(findItemKey(nodes, "NVOfflineTreeRoot\\A"), "item_1");
    const std::string news = "News", lower = "news";
    EXPECT_EQ(findItemKey(nodes, "NVOfflineTreeRoot\\A", &news), "item_0");
    EXPECT_EQ(findItemKey(nodes, "NVOfflineTreeRoot\\A", &lower), "item_1");
    EXPECT_FALSE(hasItem(nodes, "NVOfflineTreeRoot\\A", "Spaet"));
    EXPECT_EQ(findItemKey(nodes, "NVOfflineTreeRoot\\Leer"), "item_0");
}

TEST_F(ArchiveTreeNodes, HasItemIgnoresCaseAsTheSectionNamesDo) {
    nodes.setNodeValue("NVOfflineTreeRoot", "item_0", "News");
    nodes.setNodeValue("NVOfflineTreeRoot", "item_1",
                       "\xDC"
                       "bersicht");
    EXPECT_TRUE(hasItem(nodes, "NVOfflineTreeRoot", "news"));
    EXPECT_TRUE(hasItem(nodes, "nvofflinetreeroot", "NEWS"));
    // Another section for the store (ASCII letters only fold), so another child.
    EXPECT_FALSE(hasItem(nodes, "NVOfflineTreeRoot",
                         "\xFC"
                         "bersicht"));
    EXPECT_FALSE(hasItem(nodes, "NVOfflineTreeRoot", "New"));
    EXPECT_EQ(nodes.getNodeValue("NVOfflineTreeRoot", "fehlt"), "");
}
