// Feeds arbitrary bytes to the archive record reader: it must never read outside the input,
// and every record it accepts must lie inside the input and have a safe name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "archive/ArchiveFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const unsigned char> content(data, size);
    ArchiveRecordReader reader(content);
    size_t end = kArchiveHeaderSize;
    while (auto record = reader.next()) {
        if (record->offset != end || record->dataOffset + record->dataSize > size) std::abort();
        if (!checkRecordName(record->name).empty()) std::abort();
        end = record->dataOffset + record->dataSize;
    }
    if (!reader.problem() && size >= kArchiveHeaderSize && end != size) std::abort();
    (void)findArchiveProblem(content, 200);
    return 0;
}
