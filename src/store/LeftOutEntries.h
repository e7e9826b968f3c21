#pragma once
#include <string>
#include <vector>

// Entries that an operation left out because the store (or a target) could not take them. The
// operations note them as they go; whoever ran the operation takes them afterwards and tells the
// user: nvtool names each on standard error, the wizards choose their message by them.
struct LeftOutEntry {
    std::string path;   // where the entry would have been, for example Favoriten\Lang\Kurz
    std::string reason; // why it was left out
};

void noteLeftOut(std::string path, std::string reason);
// The entries noted since the last call; the list is empty afterwards.
std::vector<LeftOutEntry> takeLeftOut();
