#include "store/LeftOutEntries.h"

#include <utility>

namespace {
std::vector<LeftOutEntry>& entries() {
    static std::vector<LeftOutEntry> list;
    return list;
}
} // namespace

void noteLeftOut(std::string path, std::string reason) {
    entries().push_back(LeftOutEntry{std::move(path), std::move(reason)});
}

std::vector<LeftOutEntry> takeLeftOut() { return std::exchange(entries(), {}); }
