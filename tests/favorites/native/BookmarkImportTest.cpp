#include <gtest/gtest.h>

#include "favorites/BookmarkImport.h"
#include "favorites/BookmarkParser.h"
#include "favorites/StoreTree.h"

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
