// The configuration parser over arbitrary bytes: it must never read out of bounds, and what it
// keeps must survive writing and reading again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    PlaceholderValues values{"C:\\Eigene Dateien", "C:\\Anwendungsdaten", "usr0001"};
    IniDocument document;
    document.parse(text, size % 2 ? &values : nullptr);
    std::string written;
    document.serialize(written, true);
    if (written.size() != document.serializedSize(true)) std::abort();
    IniDocument again;
    again.parse(written, nullptr);
    std::string rewritten;
    again.serialize(rewritten, true);
    if (rewritten != written) std::abort();
    return 0;
}
