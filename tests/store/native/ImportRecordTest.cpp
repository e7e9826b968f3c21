#include <gtest/gtest.h>

#include <string>

#include "store/ImportRecord.h"

namespace {
const AffectedPart kPart{"Root\\Fav\\News", {"Root\\Fav"}};

IniDocument parsed(const std::string& text) {
    IniDocument document;
    document.parse(text, nullptr);
    return document;
}

const std::string kBefore =
    "[Root]\r\nitem_0=\"Fav\"\r\n[Root\\Fav]\r\ntype=\"folder\"\r\nitem_0=\"News\"\r\n"
    "[Root\\Fav\\News]\r\ntype=\"folder\"\r\nitem_0=\"Alt\"\r\n"
    "[Root\\Fav\\News\\Alt]\r\ntype=\"file\"\r\nURL=\"http://alt/\"\r\n"
    "[Root\\Fav\\Newsletter]\r\ntype=\"folder\"\r\n";

ImportRecord recordOf(const IniDocument& before) {
    ImportRecord record;
    record.kind = "favorites";
    record.folder = "Fav\\News";
    record.date = "06.12.2024 14:03";
    record.part = kPart;
    record.fingerprint = std::string(64, 'a');
    record.unpackedFolder = "C:\\Data\\nv1";
    copyAffected(before, kPart, record.before);
    return record;
}
} // namespace

TEST(ImportRecord, ThePartIsTheTargetWithEverythingBelowItAndTheListsOnly) {
    IniDocument document = parsed(kBefore);
    EXPECT_EQ(affectedText(document, kPart),
              "[Root\\Fav]\r\ntype=\"folder\"\r\nitem_0=\"News\"\r\n"
              "[Root\\Fav\\News]\r\ntype=\"folder\"\r\nitem_0=\"Alt\"\r\n"
              "[Root\\Fav\\News\\Alt]\r\ntype=\"file\"\r\nURL=\"http://alt/\"\r\n");
    const std::string unchanged = fingerprintOf(document, kPart);
    EXPECT_EQ(unchanged.size(), 64u);
    document.setValue("Root", "item_1", "Other");
    document.setValue("Root\\Fav\\Newsletter", "item_0", "x");
    EXPECT_EQ(fingerprintOf(document, kPart), unchanged); // outside the part
    document.setValue("ROOT\\FAV\\NEWS\\ALT", "URL", "http://neu/");
    EXPECT_NE(fingerprintOf(document, kPart), unchanged);
}

TEST(ImportRecord, AFingerprintReadBackMatchesTheDocumentOtherProgramsReload) {
    IniDocument document = parsed("[Root\\Fav\\News]\r\nURL=\"%APPDATA%\\x\"\r\n");
    PlaceholderValues values{"C:\\Docs", "C:\\App", "usr1"};
    IniDocument reloaded;
    reloaded.parse(affectedText(document, kPart), &values);
    EXPECT_NE(fingerprintOf(document, kPart), fingerprintOf(reloaded, kPart));
    EXPECT_EQ(fingerprintOf(document, kPart, &values), fingerprintOf(reloaded, kPart));
}

TEST(ImportRecord, CountsWhatTheImportAddedAndChangedBelowTheTarget) {
    IniDocument before = parsed(kBefore);
    IniDocument after = parsed(kBefore + "[Root\\Fav\\News]\r\nitem_1=\"Neu\"\r\n[Root\\Fav\\News\\Neu]\r\n"
                                         "type=\"file\"\r\n[Root\\Fav]\r\nitem_1=\"X\"\r\n");
    ImportCounts counts = countChanges(before, after, kPart);
    EXPECT_EQ(counts.added, 1u);
    EXPECT_EQ(counts.changed, 1u); // the parent's list is restored, not counted
}

TEST(ImportRecord, ARecordComesBackAsWritten) {
    ImportRecord record = recordOf(parsed(kBefore + "[Root\\Fav\\News\\Leer]\r\n"));
    record.counts = {5000, 2};
    const std::string text = recordText(record);
    std::optional<ImportRecord> read = parseRecord(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->kind, "favorites");
    EXPECT_EQ(read->folder, "Fav\\News");
    EXPECT_EQ(read->date, record.date);
    EXPECT_EQ(read->part.target, kPart.target);
    EXPECT_EQ(read->part.lists, kPart.lists);
    EXPECT_EQ(read->counts.added, 5000u);
    EXPECT_EQ(read->counts.changed, 2u);
    EXPECT_EQ(read->fingerprint, record.fingerprint);
    EXPECT_EQ(read->unpackedFolder, record.unpackedFolder);
    std::string before, again;
    record.before.serialize(before, true);
    read->before.serialize(again, true);
    EXPECT_EQ(again, before); // the empty section too
    EXPECT_EQ(read->before.sectionCount(), 4u);
}

TEST(ImportRecord, ACutOrAlteredRecordIsNotTaken) {
    const std::string text = recordText(recordOf(parsed(kBefore)));
    ASSERT_TRUE(parseRecord(text));
    EXPECT_FALSE(parseRecord(""));
    EXPECT_FALSE(parseRecord(text.substr(0, text.rfind("URL=")))); // cut inside the saved part
    EXPECT_FALSE(parseRecord(text.substr(0, text.rfind("[Root\\Fav\\News\\Alt]")))); // a whole section lost
    std::string altered = text;
    altered.replace(altered.find("http://alt/"), 11, "http://neu/");
    EXPECT_FALSE(parseRecord(altered));
    EXPECT_FALSE(parseRecord(text + "[Somewhere]\r\nk=\"v\"\r\n")); // outside the part
    std::string noKind = text;
    noKind.replace(noKind.find("kind=\"favorites\""), 16, "kind=\"\"");
    EXPECT_FALSE(parseRecord(noKind));
}
