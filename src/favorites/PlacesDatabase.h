#pragma once
#include <string>
#include <vector>

#include "favorites/FirefoxPlaces.h"

// Reads the bookmark rows of a places database with SQLite. The file is opened for writing, as
// SQLite needs it to take in a write-ahead log beside it ("-wal"): callers hand it a private copy
// of the profile's files, never the browser's own.
// More rows than a store could take in: the database is refused rather than read into memory.
constexpr size_t kMaxPlacesRows = 2'000'000;

struct PlacesRows {
    std::vector<PlacesRow> rows;
    std::string error; // empty when read; else SQLite's reason or that it is no places database
};
PlacesRows readPlacesRows(const std::string& utf8Path);
