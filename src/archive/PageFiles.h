#pragma once
#include <string>

// The companion folder of a saved page: the path without its last four characters plus
// "-Dateien", with "/" for every "\"; folderName receives its last component.
std::string getPageFilesFolder(const std::string& pagePath, std::string& folderName);
