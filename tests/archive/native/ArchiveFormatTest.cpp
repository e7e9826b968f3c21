#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"

namespace {
using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string number(uint32_t value) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>(value >> (8 * i));
    return out;
}

std::string header() {
    return std::string(kArchiveHeaderSize, 'H');
}

std::string record(const std::string& name, const std::string& data) {
    return encodeRecordHead(name, static_cast<uint32_t>(data.size())) + data;
}

std::vector<ArchiveRecord> readAll(const std::string& archive, std::optional<RecordProblem>& problem) {
    Bytes bytes = bytesOf(archive);
    ArchiveRecordReader reader(bytes);
    std::vector<ArchiveRecord> records;
    while (auto next = reader.next())
        records.push_back(*next);
    problem = reader.problem();
    return records;
}

std::string reasonOf(const std::string& archive) {
    Bytes bytes = bytesOf(archive);
    std::optional<RecordProblem> problem = findArchiveProblem(bytes);
    return problem ? problem->reason : "";
}
} // namespace

TEST(ArchiveHeader, HasMagicTimeAndBothTextsWithZeroPadding) {
    auto bytes = buildArchiveHeader(0x01020304u, ArchiveDate{12, 7, 2026});
    ASSERT_EQ(bytes.size(), 520u);
    const unsigned char start[8] = {0xEF, 0xBE, 0xAD, 0xDE, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(std::memcmp(bytes.data(), start, 8), 0);
    const char* dated = "Norvalen Internet AG - 12/07/26";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 8)), dated);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 264)), "Norvalen Internet AG");
    for (size_t i = 8 + std::strlen(dated); i < 264; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
    for (size_t i = 264 + 20; i < 520; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
}

TEST(ArchiveRecordLayout, HeadIsNameSizeNameZeroDataSize) {
    std::string head = encodeRecordHead("x\\y.htm", 0x0A0B0C0D);
    EXPECT_EQ(head, number(8) + std::string("x\\y.htm\0", 8) + number(0x0A0B0C0D));
}

TEST(ArchiveRecordReader, ReadsRecordsBackToBackAndTurnsSlashesIntoBackslashes) {
    std::optional<RecordProblem> problem;
    auto records =
        readAll(header() + record("a/b.gif", "GIF") + record("empty.htm", "") + record("z", "1"), problem);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_FALSE(problem);
    EXPECT_EQ(records[0].name, "a\\b.gif");
    EXPECT_EQ(records[0].offset, 520u);
    EXPECT_EQ(records[0].dataOffset, 520u + 4 + 8 + 4);
    EXPECT_EQ(records[0].dataSize, 3u);
    EXPECT_EQ(records[1].dataSize, 0u);
    EXPECT_EQ(records[2].name, "z");
}

TEST(ArchiveRecordReader, HeaderOnlyArchiveHasNoRecordsAndShortFileIsDamaged) {
    std::optional<RecordProblem> problem;
    EXPECT_TRUE(readAll(header(), problem).empty());
    EXPECT_FALSE(problem);
    EXPECT_TRUE(readAll(std::string(519, 'H'), problem).empty());
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->reason, "archive is shorter than its 520-byte header");
}

TEST(ArchiveRecordReader, RefusesCutAndOversizedRecordsAndNamesTheFirstBadOne) {
    const std::string good = record("ok.htm", "data");
    const std::string full = header() + good + record("seite.htm", "0123456789");
    // Cut inside the name size, the name, the data size and the data.
    EXPECT_EQ(reasonOf(full.substr(0, 520 + good.size() + 2)), "archive ends inside the name size");
    EXPECT_EQ(reasonOf(full.substr(0, 520 + good.size() + 4 + 3)),
              "name size points past the end of the archive");
    EXPECT_EQ(reasonOf(full.substr(0, 520 + good.size() + 4 + 10 + 1)), "archive ends inside the data size");
    EXPECT_EQ(reasonOf(full.substr(0, full.size() - 1)), "data size points past the end of the archive");
    EXPECT_EQ(reasonOf(full), "");

    Bytes cut = bytesOf(full.substr(0, full.size() - 1));
    std::optional<RecordProblem> problem = findArchiveProblem(cut);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->index, 1u);
    EXPECT_EQ(problem->offset, 520u + good.size());
    EXPECT_EQ(problem->name, "seite.htm");

    // Sizes near 2^32 must not wrap around.
    EXPECT_EQ(reasonOf(header() + number(0xFFFFFFFF) + "abc"),
              "name size points past the end of the archive");
    EXPECT_EQ(reasonOf(header() + number(2) + std::string("a\0", 2) + number(0xFFFFFFFF) + "x"),
              "data size points past the end of the archive");
}

TEST(ArchiveRecordReader, RefusesNamesWithoutTheirZeroByte) {
    EXPECT_EQ(reasonOf(header() + number(3) + "abc" + number(0)), "name without zero byte");
    EXPECT_EQ(reasonOf(header() + number(0) + number(0)), "name without zero byte (name size 0)");
    EXPECT_EQ(reasonOf(header() + number(4) + std::string("a\0b\0", 4) + number(0)),
              "name holds a zero byte before its end");
}

TEST(ArchiveRecordReader, RefusesNamesThatWouldLeaveTheDestination) {
    const char* unsafe[] = {"..\\evil.htm",
                            "a\\..\\..\\evil.htm",
                            "../evil.htm",
                            "a/../../x",
                            "\\evil.htm",
                            "/etc/passwd",
                            "C:\\evil.htm",
                            "c:evil.htm",
                            "",
                            "..",
                            "a\\\\b",
                            "a\\",
                            "x\\.",
                            "a\\...\\b",
                            "a\\.. \\b",
                            "NUL",
                            "con.htm",
                            "sub\\LPT1.txt",
                            "a|b",
                            "a*b"};
    for (const char* name : unsafe) {
        std::string archive = header() + record("fine.htm", "x") + record(name, "x");
        std::optional<RecordProblem> problem;
        auto records = readAll(archive, problem);
        EXPECT_EQ(records.size(), 1u) << name;
        ASSERT_TRUE(problem) << name;
        EXPECT_EQ(problem->index, 1u) << name;
    }
    EXPECT_EQ(reasonOf(header() + record("..\\x", "")), "name climbs out of the destination with \"..\"");
    EXPECT_EQ(reasonOf(header() + record("D:x", "")), "name holds a drive letter or ':'");
    EXPECT_EQ(reasonOf(header() + record("/x", "")), "name begins with a path separator");
    EXPECT_EQ(reasonOf(header() + record("", "")), "empty name");
}

TEST(ArchiveRecordReader, AcceptsOrdinaryPageNames) {
    const std::string munich = "M\xFC"
                               "nchen.htm";
    const std::string safe[] = {"nvarchive.ini",
                                "Rom.htm",
                                "Rom-Dateien\\bild.gif",
                                "Rom.-Dateien\\a.b.c",
                                "..hidden",
                                "a..b",
                                munich,
                                "CONSOLE.htm",
                                "COM10"};
    for (const std::string& name : safe)
        EXPECT_EQ(checkRecordName(name), "") << name;
}

TEST(ArchiveRecordReader, LimitsNameLengthWhenAsked) {
    Bytes bytes = bytesOf(header() + record("abc", "") + record("abcdef", ""));
    EXPECT_FALSE(findArchiveProblem(bytes, 6));
    std::optional<RecordProblem> problem = findArchiveProblem(bytes, 5);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->index, 1u);
    EXPECT_EQ(problem->reason, "name is too long for the destination");
}

namespace {
// An archive whose bytes past a point cannot be read, as on a drive that fails.
class FailingSource : public ArchiveSource {
  public:
    FailingSource(const std::string& bytes, size_t readable) : bytes_(bytesOf(bytes)), readable_(readable) {}
    size_t size() const override { return bytes_.size(); }
    bool read(size_t offset, void* out, size_t length) override {
        if (offset + length > readable_) return false;
        std::memcpy(out, bytes_.data() + offset, length);
        return true;
    }

  private:
    Bytes bytes_;
    size_t readable_;
};
} // namespace

TEST(ArchiveRecordReader, AnUnreadableRecordIsAProblemNamedByItsPlace) {
    const std::string first = record("a.htm", "aaa");
    FailingSource source(header() + first + record("b.htm", "bbb"), 520 + first.size() + 6);
    std::optional<RecordProblem> problem = findArchiveProblem(source);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->index, 1u);
    EXPECT_EQ(problem->offset, 520 + first.size());
    EXPECT_EQ(problem->reason, "archive cannot be read");
}
