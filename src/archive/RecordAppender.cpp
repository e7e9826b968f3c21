#include "archive/RecordAppender.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "platform/Trace.h"

namespace {
const DWORD kBlockSize = 4096;
// Blocks are gathered before they go to the archive: one write per 16 blocks instead of one
// per block (the system call per write dominates packing time otherwise).
const size_t kWriteBufferSize = 16 * kBlockSize;

class ArchiveWriter {
  public:
    explicit ArchiveWriter(HANDLE archive) : archive_(archive) { buffer_.reserve(kWriteBufferSize); }
    bool append(const char* data, size_t size) {
        if (buffer_.size() + size > kWriteBufferSize && !flush()) return false;
        buffer_.insert(buffer_.end(), data, data + size);
        return true;
    }
    bool flush() {
        DWORD written = 0;
        bool ok = buffer_.empty() || (WriteFile(archive_, buffer_.data(), static_cast<DWORD>(buffer_.size()),
                                                &written, nullptr) &&
                                      written == buffer_.size());
        buffer_.clear();
        return ok;
    }

  private:
    HANDLE archive_;
    std::vector<char> buffer_;
};

AppendResult cutBack(HANDLE archive, LARGE_INTEGER recordStart, AppendResult failure) {
    SetFilePointerEx(archive, recordStart, nullptr, FILE_BEGIN);
    SetEndOfFile(archive);
    return failure;
}
} // namespace

AppendResult appendRecord(HANDLE archive, HANDLE input, std::string_view name, uint32_t dataSize) {
    LARGE_INTEGER recordStart{};
    if (!SetFilePointerEx(archive, LARGE_INTEGER{}, &recordStart, FILE_END)) return AppendResult::WriteFailed;
    trace("    filename: '%.*s'\n", static_cast<int>(name.size()), name.data());
    trace("filenamesize: %d\n", static_cast<int>(name.size() + 1));
    trace("    filesize: %d\n", static_cast<int>(dataSize));
    ArchiveWriter writer(archive);
    std::string head = encodeRecordHead(name, dataSize);
    if (!writer.append(head.data(), head.size()))
        return cutBack(archive, recordStart, AppendResult::WriteFailed);

    char block[kBlockSize];
    for (uint32_t left = dataSize; left > 0;) {
        DWORD wanted = std::min<uint32_t>(left, kBlockSize), read = 0;
        if (!ReadFile(input, block, wanted, &read, nullptr) || read == 0)
            return cutBack(archive, recordStart, AppendResult::ReadFailed);
        if (!writer.append(block, read)) return cutBack(archive, recordStart, AppendResult::WriteFailed);
        left -= read;
    }
    if (!writer.flush()) return cutBack(archive, recordStart, AppendResult::WriteFailed);
    return AppendResult::Appended;
}
