#include <gtest/gtest.h>

#include "skin/LayoutParsing.h"

TEST(NextToken, ReturnsFieldsAndSetsEndFlagOnlyAfterTheLastWasConsumed) {
    SettingsCursor cursor("a;bc;;d");
    bool end = false;
    EXPECT_EQ(nextToken(cursor, end), "a");
    EXPECT_EQ(nextToken(cursor, end), "bc");
    EXPECT_EQ(nextToken(cursor, end), "");
    EXPECT_FALSE(end);
    EXPECT_EQ(nextToken(cursor, end), "d");
    EXPECT_FALSE(end);
    EXPECT_TRUE(cursor.exhausted());
    EXPECT_EQ(nextToken(cursor, end), "");
    EXPECT_TRUE(end);
}

TEST(NextToken, TrailingSeparatorLeavesOneEmptyFieldAndEmptyTextIsOneEmptyField) {
    SettingsCursor trailing("x;");
    bool end = false;
    EXPECT_EQ(nextToken(trailing, end), "x");
    EXPECT_EQ(nextToken(trailing, end), "");
    EXPECT_FALSE(end);
    nextToken(trailing, end);
    EXPECT_TRUE(end);

    SettingsCursor empty("");
    EXPECT_EQ(nextToken(empty, end = false), "");
    EXPECT_FALSE(end);
    nextToken(empty, end);
    EXPECT_TRUE(end);
}

TEST(ParseNumber, BehavesLikeTheCLibraryConversion) {
    EXPECT_EQ(parseNumber("  42"), 42);
    EXPECT_EQ(parseNumber("-120"), -120);
    EXPECT_EQ(parseNumber("+7px"), 7);
    EXPECT_EQ(parseNumber("abc"), 0);
    EXPECT_EQ(parseNumber(""), 0);
    EXPECT_EQ(parseNumber("\t-1"), -1);
    EXPECT_EQ(parseNumber("99999999999999"), 2147483647);
    EXPECT_EQ(parseNumber("-99999999999999"), -2147483647 - 1);
}

TEST(ParseRect, NeedsFourFieldsAndAFreshCursor) {
    LayoutRect rect;
    SettingsCursor full("10;20;100;30;1;Titel");
    ASSERT_TRUE(parseRect(full, rect));
    EXPECT_EQ(rect, (LayoutRect{10, 20, 100, 30}));
    bool end = false;
    EXPECT_EQ(parseNumber(nextToken(full, end)), 1);
    EXPECT_EQ(nextToken(full, end), "Titel");
    EXPECT_FALSE(end);

    SettingsCursor three("1;2;3");
    rect = {};
    EXPECT_FALSE(parseRect(three, rect));
    EXPECT_EQ(rect, LayoutRect{});

    SettingsCursor exactlyFour("-1;-1;-1;-1");
    ASSERT_TRUE(parseRect(exactlyFour, rect));
    EXPECT_TRUE(exactlyFour.exhausted());
    EXPECT_FALSE(parseRect(exactlyFour, rect));
}

TEST(ParseColor, RedInLowestByteAndEndFlagWhenFieldsMiss) {
    SettingsCursor cursor("1;2;3;200;100");
    bool end = false;
    EXPECT_EQ(parseColor(cursor, end), 0x030201u);
    EXPECT_FALSE(end);
    parseColor(cursor, end);
    EXPECT_TRUE(end);
}

TEST(ParseFont, ReadsFourteenFieldsAndCutsTheFaceName) {
    SettingsCursor cursor("-13;0;0;0;700;1;0;1;0;3;2;5;34;A very long face name that goes on and on");
    FontDescription font;
    ASSERT_TRUE(parseFont(cursor, font));
    EXPECT_EQ(font.height, -13);
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.italic, 1);
    EXPECT_EQ(font.strikeOut, 1);
    EXPECT_EQ(font.outPrecision, 3);
    EXPECT_EQ(font.clipPrecision, 2);
    EXPECT_EQ(font.quality, 5);
    EXPECT_EQ(font.pitchAndFamily, 34);
    EXPECT_EQ(font.faceName, std::string("A very long face name that goes on and on").substr(0, 31));

    SettingsCursor missingFace("-13;0;0;0;700;0;0;0;0;0;0;0;0");
    FontDescription untouched;
    EXPECT_FALSE(parseFont(missingFace, untouched));
    EXPECT_EQ(untouched.height, 0);
}

TEST(ParseStyleGuide, TwentyThreeFieldsApplyTwentyTwoDoNot) {
    StyleGuide style;
    ASSERT_TRUE(parseStyleGuide("1;2;3;40;50;60;7;8;9;-16;0;0;0;700;0;0;0;0;0;0;5;0;Tahoma", style));
    EXPECT_EQ(style.colors[0], 0x030201u);
    EXPECT_EQ(style.colors[1], 0x3C3228u);
    EXPECT_EQ(style.colors[2], 0x090807u);
    EXPECT_EQ(style.font.faceName, "Tahoma");

    StyleGuide defaults;
    EXPECT_FALSE(parseStyleGuide("1;2;3;40;50;60;7;8;9;-16;0;0;0;700;0;0;0;0;0;0;5;0", defaults));
    EXPECT_EQ(defaults.colors[1], 0u);
    EXPECT_EQ(defaults.font.faceName, "");
    EXPECT_FALSE(parseStyleGuide("", defaults));
}

TEST(UnescapeText, TurnsBackslashNAndRIntoLineBreaksOnly) {
    EXPECT_EQ(unescapeText("Zeile 1\\nZeile 2"), "Zeile 1\nZeile 2");
    EXPECT_EQ(unescapeText("a\\r\\nb"), "a\r\nb");
    EXPECT_EQ(unescapeText("C:\\temp\\x"), "C:\\temp\\x");
    EXPECT_EQ(unescapeText("\\\\n"), "\\\n");
    EXPECT_EQ(unescapeText("ends with \\"), "ends with \\");
    EXPECT_EQ(unescapeText(""), "");
}
