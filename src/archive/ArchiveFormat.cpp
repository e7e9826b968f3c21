#include "archive/ArchiveFormat.h"

#include <cstdio>
#include <cstring>

namespace {
void putNumber(unsigned char* out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

void appendNumber(std::string& out, uint32_t value) {
    unsigned char bytes[4];
    putNumber(bytes, value);
    out.append(reinterpret_cast<const char*>(bytes), 4);
}

void putText(unsigned char* field, const char* text) {
    std::memcpy(field, text, std::strlen(text));
}

// The longest path Windows knows; no archive made from files names a longer one.
const size_t kLongestRecordName = 32767;

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool isForbiddenCharacter(unsigned char c) {
    return c < 32 || std::strchr("<>:\"|?*", c) != nullptr;
}

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// CON, PRN, AUX, NUL, COM1..COM9 and LPT1..LPT9 name devices whatever extension follows.
bool isDeviceName(std::string_view component) {
    std::string base = upperAscii(component.substr(0, component.find('.')));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
           base[3] <= '9';
}

std::string checkComponent(std::string_view component) {
    if (component.empty()) return "name holds an empty path component";
    if (component == "..") return "name climbs out of the destination with \"..\"";
    // Windows drops trailing dots and spaces, so "." , "..." or ".. " would not name what they say.
    if (component.back() == '.' || component.back() == ' ') return "name component ends with '.' or ' '";
    if (isDeviceName(component)) return "name is a device name";
    return "";
}
} // namespace

std::array<unsigned char, kArchiveHeaderSize> buildArchiveHeader(uint32_t unixTime,
                                                                 const ArchiveDate& localDate) {
    std::array<unsigned char, kArchiveHeaderSize> header{};
    putNumber(header.data(), kArchiveMagic);
    putNumber(header.data() + 4, unixTime);
    char text[256];
    std::snprintf(text, sizeof(text), "Norvalen Internet AG - %02d/%02d/%02d", localDate.month % 100,
                  localDate.day % 100, localDate.year % 100);
    putText(header.data() + 8, text);
    putText(header.data() + 264, "Norvalen Internet AG");
    return header;
}

std::string encodeRecordHead(std::string_view name, uint32_t dataSize) {
    std::string head;
    head.reserve(name.size() + 9);
    appendNumber(head, static_cast<uint32_t>(name.size() + 1));
    head.append(name);
    head.push_back('\0');
    appendNumber(head, dataSize);
    return head;
}

std::string checkRecordName(std::string_view name) {
    if (name.empty()) return "empty name";
    if (isSeparator(name.front())) return "name begins with a path separator";
    for (unsigned char c : name) {
        if (c == ':') return "name holds a drive letter or ':'";
        if (isForbiddenCharacter(c)) return "name holds a character that file names cannot have";
    }
    if (isSeparator(name.back())) return "name ends with a path separator";
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('\\', start);
        if (end == std::string_view::npos) end = name.size();
        std::string reason = checkComponent(name.substr(start, end - start));
        if (!reason.empty()) return reason;
        start = end + 1;
    }
    return "";
}

bool MemoryArchiveSource::read(size_t offset, void* out, size_t length) {
    if (offset > content_.size() || length > content_.size() - offset) return false;
    if (length > 0) std::memcpy(out, content_.data() + offset, length);
    return true;
}

ArchiveRecordReader::ArchiveRecordReader(ArchiveSource& source) : source_(source) {
    if (source_.size() < kArchiveHeaderSize)
        problem_ = RecordProblem{0, 0, "", "archive is shorter than its 520-byte header"};
}

ArchiveRecordReader::ArchiveRecordReader(std::span<const unsigned char> content)
    : memory_(content), source_(memory_) {
    if (source_.size() < kArchiveHeaderSize)
        problem_ = RecordProblem{0, 0, "", "archive is shorter than its 520-byte header"};
}

bool ArchiveRecordReader::readNumber(size_t& position, uint32_t& value) {
    unsigned char bytes[4];
    if (!source_.read(position, bytes, 4)) return false;
    value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[i];
    position += 4;
    return true;
}

std::optional<ArchiveRecord> ArchiveRecordReader::fail(size_t offset, std::string name, std::string reason) {
    problem_ = RecordProblem{index_, offset, std::move(name), std::move(reason)};
    return std::nullopt;
}

std::optional<ArchiveRecord> ArchiveRecordReader::unreadable(size_t offset, std::string name) {
    return fail(offset, std::move(name), "archive cannot be read");
}

std::optional<ArchiveRecord> ArchiveRecordReader::next() {
    const size_t size = source_.size();
    if (problem_ || position_ >= size) return std::nullopt;
    const size_t start = position_;
    size_t position = start;
    uint32_t nameSize = 0;
    if (size - position < 4) return fail(start, "", "archive ends inside the name size");
    if (!readNumber(position, nameSize)) return unreadable(start);
    if (nameSize == 0) return fail(start, "", "name without zero byte (name size 0)");
    if (nameSize > size - position) return fail(start, "", "name size points past the end of the archive");
    if (nameSize > kLongestRecordName + 1) return fail(start, "", "name is longer than any path");
    std::string name(nameSize, '\0');
    if (!source_.read(position, name.data(), nameSize)) return unreadable(start);
    const bool terminated = name.back() == '\0';
    name.pop_back();
    if (!terminated) return fail(start, name, "name without zero byte");
    if (name.find('\0') != std::string::npos)
        return fail(start, name.substr(0, name.find('\0')), "name holds a zero byte before its end");
    position += nameSize;
    for (char& c : name)
        if (c == '/') c = '\\';
    uint32_t dataSize = 0;
    if (size - position < 4) return fail(start, name, "archive ends inside the data size");
    if (!readNumber(position, dataSize)) return unreadable(start, name);
    if (dataSize > size - position) return fail(start, name, "data size points past the end of the archive");
    std::string unsafe = checkRecordName(name);
    if (!unsafe.empty()) return fail(start, name, unsafe);
    position_ = position + dataSize;
    ++index_;
    return ArchiveRecord{std::move(name), start, position, dataSize};
}

std::optional<RecordProblem> findArchiveProblem(ArchiveSource& source, size_t maxNameLength) {
    ArchiveRecordReader reader(source);
    size_t index = 0;
    while (std::optional<ArchiveRecord> record = reader.next()) {
        if (record->name.size() > maxNameLength)
            return RecordProblem{index, record->offset, record->name, "name is too long for the destination"};
        ++index;
    }
    return reader.problem();
}

std::optional<RecordProblem> findArchiveProblem(std::span<const unsigned char> content,
                                                size_t maxNameLength) {
    MemoryArchiveSource source(content);
    return findArchiveProblem(source, maxNameLength);
}
