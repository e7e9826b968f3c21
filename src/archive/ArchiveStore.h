#pragma once
#include <string>

// Places of the page archive on disk.
std::string getArchivIniPath();     // the staged exchange file: ini folder + "nvarchive.ini"
std::string getArchivTempFolder();  // the staging folder: ini folder + "Temp", no trailing "\"
std::string getOfflineDataFolder(); // personal folder + "\Quendal_Software_5\Offline\Data"

// A path below the archive root without "NVOfflineTreeRoot\" (store and exchange file alike).
std::string getArchivRelativePath(const std::string& sectionPath);
