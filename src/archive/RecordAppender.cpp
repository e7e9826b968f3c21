#include "archive/RecordAppender.h"

#include <algorithm>
#include <string>

#include "app/Trace.h"
#include "archive/ArchiveFormat.h"

namespace {
const DWORD kBlockSize = 4096;

bool writeAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

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
    std::string head = encodeRecordHead(name, dataSize);
    if (!writeAll(archive, head.data(), static_cast<DWORD>(head.size())))
        return cutBack(archive, recordStart, AppendResult::WriteFailed);
    trace("    filesize: %d\n", static_cast<int>(dataSize));

    char block[kBlockSize];
    for (uint32_t left = dataSize; left > 0;) {
        DWORD wanted = std::min<uint32_t>(left, kBlockSize), read = 0;
        if (!ReadFile(input, block, wanted, &read, nullptr) || read == 0)
            return cutBack(archive, recordStart, AppendResult::ReadFailed);
        if (!writeAll(archive, block, read)) return cutBack(archive, recordStart, AppendResult::WriteFailed);
        left -= read;
    }
    return AppendResult::Appended;
}
