#pragma once
#include <string>
#include <vector>

// An entry that an archive export or import left out, for the caller to name: its path below
// the archive root and why.
struct LeftOutEntry {
    std::string name;
    std::string reason;
};
using LeftOutEntries = std::vector<LeftOutEntry>;
