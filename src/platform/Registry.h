#pragma once
#include <string>
#include <vector>

#include <windows.h>

// A REG_SZ or REG_EXPAND_SZ value (unexpanded, at most 1023 characters), else defaultValue.
std::string readRegistryString(HKEY root, const std::string& subKey, const std::string& valueName,
                               const std::string& defaultValue);
// Appends the names of all subkeys of subKey (opened with KEY_ALL_ACCESS) in enumeration order.
bool getRegistrySubKeys(const std::string& subKey, HKEY root, std::vector<std::string>& names);

// Shell folders of HKEY_CURRENT_USER ...\Explorer\Shell Folders.
std::string getFavoritesFolder(); // "Favorites", default ""
std::string getPersonalFolder();  // "Personal",  default "c:\"
std::string getAppDataFolder();   // "AppData",   default "c:\"
// "Local AppData", else the system's local application data folder, else "".
std::string getLocalAppDataFolder();
