#pragma once
#include <string>

#include "favorites/BrowserProfiles.h"

class SharedStore;

// Import of another browser's bookmarks into a favorites folder ("Favoriten\News"), as the
// bookmark file import does it: one folder per non-empty root of the browser below the folder.

// Reads the profile's bookmarks (a Chromium-based browser's own and its account's file, Firefox's
// database or its newest backup): titles in the ANSI code page, dates in the store's format.
// Nothing of the profile is written.
BrowserBookmarks readBrowserBookmarks(const BrowserProfile& profile);

// What an import tells beyond its result.
struct BrowserImportNotes {
    std::string why;             // the reason of a failure
    std::string backupDate;      // "DD.MM.YYYY": Firefox's database could not be read, its backup was
    std::string databaseProblem; // then why the database could not be read
};
// 1 done, -1 failed (unknown profile, bookmarks not readable, or the result did not fit the
// shared store).
int import_Browser(SharedStore& store, const std::string& destFolder, const std::string& profileId,
                   BrowserImportNotes* notes = nullptr);
