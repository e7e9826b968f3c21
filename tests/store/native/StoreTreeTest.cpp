#include <gtest/gtest.h>

#include <random>

#include "store/StoreTree.h"

namespace {
class StoreTreeTest : public testing::Test {
  protected:
    std::string value(const std::string& section, const std::string& key) {
        return store.getNodeValue(section, key);
    }
    IniDocument document;
    DocumentNodeStore store{document};
};
} // namespace

TEST_F(StoreTreeTest, ListsChildrenUpToTheFirstEmptyValue) {
    document.setValue("R", "item_0", "A");
    document.setValue("R", "item_2", "C");
    EXPECT_EQ(listChildren(store, "R"), std::vector<std::string>{"A"});
    EXPECT_EQ(findItemKey(store, "R"), "item_1");
    EXPECT_TRUE(listChildren(store, "missing").empty());
    EXPECT_EQ(findItemKey(store, "missing"), "item_0");
    EXPECT_EQ(itemKey(12), "item_12");
    EXPECT_EQ(childSection("R\\A", "B"), "R\\A\\B");
}

TEST_F(StoreTreeTest, FindItemKeyIsCaseSensitiveAndHasItemIsNot) {
    document.setValue("R", "item_0", "News");
    document.setValue("R", "item_1", "Sport");
    std::string lower = "news", exact = "Sport";
    EXPECT_EQ(findItemKey(store, "R", &exact), "item_1");
    EXPECT_EQ(findItemKey(store, "R", &lower), "item_2");
    EXPECT_TRUE(hasItem(store, "R", "news"));
    EXPECT_TRUE(hasItem(store, "R", "SPORT"));
    EXPECT_FALSE(hasItem(store, "R", "Wetter"));
    EXPECT_FALSE(hasItem(store, "R", ""));
}

TEST_F(StoreTreeTest, AddChildAppendsOnceAndFillsGaps) {
    document.setValue("R", "item_0", "A");
    document.setValue("R", "item_2", "C");
    EXPECT_EQ(addChild(store, "R", "B", true), "R\\B");
    EXPECT_EQ(value("R", "type"), "folder");
    EXPECT_EQ(value("R", "item_1"), "B");
    // The value behind the former gap is listed now, so the next child goes to item_3.
    addChild(store, "R", "D", false);
    EXPECT_EQ(value("R", "item_3"), "D");
    // A name already listed in another case is reused: nothing is written.
    EXPECT_EQ(addChild(store, "R", "c", false), "R\\c");
    EXPECT_EQ(value("R", "item_4"), "");

    // An entry child does not mark its parent as a folder.
    addChild(store, "S", "x", false);
    EXPECT_EQ(value("S", "type"), "");
    // An empty name is written to the free slot, which stays free.
    addChild(store, "S", "", false);
    EXPECT_EQ(findItemKey(store, "S"), "item_1");
}

namespace {
// The appender must place children exactly as repeated addChild calls do, whatever the lists
// hold beforehand (gaps, names in other cases, empty names, sections named in other cases).
void fillRandomly(IniDocument& document, std::mt19937& random) {
    const char* sections[] = {"R", "R\\a", "R\\A\\b"};
    for (const char* section : sections)
        for (int index = 0; index < 8; ++index)
            if (random() % 3 == 0)
                document.setValue(section, "item_" + std::to_string(index),
                                  std::string(1, "aAbBc"[random() % 5]));
}
} // namespace

TEST(ChildAppender, PlacesChildrenExactlyAsAddChildDoes) {
    std::mt19937 random(7);
    const char* sections[] = {"R", "r", "R\\a", "R\\A", "R\\A\\b", "R\\a\\B"};
    const char* names[] = {"a", "A", "b", "B", "c", "", "d", "e"};
    for (int round = 0; round < 300; ++round) {
        IniDocument expected, actual;
        unsigned seed = random();
        std::mt19937 fillExpected(seed), fillActual(seed);
        fillRandomly(expected, fillExpected);
        fillRandomly(actual, fillActual);
        DocumentNodeStore expectedStore(expected), actualStore(actual);
        ChildAppender appender(actualStore);
        for (int step = 0; step < 20; ++step) {
            std::string section = sections[random() % 6];
            std::string name = names[random() % 8];
            bool folder = random() % 2;
            ASSERT_EQ(appender.addChild(section, name, folder),
                      addChild(expectedStore, section, name, folder));
        }
        std::string expectedText, actualText;
        expected.serialize(expectedText, true);
        actual.serialize(actualText, true);
        ASSERT_EQ(actualText, expectedText) << "round " << round;
    }
}
