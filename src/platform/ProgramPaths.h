#pragma once
#include <string>

// The suite's registry path below HKEY_CURRENT_USER\Software.
const char* getSuitePath(); // "Quendal\Quendal_Software_5\Browser"

// Determines the program directory (lower case, trailing backslash) and makes it current.
void setupPaths();
// The program directory; setupPaths runs on first use if it has not run yet.
std::string getProgramDirectory();
// Full path for a configuration file name: the shared files in the common application data
// folder, "usr*" files in the user's AppData folder, everything else in the program's "ini" folder.
std::string getIniFilePath(const std::string& fileName);
// The all-users application data folder, or "" when it cannot be determined.
std::string getCommonAppDataPath();
