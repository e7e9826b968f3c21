// Documents built through setValue from arbitrary names and values: what setValue accepts must
// come back unchanged after saving and reading again, and what it refuses must change nothing.
// Input: records separated by 0x02, each "section 0x01 key 0x01 value"; a byte 0x03 followed by
// n repeats the byte before it n * 16 times, so that texts past the limits occur.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/IniDocument.h"

namespace {
std::string contentOf(const IniDocument& document) {
    std::string text;
    for (const auto& section : document.sections()) {
        text += std::to_string(section->name().size()) + "[" + section->name();
        for (const IniEntry& entry : section->entries())
            text += std::to_string(entry.key.size()) + ":" + entry.key + std::to_string(entry.value.size()) + "=" +
                    entry.value;
    }
    return text;
}

std::vector<std::string> fieldsOf(const std::string& record) {
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < record.size(); ++i) {
        char c = record[i];
        if (c == '\x01') {
            fields.emplace_back();
        } else if (c == '\x03' && i + 1 < record.size() && !fields.back().empty()) {
            fields.back().append(static_cast<unsigned char>(record[++i]) * 16u, fields.back().back());
        } else {
            fields.back() += c;
        }
    }
    return fields;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    IniDocument document;
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\x02', start);
        if (end == std::string::npos) end = input.size();
        std::vector<std::string> fields = fieldsOf(input.substr(start, end - start));
        start = end + 1;
        if (fields.size() != 3) continue;
        std::string before = contentOf(document);
        if (!document.setValue(fields[0], fields[1], fields[2])) {
            if (contentOf(document) != before) std::abort();
        } else if (const std::string* stored = document.findValue(fields[0], fields[1]); !stored || *stored != fields[2]) {
            std::abort();
        }
    }
    std::string saved;
    document.serialize(saved, true);
    if (saved.size() != document.serializedSize(true)) std::abort();
    IniDocument reloaded;
    reloaded.parse(saved, nullptr);
    if (contentOf(reloaded) != contentOf(document)) std::abort();
    return 0;
}
