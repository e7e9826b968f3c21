#include <gtest/gtest.h>

#include "config/ProfileText.h"

TEST(ProfileText, NamesWithoutCaseValuesWithoutSpaceAndQuotes) {
    CProfileText text(
        "[Layout]\r\n  Title =  \"Seiten archiv\"  \r\n\tSingle='x'\r\nHalf=\"x\r\nMixed=\"x'\r\n"
        "Lone=\"\r\nEmpty=\r\nInner=a\"b\"\r\n[\xC4nderung]\r\n\xC4=1\r\n");
    EXPECT_EQ(text.value("Layout", "Title"), "Seiten archiv");
    EXPECT_EQ(text.value("layout", "TITLE"), "Seiten archiv");
    EXPECT_EQ(text.value(" Layout ", " Title "), "Seiten archiv");
    EXPECT_EQ(text.value("Layout", "Single"), "x");
    EXPECT_EQ(text.value("Layout", "Half"), "\"x");
    EXPECT_EQ(text.value("Layout", "Mixed"), "\"x'");
    EXPECT_EQ(text.value("Layout", "Lone"), "\"");
    EXPECT_EQ(text.value("Layout", "Empty"), "");
    EXPECT_EQ(text.value("Layout", "Inner"), "a\"b\"");
    EXPECT_EQ(text.value("\xC4nderung", "\xC4"), "1");
    EXPECT_EQ(text.value("\xE4nderung", "\xE4"), ""); // only ASCII letters fold
    EXPECT_EQ(text.value("Layout", "Missing"), "");
    EXPECT_EQ(text.value("Missing", "Title"), "");
}

TEST(ProfileText, TheFirstSectionAndTheFirstKeyOfANameCount) {
    CProfileText text("Before=1\n[A]\nKey=first\nkey=second\nBare\nBare=value\n[a]\nOther=x\n[B]x]\nK=v\n");
    EXPECT_EQ(text.value("A", "Key"), "first");
    EXPECT_EQ(text.value("A", "Bare"), "");  // a line without "=" hides the later key
    EXPECT_EQ(text.value("A", "Other"), ""); // the second [a] is not looked at
    EXPECT_EQ(text.value("B]x", "K"), "v");  // the name ends at the last "]"
    EXPECT_EQ(text.value("", "Before"), "1"); // before the first section: the section ""
}

TEST(ProfileText, LinesEndAtNewlineOrCarriageReturnAndValuesAt255Characters) {
    CProfileText crOnly("[S]\rA=1\rB=2\r");
    EXPECT_EQ(crOnly.value("S", "B"), "2");
    const std::string longValue(300, 'L');
    CProfileText text("[S]\nLong=" + longValue + "\nQuoted=\"" + std::string(254, 'q') + "\"\nEdge=\"" +
                      std::string(255, 'e') + "\"\n");
    EXPECT_EQ(text.value("S", "Long"), longValue.substr(0, 255));
    EXPECT_EQ(text.value("S", "Quoted"), std::string(254, 'q'));
    // 255 characters and the closing quote do not fit: the cut value loses one more character.
    EXPECT_EQ(text.value("S", "Edge"), std::string(254, 'e'));
}
