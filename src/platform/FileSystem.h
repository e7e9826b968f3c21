#pragma once
#include <optional>
#include <string>

#include <windows.h>

// directory + name, with exactly one backslash between them.
std::string appendPath(const std::string& directory, const std::string& name);
// The text before the last backslash, or "".
std::string getParentPath(const std::string& path);
// "." or "..": the entries a folder listing holds for the folder itself and its parent.
bool isDotEntry(const char* name);
// True when FindFirstFileA finds anything for path (files, directories, wildcards).
bool fileExists(const std::string& path);
// True when the first match of path is a directory.
bool isDirectory(const std::string& path);
// Creates path and its missing parents; false when path already existed. With openAccess the
// folders get a null DACL (access for everyone).
bool createDirectory(const std::string& path, bool openAccess);
// Deletes a directory tree (read-only files included).
bool deleteDirectory(const std::string& path);
// Copies (move false) or moves (move true) a directory tree; single file failures are ignored.
bool copyDirectory(const std::string& source, const std::string& destination, bool move);
// Moves one file by copy and delete, creating the target folder when it is missing.
bool moveFile(const std::string& existing, const std::string& newName);

// The whole file (read sharing, existing files only), or nullopt. No message.
std::optional<std::string> readWholeFile(const std::string& path);
// The whole file of another program that may be writing, renaming or deleting it meanwhile (full
// sharing); nullopt when it cannot be read or is larger than limit bytes.
std::optional<std::string> readFileInUse(const std::string& path, size_t limit);
// Writes data in one request; keepExisting opens without truncating. With report, a file that
// cannot be opened gives the message "unable to write file '<path>'".
bool writeWholeFile(const std::string& path, const void* data, size_t length, bool keepExisting, bool report);

// Initialises descriptor (revision 1) with a null DACL.
bool setNullDacl(SECURITY_DESCRIPTOR& descriptor);
