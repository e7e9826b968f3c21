#pragma once
#include <string>
#include <string_view>
#include <vector>

// A profile of a Chromium-based browser as its "Local State" file lists it.
struct ChromiumProfileEntry {
    std::string folder;      // "Default", "Profile 1", ...
    std::string displayName; // UTF-8, as the browser shows it
};

// The profiles of "profile.info_cache" by folder name; empty when the text holds none.
std::vector<ChromiumProfileEntry> parseLocalStateProfiles(std::string_view json);
