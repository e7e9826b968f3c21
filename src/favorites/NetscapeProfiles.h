#pragma once
#include <string>
#include <vector>

// Netscape Navigator's installation and profile users as the registry records them.

std::string getNetscapeVersion();          // empty: Netscape Navigator is not installed
std::string getNetscapeCurrentUser();
std::string getNetscapeInstallDirectory();
// Appends the profile users in registry order; false when the users key cannot be opened.
bool getNetscapeUserList(std::vector<std::string>& users);
// The user's bookmark file from its mail server's state file or the install directory, or "".
std::string getUserBookmarkPath(const std::string& user);
// The default profile's bookmark file below the program files folder, or "".
std::string getDefaultBookmarkPath();
// getUserBookmarkPath, with getDefaultBookmarkPath as the last resort for the user "default".
std::string resolveBookmarkPath(const std::string& user);
