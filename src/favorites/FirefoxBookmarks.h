#pragma once
#include <string>

#include "favorites/BrowserNodes.h"
#include "favorites/BrowserProfiles.h"

// A Firefox profile's bookmarks. Nothing in the profile is ever written: its database is read
// from a private copy.

constexpr const char* kPlacesFile = "places.sqlite";

// The newest backup in the profile folder's "bookmarkbackups", as a full path, or "".
std::string newestFirefoxBackup(const std::string& profileFolder);
// Reads places.sqlite (profile.bookmarksFile) together with its write-ahead log from a copy in a
// private temporary folder, deleted afterwards. When the database cannot be read (missing,
// locked, damaged), the newest backup is read instead and the result names its date.
BrowserBookmarks readFirefoxBookmarks(const BrowserProfile& profile, const BrowserNodeMaker& nodes);
