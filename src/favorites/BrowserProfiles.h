#pragma once
#include <optional>
#include <string>
#include <vector>

#include "favorites/ChromiumBookmarks.h"

// Profiles of today's browsers whose bookmarks the favorites can import, found in their usual
// folders below the user's application data folders.
struct BrowserProfile {
    std::string id;            // "<browser>:<profile folder>", e.g. "chrome:Profile 1"
    std::string displayText;   // as the wizard shows it, e.g. "Google Chrome \x96 Person 1" (ANSI)
    std::string bookmarksFile; // the file read
    std::string accountFile;   // the signed-in account's bookmarks beside it, read too if it exists
    ChromiumRootNames rootNames;
    std::string problem; // why the bookmarks cannot be read; empty when they can
};

// Every profile with a bookmarks file, browser by browser; each browser's profiles in the order
// of its "Local State", then the profile folders it does not list.
std::vector<BrowserProfile> findBrowserProfiles();
std::optional<BrowserProfile> findBrowserProfile(const std::string& id);
