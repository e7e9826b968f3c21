#pragma once
#include <string>

// Replaces the file at path by content without leaving it half written: the content goes
// to a temporary file in the same folder, which replaces the old file only when it is complete.
// Where the folder does not let us create a file, the file is written in place.
// On failure the temporary file is gone and the message
// "unable to write file '<path>'" has been shown.
bool replaceFileContent(const std::string& path, const std::string& content);
