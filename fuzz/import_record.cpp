// Feeds arbitrary bytes to the reader of the last import's record: whatever it accepts must
// lie within its part and come back unchanged when written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "store/ImportRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::optional<ImportRecord> record =
        parseRecord(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!record) return 0;
    for (const auto& section : record->before.sections())
        if (!record->part.contains(section->name())) std::abort();
    const std::string text = recordText(*record);
    std::optional<ImportRecord> again = parseRecord(text);
    if (!again || recordText(*again) != text) std::abort();
    return 0;
}
