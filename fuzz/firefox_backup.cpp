// Fuzzes the reader of Firefox's bookmark backups: any file as a jsonlz4 backup, and any text as
// its JSON, through the rows into the tree.
#include <cstddef>
#include <cstdint>
#include <string>

#include "favorites/FirefoxBackup.h"

#include "Narrow.h"

namespace {
void readJson(std::string_view json) {
    std::optional<std::vector<PlacesRow>> rows = backupRows(json);
    if (!rows) return;
    BrowserNodeMaker nodes(narrow, [](uint64_t microseconds) { return std::to_string(microseconds); });
    (void)buildPlacesTree(*rows, nodes);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view file(reinterpret_cast<const char*>(data), size);
    BackupText text = unpackJsonLz4(file);
    if (text.error.empty() && file.size() < 12) __builtin_trap(); // shorter than the header, yet unpacked
    if (text.error.empty()) readJson(text.json);
    readJson(file);
    (void)backupDate(file);
    return 0;
}
