#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "favorites/ChromiumBookmarks.h"

// Profiles of today's browsers whose bookmarks the favorites can import, found in their usual
// folders below the user's application data folders.
enum class BrowserKind {
    Chromium, // a "Bookmarks" file of JSON
    Firefox,  // "places.sqlite", or the backups in "bookmarkbackups"
};

struct BrowserProfile {
    BrowserKind kind = BrowserKind::Chromium;
    std::string id;            // "<browser>:<profile folder>", e.g. "chrome:Profile 1"
    std::string displayText;   // as the wizard shows it, e.g. "Google Chrome \x96 Person 1" (ANSI)
    std::string bookmarksFile; // the file read
    std::string accountFile;   // the signed-in account's bookmarks beside it, read too if it exists
    ChromiumRootNames rootNames;
    std::string problem; // why the bookmarks cannot be read; empty when they can (or may)
};

// What a profile's bookmarks gave.
struct BrowserBookmarks {
    std::unique_ptr<BookmarkNode> roots; // one folder per non-empty root, as a sibling list
    size_t links = 0;
    std::string fileRead;
    std::string problem;         // why nothing could be read; empty when read
    std::string backupDate;      // "DD.MM.YYYY" of the backup read because the database could not be
    std::string databaseProblem; // then why not
};

// Every profile with bookmarks, browser by browser: each Chromium-based browser's profiles in the
// order of its "Local State", then the profile folders it does not list; then Firefox's, the one
// its installation uses first.
std::vector<BrowserProfile> findBrowserProfiles();
std::optional<BrowserProfile> findBrowserProfile(const std::string& id);
