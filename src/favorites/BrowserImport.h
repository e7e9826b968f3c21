#pragma once
#include <string>

#include "favorites/BrowserProfiles.h"

// Import of another browser's bookmarks into a favorites folder ("Favoriten\News"), as the
// bookmark file import does it: one folder per non-empty root of the browser below the folder.

// Reads the profile's bookmarks (its own and its account's file) into reader; "" when read,
// else why not. Nothing of the profile is written.
std::string readBrowserBookmarks(const BrowserProfile& profile, ChromiumBookmarkReader& reader);
// A reader for the profile's browser: titles in the ANSI code page, dates in the store's format.
ChromiumBookmarkReader browserBookmarkReader(const BrowserProfile& profile);
// 1 done, -1 failed (unknown profile, bookmarks not readable, or the result did not fit the
// shared store); why, when given, receives the reason of a failure.
int import_Browser(const std::string& destFolder, const std::string& profileId, std::string* why = nullptr);
