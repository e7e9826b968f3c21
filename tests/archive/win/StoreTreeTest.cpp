#include <gtest/gtest.h>

#include "config/IniFile.h"
#include "config/SharedIni.h"
#include "favorites/StoreTree.h"
#include "support/TestSupport.h"

namespace {
struct StoreTree : testing::Test {
    void SetUp() override { theIniFile().clear(); }
    void TearDown() override { theIniFile().clear(); }
};
} // namespace

TEST_F(StoreTree, ListsEndAtTheFirstGapAndFindItemKeyReturnsTheFreeSlot) {
    setNodeValue("NVOfflineTreeRoot\\A", "item_0", "News");
    setNodeValue("NVOfflineTreeRoot\\A", "item_2", "Spaet");
    EXPECT_EQ(findItemKey("NVOfflineTreeRoot\\A"), "item_1");
    EXPECT_EQ(findItemKey("NVOfflineTreeRoot\\A", "News"), "item_0");
    EXPECT_EQ(findItemKey("NVOfflineTreeRoot\\A", "news"), "item_1");
    EXPECT_FALSE(hasItem("NVOfflineTreeRoot\\A", "Spaet"));
    EXPECT_EQ(findItemKey("NVOfflineTreeRoot\\Leer"), "item_0");
}

TEST_F(StoreTree, HasItemIgnoresCaseIncludingGermanLetters) {
    setNodeValue("NVOfflineTreeRoot", "item_0", "News");
    setNodeValue("NVOfflineTreeRoot", "item_1",
                 "\xDC"
                 "bersicht");
    EXPECT_TRUE(hasItem("NVOfflineTreeRoot", "news"));
    EXPECT_TRUE(hasItem("nvofflinetreeroot", "NEWS"));
    EXPECT_TRUE(hasItem("NVOfflineTreeRoot", "\xFC"
                                             "bersicht"));
    EXPECT_FALSE(hasItem("NVOfflineTreeRoot", "New"));
    EXPECT_EQ(getNodeValue("NVOfflineTreeRoot", "fehlt"), "");
}

TEST_F(StoreTree, PathHelpers) {
    EXPECT_EQ(getFavTreeRoot(), "NVFavTreeRoot");
    EXPECT_EQ(getOfflineTreeRoot(), "NVOfflineTreeRoot");
    EXPECT_EQ(getFileNameOfPath("C:\\x\\Rom.htm"), "Rom.htm");
    EXPECT_EQ(getFileNameOfPath("Rom.htm"), "Rom.htm");
    std::string name;
    EXPECT_EQ(getPageFilesFolder("C:\\Archiv\\seite.htm", name), "C:/Archiv/seite-Dateien");
    EXPECT_EQ(name, "seite-Dateien");
    EXPECT_EQ(getPageFilesFolder("x\\seite.html", name), "x/seite.-Dateien");
    EXPECT_EQ(name, "seite.-Dateien");
}
