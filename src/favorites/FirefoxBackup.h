#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "favorites/FirefoxPlaces.h"

// Firefox's bookmark backups, "bookmarkbackups\bookmarks-YYYY-MM-DD_<count>_<hash>.jsonlz4": the
// 8 bytes "mozLz40\0", the size of the JSON as a 32-bit little-endian number, then the JSON as
// one LZ4 block. Containers ("text/x-moz-place-container") hold "children", the roots among them
// a "root" name; bookmarks ("text/x-moz-place") have "title" and "uri".

// Backups larger than this, unpacked, cannot come from a profile whose links fit the store.
constexpr size_t kMaxBackupJson = 64u << 20;
// The largest backup file read (the LZ4 bound of kMaxBackupJson and the header).
constexpr size_t kMaxBackupFile = kMaxBackupJson + kMaxBackupJson / 255 + 16 + 12;

struct BackupText {
    std::string json;
    std::string error; // empty when unpacked; else why the file is refused
};
// Unpacks a backup file's content; a size that does not match the header's is refused.
BackupText unpackJsonLz4(std::string_view file);

// The backup's tree as places rows (roots with their guids), or nullopt when the text is not a
// bookmark backup.
std::optional<std::vector<PlacesRow>> backupRows(std::string_view json);

// "YYYY-MM-DD" of a backup file's name, or "" when the name is not that of a backup.
std::string backupDate(std::string_view fileName);
// The newest backup among the names (the latest date; of one day the greatest name), or "".
std::string newestBackup(const std::vector<std::string>& fileNames);
// "YYYY-MM-DD" as "DD.MM.YYYY".
std::string germanDate(std::string_view isoDate);
