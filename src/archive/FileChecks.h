#pragma once
#include <cstdint>
#include <string>

// The ten characters a file name typed by the user must not hold.
extern const char* const kForbiddenFileNameCharacters; // \/:*?"<>|'

// A full path in folder that no file has yet, without extension; nothing is left on disk.
// "" when the system cannot make one.
std::string makeTempName(const std::string& folder);
// The text after the last "\" (the whole text without one).
std::string getFileName(const std::string& path);
// The text up to and including the last "\" (the whole text without one).
std::string getFolderPart(const std::string& path);
// True for a usable name; otherwise asks "MessageBoxFileNameEmpty" or "MessageBoxInvalidFileName".
bool isValidFileName(const std::string& name);
// Whether the drive with the given root has byteCount bytes free for the caller (quotas count);
// false when it cannot tell.
bool hasDiskSpace(uint64_t byteCount, const std::string& root);
// The root whose free space counts for destination: "D:" for D:\x\a.sad, the share's root
// "\\server\share\" for a network path, "\" (the current drive) for \x\a.sad; "" without "\".
std::string getSpaceRoot(const std::string& destination);
// Whether the drive of destination has room for file; true for a destination without "\".
bool hasDiskSpaceFor(const std::string& file, const std::string& destination);
// Whether the folder that destination names is there (drive, share and folder reachable);
// true for a bare file name.
bool isDestinationReachable(const std::string& destination);
