#include <gtest/gtest.h>

#include <random>
#include <string>

#include "config/IniDocument.h"

namespace {
std::string roundTrip(const std::string& text) {
    IniDocument document;
    document.parse(text, nullptr);
    std::string out;
    document.serialize(out, true);
    return out;
}

std::string value(const IniDocument& document, const char* section, const char* key) {
    const std::string* found = document.findValue(section, key);
    return found ? *found : "<none>";
}
} // namespace

TEST(IniSyntax, ValueRunsFromFirstQuoteAfterEqualsToLastQuoteOfLine) {
    IniDocument document;
    document.parse("[S]\r\nkey   = x \"a \"inner\" b\" tail\r\nplain=value\r\none=\"quote\r\n", nullptr);
    EXPECT_EQ(value(document, "S", "key"), "a \"inner\" b");
    EXPECT_EQ(value(document, "S", "plain"), "<none>");
    EXPECT_EQ(value(document, "S", "one"), "<none>");
}

TEST(IniSyntax, SkipsLinesThatDoNotStartWithLetterDigitOrBracket) {
    IniDocument document;
    size_t stored = document.parse("before=\"x\"\r\n[S]\r\n;c=\"1\"\r\n#c=\"1\"\r\n k=\"1\"\r\n=\"1\"\r\n"
                                   "_under=\"1\"\r\n\xE4k=\"1\"\r\n9=\"nine\"\r\nk=\"ok\"\r\n",
                                   nullptr);
    EXPECT_EQ(stored, 2u);
    EXPECT_EQ(roundTrip("before=\"x\"\r\n[S]\r\n_under=\"1\"\r\n9=\"nine\"\r\n"), "[S]\r\n9=\"nine\"\r\n");
    EXPECT_EQ(value(document, "S", "k"), "ok");
}

TEST(IniSyntax, HeadersAndRepeatedSectionsAndKeys) {
    IniDocument document;
    document.parse("[Alpha]junk\r\na=\"1\"\r\n[]\r\nb=\"2\"\r\n[broken\r\nc=\"3\"\r\n[ALPHA]\r\na=\"4\"\r\n", nullptr);
    ASSERT_EQ(document.sectionCount(), 1u);
    EXPECT_EQ(document.getSectionNames(), "Alpha");
    std::string out;
    document.serialize(out, true);
    EXPECT_EQ(out, "[Alpha]\r\na=\"4\"\r\nb=\"2\"\r\nc=\"3\"\r\n");
}

TEST(IniSyntax, OnlyCrLfEndsLines) {
    EXPECT_EQ(roundTrip("[S]\na=\"1\"\nb=\"2\""), "[S]\r\n"); // one line: the header, rest ignored
    EXPECT_EQ(roundTrip("[S]\r\na=\"1\"\rb=\"2\"\r\nlast=\"x\""), "[S]\r\na=\"1\"\rb=\"2\"\r\nlast=\"x\"\r\n");
    std::string lfOnly = "[S]\n" + std::string(4000, 'a') + "=\"1\"\n";
    EXPECT_EQ(roundTrip(lfOnly), "");
}

TEST(IniSyntax, OverLongLineEndsTheParseAndLimitsSkipLines) {
    std::string longLine = "k=\"" + std::string(3070, 'v') + "\"";
    EXPECT_EQ(roundTrip("[S]\r\na=\"1\"\r\n" + longLine + "\r\nb=\"2\"\r\n"), "[S]\r\na=\"1\"\r\n");
    std::string maxValue(2559, 'v'), overValue(2560, 'v');
    EXPECT_EQ(roundTrip("[S]\r\nk=\"" + maxValue + "\"\r\nj=\"" + overValue + "\"\r\n"),
              "[S]\r\nk=\"" + maxValue + "\"\r\n");
    std::string longKey(512, 'k');
    EXPECT_EQ(roundTrip("[S]\r\n" + longKey + "=\"1\"\r\nk=\"2\"\r\n"), "[S]\r\nk=\"2\"\r\n");
    // Entries below an over-long header are not misplaced into the previous section.
    std::string longName(512, 'n');
    EXPECT_EQ(roundTrip("[A]\r\n[" + longName + "]\r\nk=\"1\"\r\n[B]\r\nk=\"2\"\r\n"), "[A]\r\n[B]\r\nk=\"2\"\r\n");
}

TEST(IniSyntax, StopsAtZeroByte) {
    EXPECT_EQ(roundTrip(std::string("[S]\r\na=\"1\"\r\n\0b=\"2\"\r\n", 20)), "[S]\r\na=\"1\"\r\n");
}

TEST(IniPlaceholders, ExpandsOnlyWhenFirstPercentIntroducesAPlaceholder) {
    PlaceholderValues values{"C:\\Docs", "C:\\App", "usr0001"};
    EXPECT_EQ(expandPlaceholders("%APPDATA%\\x", values), "C:\\App\\x");
    EXPECT_EQ(expandPlaceholders("%PERSONAL%;%APPDATA%;%CURRENTUSER%", values), "C:\\Docs;C:\\App;usr0001");
    EXPECT_EQ(expandPlaceholders("100% and %APPDATA%", values), "100% and %APPDATA%");
    EXPECT_EQ(expandPlaceholders("%APPDATA%%APPDATA%", values), "C:\\App%APPDATA%");
    EXPECT_EQ(expandPlaceholders("%Alpha%", values), "%Alpha%");
    EXPECT_EQ(replacePattern("abcabc", "bc", "X"), "aXabc");
    EXPECT_EQ(replacePattern("abc", "zz", "X"), "abc");

    IniDocument document;
    document.parse("[S]\r\np=\"%APPDATA%\\f\"\r\n", &values);
    EXPECT_EQ(value(document, "S", "p"), "C:\\App\\f");
    std::string tooLong = "[S]\r\np=\"%APPDATA%" + std::string(2547, 'x') + "\"\r\n"; // 2556 raw
    PlaceholderValues longFolder{"", "C:\\Application Data", ""};
    IniDocument expanded;
    expanded.parse(tooLong, &longFolder);
    EXPECT_EQ(value(expanded, "S", "p"), "<none>"); // 2565 after expansion: over the limit
}

TEST(IniDocument, SetValueReplacesInPlaceAndSectionsCompareWithoutCase) {
    IniDocument document;
    document.setValue("Favs", "item_0", "a");
    document.setValue("Favs", "item_1", "b");
    document.setValue("FAVS", "item_0", "c");
    document.setValue("Favs", "Item_0", "d"); // keys are exact
    std::string out;
    document.serialize(out, true);
    EXPECT_EQ(out, "[Favs]\r\nitem_0=\"c\"\r\nitem_1=\"b\"\r\nItem_0=\"d\"\r\n");
    EXPECT_EQ(document.serializedSize(true), out.size());
}

TEST(IniDocument, ExcludedSectionsAreNotWrittenToFilesButPublished) {
    IniDocument document;
    document.parse("[Layout]\r\na=\"1\"\r\n[Layout_X]\r\nb=\"2\"\r\n[layout2]\r\nc=\"3\"\r\n"
                   "[StyleGuide]\r\nd=\"4\"\r\n[User]\r\ne=\"5\"\r\n",
                   nullptr);
    document.markSections("Layout");
    document.markSections("StyleGuide");
    std::string file, shared;
    document.serialize(file, false);
    document.serialize(shared, true);
    EXPECT_EQ(file, "[layout2]\r\nc=\"3\"\r\n[User]\r\ne=\"5\"\r\n");
    EXPECT_EQ(document.serializedSize(false), file.size());
    EXPECT_EQ(shared.size(), document.serializedSize(true));
    EXPECT_EQ(document.getSectionNames(), "Layout\tLayout_X\tlayout2\tStyleGuide\tUser");

    IniDocument copy;
    copyDocument(document, copy);
    std::string copied;
    copy.serialize(copied, false);
    EXPECT_EQ(copied, file);
}

namespace {
// The sections and entries of a document as one comparable text, excluded flags aside.
std::string contentOf(const IniDocument& document) {
    std::string text;
    for (const auto& section : document.sections()) {
        text += "[" + std::to_string(section->name().size()) + ":" + section->name() + "]";
        for (const IniEntry& entry : section->entries())
            text += std::to_string(entry.key.size()) + ":" + entry.key + "=" + std::to_string(entry.value.size()) +
                    ":" + entry.value + ";";
    }
    return text;
}

std::string randomText(std::mt19937& random, size_t longest) {
    static const std::string alphabet = std::string("aBz9 ]]=[\"\\\r\n\xFC\xDC\xE4\xC4", 18) + std::string(1, '\0');
    std::uniform_int_distribution<size_t> length(0, longest), pick(0, alphabet.size() - 1);
    std::string text(length(random), 'x');
    // Mostly plain letters, so that long texts occur; a few of the troublesome bytes.
    for (char& c : text)
        if (pick(random) < 6) c = alphabet[pick(random)];
    return text;
}
} // namespace

TEST(IniDocument, WhatSetValueStoresSurvivesSavingAndReadingAgain) {
    std::mt19937 random(1206);
    for (int round = 0; round < 300; ++round) {
        IniDocument document;
        for (int i = 0; i < 40; ++i) {
            std::uniform_int_distribution<int> size(0, 3);
            std::string section = randomText(random, size(random) == 0 ? 600 : 12);
            std::string key = randomText(random, size(random) == 0 ? 600 : 8);
            std::string value = randomText(random, size(random) == 0 ? 3100 : 20);
            std::string before = contentOf(document);
            if (!document.setValue(section, key, value)) {
                EXPECT_EQ(contentOf(document), before); // the documented refusal changes nothing
                EXPECT_FALSE(isReadableSectionName(section) && isReadableEntry(key, value));
                continue;
            }
            ASSERT_NE(document.findValue(section, key), nullptr);
            EXPECT_EQ(*document.findValue(section, key), value);
        }
        std::string saved;
        document.serialize(saved, true);
        IniDocument reloaded;
        reloaded.parse(saved, nullptr);
        ASSERT_EQ(contentOf(reloaded), contentOf(document)) << "round " << round;
    }
}

TEST(IniDocument, TheWriterNeverWritesALineTheReaderCannotRead) {
    // Content that bypassed setValue: an over-long section, an entry whose line is too long,
    // a header that "]" would cut short, and a value with a line break.
    IniDocument document;
    document.findOrAddSection(std::string(512, 's')).set("k", "lost");
    document.findOrAddSection("A").set("long", std::string(3000, 'v'));
    document.findOrAddSection("A").set("k", std::string(600, 'w'));
    document.findOrAddSection("Bericht [PDF]").set("k", "x");
    document.findOrAddSection("A").set("break", "x\r\n[Registry_HKCU]");
    document.findOrAddSection("Z").set("last", "1");
    std::string saved;
    document.serialize(saved, true);
    EXPECT_EQ(saved, "[A]\r\nk=\"" + std::string(600, 'w') + "\"\r\n[Z]\r\nlast=\"1\"\r\n");
    EXPECT_EQ(document.serializedSize(true), saved.size());
}

TEST(IniDocument, RemovingAndReplacingSectionsKeepsTheOthersInPlace) {
    IniDocument document;
    document.parse(
        "[A]\r\na=\"1\"\r\n[Tree\\X]\r\nitem_0=\"Y\"\r\nnew=\"n\"\r\n[B]\r\nb=\"2\"\r\n"
        "[tree\\x\\Y]\r\ntype=\"file\"\r\n[Tree\\XY]\r\nk=\"kept\"\r\n[Tree\\X\\New]\r\nk=\"v\"\r\n",
        nullptr);
    IniDocument saved;
    saved.parse(
        "[TREE\\X]\r\nitem_0=\"Old\"\r\n[Tree\\X\\Old]\r\ntype=\"folder\"\r\n[Elsewhere]\r\nk=\"1\"\r\n",
        nullptr);
    document.replaceSectionsBelow("Tree\\X", saved);
    std::string text;
    document.serialize(text, true);
    // "Tree\XY" is not below "Tree\X"; a saved section outside the path is not taken.
    EXPECT_EQ(
        text,
        "[A]\r\na=\"1\"\r\n[TREE\\X]\r\nitem_0=\"Old\"\r\n[B]\r\nb=\"2\"\r\n[Tree\\XY]\r\nk=\"kept\"\r\n"
        "[Tree\\X\\Old]\r\ntype=\"folder\"\r\n");
    EXPECT_EQ(value(document, "tree\\x\\old", "type"), "folder"); // the index knows the new places
    EXPECT_EQ(roundTrip(text), text);                             // an ordinary document for every reader
    EXPECT_EQ(value(document, "b", "b"), "2");

    EXPECT_TRUE(document.removeSection("tree\\xy"));
    EXPECT_FALSE(document.removeSection("Tree\\XY"));
    EXPECT_EQ(document.getSectionNames(), "A\tTREE\\X\tB\tTree\\X\\Old");
    EXPECT_EQ(value(document, "Tree\\X\\Old", "type"), "folder");
    EXPECT_TRUE(isAtOrBelow("a\\b\\c", "A\\B"));
    EXPECT_FALSE(isAtOrBelow("A\\BC", "A\\B"));
    EXPECT_FALSE(isAtOrBelow("A", "A\\B"));
}
