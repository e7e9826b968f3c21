#include <gtest/gtest.h>

#include "store/NodeWalk.h"
#include "store/StoreTree.h"

namespace {
class NodeWalkTest : public testing::Test {
  protected:
    void add(const std::string& parent, const std::string& name, const std::string& type) {
        const std::string section = childSection(parent, name);
        document.setValue(parent, findItemKey(store, parent), name);
        if (!type.empty()) document.setValue(section, "type", type);
    }

    // One line per visit ("depth kind section") and per leave ("leave section"); descends into
    // every visited node the predicate names.
    std::vector<std::string> walk(const std::string& section,
                                  const std::function<bool(const NodeVisit&)>& descend) {
        std::vector<std::string> seen;
        const char* kinds[] = {"none", "folder", "file", "other"};
        forEachNode(
            store, section,
            [&](const NodeVisit& node) {
                seen.push_back(std::to_string(node.depth) + " " + kinds[static_cast<int>(node.kind)] + " " +
                               node.section);
                return descend(node) ? WalkStep::descend : WalkStep::skip;
            },
            [&](const NodeVisit& node) { seen.push_back("leave " + node.section); });
        return seen;
    }

    IniDocument document;
    DocumentNodeStore store{document};
};

bool isFolder(const NodeVisit& node) {
    return node.kind == NodeKind::folder;
}
} // namespace

TEST_F(NodeWalkTest, VisitsDepthFirstInListOrderWithKindsAndDepths) {
    add("R", "A", "folder");
    add("R\\A", "a1", "file");
    add("R\\A", "a2", "folder");
    add("R\\A\\a2", "x", "file");
    add("R", "B", "file");
    add("R", "C", "link");
    add("R", "D", "");
    const std::vector<std::string> expected = {"0 folder R\\A",      "1 file R\\A\\a1", "1 folder R\\A\\a2",
                                               "2 file R\\A\\a2\\x", "leave R\\A\\a2",  "leave R\\A",
                                               "0 file R\\B",        "0 other R\\C",    "0 none R\\D"};
    EXPECT_EQ(walk("R", isFolder), expected);
}

TEST_F(NodeWalkTest, SkippedNodesAreNotListedAndDescendWorksOnAnyKind) {
    add("R", "A", "folder");
    add("R\\A", "hidden", "file");
    add("R", "F", "file");
    add("R\\F", "under a file", "file");
    // A node descended into is left even when it lists nothing.
    const std::vector<std::string> expected = {"0 folder R\\A", "0 file R\\F", "1 file R\\F\\under a file",
                                               "leave R\\F\\under a file", "leave R\\F"};
    EXPECT_EQ(walk("R", [](const NodeVisit& node) { return node.kind == NodeKind::file; }), expected);
}

TEST_F(NodeWalkTest, ListsEndAtTheFirstGapAndMissingSectionsHaveNoChildren) {
    add("R", "A", "folder");
    document.setValue("R", "item_2", "behind the gap");
    document.setValue("R\\A", "item_0", "never written"); // listed, but no section of its own
    const std::vector<std::string> expected = {"0 folder R\\A", "1 none R\\A\\never written", "leave R\\A"};
    EXPECT_EQ(walk("R", isFolder), expected);
    EXPECT_TRUE(walk("missing", isFolder).empty());
    EXPECT_EQ(readNodeKind(store, "R"), NodeKind::none);
}
