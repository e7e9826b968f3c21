#include <gtest/gtest.h>

#include "favorites/BookmarkImport.h"
#include "favorites/BookmarkParser.h"
#include "store/LeftOutEntries.h"
#include "store/StoreTree.h"

TEST(SanitizeName, ReplacesTheTenCharactersAndTrims) {
    std::string name = "a/b: c?";
    sanitizeName(name);
    EXPECT_EQ(name, "a b  c");
    name = "\\/:*?\"><|'x";
    sanitizeName(name);
    EXPECT_EQ(name, "x");
    name = " \t Rock'n'Roll \r\n";
    sanitizeName(name);
    EXPECT_EQ(name, "Rock n Roll");
    name = "<>";
    sanitizeName(name);
    EXPECT_EQ(name, "");
    name = "M\xFC"
           "nchen & K\xF6ln";
    sanitizeName(name);
    EXPECT_EQ(name, "M\xFC"
                    "nchen & K\xF6ln");
}

namespace {
class BookmarkImportTest : public testing::Test {
  protected:
    void import(const std::string& section, const std::string& file, const std::string& rootName) {
        CBookmarkParser parser("x");
        parser.setRootName(rootName);
        parser.loadBuffer(file);
        parser.parse();
        importBookmarkTree(store, section, parser.bookmarkRoot.get(), "06.12.2004");
    }
    std::string value(const std::string& section, const std::string& key) {
        return store.getNodeValue(section, key);
    }
    // Folders and links below section as any program sees them after a reload: the document
    // saved and read again.
    std::string visibleAfterReload(const std::string& section) {
        std::string saved;
        document.serialize(saved, false);
        IniDocument reloaded;
        reloaded.parse(saved, nullptr);
        DocumentNodeStore nodes(reloaded);
        return visibleBelow(nodes, section, "");
    }
    static std::string visibleBelow(NodeStore& nodes, const std::string& section, const std::string& indent) {
        std::string text;
        for (const std::string& name : listChildren(nodes, section)) {
            std::string child = childSection(section, name);
            std::string type = nodes.getNodeValue(child, "type");
            text += indent + type + " " + name + (type == "file" ? " " + nodes.getNodeValue(child, "URL") : "") + "\n";
            text += visibleBelow(nodes, child, indent + "  ");
        }
        return text;
    }
    static std::string link(const std::string& name, const std::string& url) {
        return "<DT><A HREF=\"" + url + "\">" + name + "</A>\r\n";
    }
    static std::string folder(const std::string& name, const std::string& content) {
        return "<DT><H3>" + name + "</H3>\r\n<DL><p>\r\n" + content + "</DL><p>\r\n";
    }
    IniDocument document;
    DocumentNodeStore store{document};
};

const std::string kFile = "<DT><H3>Sport</H3>\r\n"
                          "<DL><p>\r\n"
                          "<DT><A HREF=\"http://kicker/\">Kicker</A>\r\n"
                          "</DL><p>\r\n"
                          "<DT><A HREF=\"http://new/\">suche</A>\r\n"
                          "<DT><A HREF=\"http://x/\">a/b: c?</A>\r\n"
                          "<DT><A HREF=\"http://empty/\">::</A>\r\n";
} // namespace

TEST_F(BookmarkImportTest, ImportsIntoAnEmptyStore) {
    import("NVFavTreeRoot", kFile, "Favoriten");
    EXPECT_EQ(value("NVFavTreeRoot", "item_0"), "Favoriten");
    EXPECT_EQ(value("NVFavTreeRoot", "type"), "folder");
    EXPECT_EQ(value("NVFavTreeRoot\\Favoriten", "type"), "folder");
    EXPECT_EQ(listChildren(store, "NVFavTreeRoot\\Favoriten"),
              (std::vector<std::string>{"Sport", "suche", "a b  c"}));
    EXPECT_EQ(value("NVFavTreeRoot\\Favoriten\\Sport\\Kicker", "URL"), "http://kicker/");
    EXPECT_EQ(value("NVFavTreeRoot\\Favoriten\\Sport\\Kicker", "type"), "file");
    EXPECT_EQ(value("NVFavTreeRoot\\Favoriten\\Sport\\Kicker", "CREATED_DATE"), "06.12.2004");
    // The link whose cleaned name is empty went to a slot with an empty value: not listed.
    EXPECT_EQ(value("NVFavTreeRoot\\Favoriten", "item_3"), "");
    EXPECT_EQ(value("NVFavTreeRoot\\Favoriten\\", "URL"), "http://empty/");
}

TEST_F(BookmarkImportTest, MergesIntoAnExistingFolderAndOverwritesRepeatedLinks) {
    document.setValue("NVFavTreeRoot", "item_0", "Favoriten");
    document.setValue("NVFavTreeRoot\\Favoriten", "type", "folder");
    document.setValue("NVFavTreeRoot\\Favoriten", "item_0", "News");
    document.setValue("NVFavTreeRoot\\Favoriten\\News", "type", "folder");
    document.setValue("NVFavTreeRoot\\Favoriten\\News", "item_0", "Suche");
    document.setValue("NVFavTreeRoot\\Favoriten\\News\\Suche", "type", "file");
    document.setValue("NVFavTreeRoot\\Favoriten\\News\\Suche", "URL", "http://old/");
    document.setValue("NVFavTreeRoot\\Favoriten\\News\\Suche", "CREATED_DATE", "01.01.2000");

    import("NVFavTreeRoot\\Favoriten", kFile, "News");
    import("NVFavTreeRoot\\Favoriten", kFile, "News");
    EXPECT_EQ(listChildren(store, "NVFavTreeRoot\\Favoriten"), std::vector<std::string>{"News"});
    EXPECT_EQ(listChildren(store, "NVFavTreeRoot\\Favoriten\\News"),
              (std::vector<std::string>{"Suche", "Sport", "a b  c"}));
    // "suche" reused the node "Suche": the section names compare without case.
    EXPECT_EQ(value("NVFavTreeRoot\\Favoriten\\News\\Suche", "URL"), "http://new/");
    EXPECT_EQ(value("NVFavTreeRoot\\Favoriten\\News\\Suche", "CREATED_DATE"), "06.12.2004");
    EXPECT_EQ(listChildren(store, "NVFavTreeRoot\\Favoriten\\News\\Sport"),
              std::vector<std::string>{"Kicker"});
}

TEST_F(BookmarkImportTest, ADestinationWithAnApostropheIsCleanedIntoANewSibling) {
    document.setValue("NVFavTreeRoot\\Favoriten", "item_0", "Rock'n");
    import("NVFavTreeRoot\\Favoriten", "<DT><A HREF=\"u\">x</A>\r\n", "Rock'n");
    EXPECT_EQ(listChildren(store, "NVFavTreeRoot\\Favoriten"),
              (std::vector<std::string>{"Rock'n", "Rock n"}));
    EXPECT_EQ(value("NVFavTreeRoot\\Favoriten\\Rock n\\x", "URL"), "u");
}

TEST_F(BookmarkImportTest, LastLinkOfARepeatedNameWins) {
    import(
        "R",
        "<DT><A HREF=\"1\">L</A>\r\n<DT><A HREF=\"2\">l</A>\r\n<DT><H3>F</H3>\r\n</DL>\r\n<DT><H3>f</H3>\r\n"
        "<DT><A HREF=\"3\">in f</A>\r\n",
        "Top");
    EXPECT_EQ(listChildren(store, "R\\Top"), (std::vector<std::string>{"L", "F"}));
    EXPECT_EQ(value("R\\Top\\L", "URL"), "2");
    EXPECT_EQ(listChildren(store, "R\\Top\\F"), std::vector<std::string>{"in f"});
}

TEST(SanitizeName, ReplacesTheClosingBracketThatWouldEndTheSectionHeader) {
    std::string name = " Bericht [PDF] ";
    sanitizeName(name);
    EXPECT_EQ(name, "Bericht [PDF ");
}

TEST_F(BookmarkImportTest, AnEntryTheStoreCannotHoldIsLeftOutAndEverythingElseStaysVisible) {
    takeLeftOut();
    const std::string longUrl = "http://lang/" + std::string(3188, 'x'); // 3,200 characters
    std::string file = folder("Lang", link("Lang", longUrl) + link("Kurz", "http://kurz/"));
    for (int i = 1; i <= 5; ++i) file += folder("F" + std::to_string(i), link("L" + std::to_string(i), "u"));
    file += link("L6", "u");
    import("NVFavTreeRoot", file, "Favoriten");
    EXPECT_EQ(visibleAfterReload("NVFavTreeRoot\\Favoriten"),
              "folder Lang\n  file Kurz http://kurz/\nfolder F1\n  file L1 u\nfolder F2\n  file L2 u\n"
              "folder F3\n  file L3 u\nfolder F4\n  file L4 u\nfolder F5\n  file L5 u\nfile L6 u\n");
    std::vector<LeftOutEntry> leftOut = takeLeftOut();
    ASSERT_EQ(leftOut.size(), 1u);
    EXPECT_EQ(leftOut[0].path, "Favoriten\\Lang\\Lang");
    EXPECT_EQ(leftOut[0].reason, "its URL is longer than the store can hold (3200 characters)");
}

TEST_F(BookmarkImportTest, NamesWithAClosingBracketStayVisibleAfterAReload) {
    import("NVFavTreeRoot",
           link("Bericht [PDF]", "http://pdf/") + folder("News", link("Innen", "http://innen/")) +
               link("News]", "http://news/"),
           "Favoriten");
    EXPECT_EQ(visibleAfterReload("NVFavTreeRoot\\Favoriten"),
              "file Bericht [PDF  http://pdf/\nfolder News\n  file Innen http://innen/\nfile News  http://news/\n");
}

TEST_F(BookmarkImportTest, ADeeplyNestedFileStopsWhereThePathsOutgrowTheStore) {
    takeLeftOut();
    std::string file;
    const int depth = 2000;
    for (int i = 0; i < depth; ++i) file += "<DT><H3>f</H3>\r\n<DL><p>\r\n";
    file += link("innen", "u");
    for (int i = 0; i < depth; ++i) file += "</DL><p>\r\n";
    file += link("danach", "u");
    import("NVFavTreeRoot", file, "Favoriten");
    size_t longest = 0;
    for (const auto& section : document.sections()) longest = std::max(longest, section->name().size());
    EXPECT_LE(longest, kMaxIniSectionName);
    EXPECT_EQ(value("NVFavTreeRoot\\Favoriten\\danach", "URL"), "u");
    std::vector<LeftOutEntry> leftOut = takeLeftOut();
    ASSERT_EQ(leftOut.size(), 1u); // the first folder too deep, with everything in it
    EXPECT_EQ(leftOut[0].reason, "its path is longer than the store can hold");
}
