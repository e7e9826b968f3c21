#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The ".sad" container: a 520-byte header, then records back to back until the end of the file:
// name size n (with the zero byte), name ("\"-separated, zero-terminated), data size s, s bytes.
// All numbers are unsigned 32-bit little-endian.
inline constexpr size_t kArchiveHeaderSize = 520;
inline constexpr uint32_t kArchiveMagic = 0xDEADBEEF;

struct ArchiveDate {
    int month = 1;
    int day = 1;
    int year = 1970; // four digits; the header shows the last two
};

std::array<unsigned char, kArchiveHeaderSize> buildArchiveHeader(uint32_t unixTime,
                                                                 const ArchiveDate& localDate);
// The bytes of a record that come before its data: n, the name with its zero byte, s.
std::string encodeRecordHead(std::string_view name, uint32_t dataSize);

// Why a record name must not be written below a destination folder, or "" when it is safe.
// The name is taken after "/" has become "\".
std::string checkRecordName(std::string_view name);

struct ArchiveRecord {
    std::string name;      // "/" already replaced by "\"
    size_t offset = 0;     // where the record begins
    size_t dataOffset = 0; // where its data begins
    uint32_t dataSize = 0;
};

struct RecordProblem {
    size_t index = 0;  // number of the record, from 0
    size_t offset = 0; // where it begins
    std::string name;  // as far as it could be read
    std::string reason;
};

// The bytes of an archive as the record reader sees them: a size, and reads at offsets that can
// fail (a file on a drive that goes away), so that an unreadable archive is a damaged one.
class ArchiveSource {
  public:
    virtual ~ArchiveSource() = default;
    virtual size_t size() const = 0;
    // Copies length bytes from offset into out; false when they cannot all be read.
    virtual bool read(size_t offset, void* out, size_t length) = 0;
};

// An archive held in memory.
class MemoryArchiveSource : public ArchiveSource {
  public:
    explicit MemoryArchiveSource(std::span<const unsigned char> content) : content_(content) {}
    size_t size() const override { return content_.size(); }
    bool read(size_t offset, void* out, size_t length) override;

  private:
    std::span<const unsigned char> content_;
};

// Reads the records of an archive. Every size is checked against the bytes that remain and
// every name against checkRecordName, so no byte outside the archive is asked for.
class ArchiveRecordReader {
  public:
    explicit ArchiveRecordReader(ArchiveSource& source);
    explicit ArchiveRecordReader(std::span<const unsigned char> content);
    ArchiveRecordReader(const ArchiveRecordReader&) = delete;
    ArchiveRecordReader& operator=(const ArchiveRecordReader&) = delete;
    // The next record, or nullopt at the end of the content or at the first damaged, unsafe or
    // unreadable record (then problem() tells which and why).
    std::optional<ArchiveRecord> next();
    const std::optional<RecordProblem>& problem() const { return problem_; }

  private:
    std::optional<ArchiveRecord> fail(size_t offset, std::string name, std::string reason);
    std::optional<ArchiveRecord> unreadable(size_t offset, std::string name = "");
    bool readNumber(size_t& position, uint32_t& value);

    MemoryArchiveSource memory_{{}};
    ArchiveSource& source_;
    size_t position_ = kArchiveHeaderSize;
    size_t index_ = 0;
    std::optional<RecordProblem> problem_;
};

// The first damaged, unsafe or unreadable record of an archive, or nullopt when every record
// is sound. maxNameLength bounds the names (the destination's path length is added by the
// caller).
std::optional<RecordProblem> findArchiveProblem(ArchiveSource& source, size_t maxNameLength = SIZE_MAX);
std::optional<RecordProblem> findArchiveProblem(std::span<const unsigned char> content,
                                                size_t maxNameLength = SIZE_MAX);
