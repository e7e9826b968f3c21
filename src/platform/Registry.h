#pragma once
#include <string>
#include <vector>

#include <windows.h>

// A REG_SZ or REG_EXPAND_SZ value (unexpanded, at most 1023 characters), else defaultValue.
// view KEY_WOW64_32KEY reads what a 32-bit program sees of HKEY_LOCAL_MACHINE\Software on
// 64-bit Windows (its Wow6432Node); other systems ignore it.
std::string readRegistryString(HKEY root, const std::string& subKey, const std::string& valueName,
                               const std::string& defaultValue, REGSAM view = 0);
// Appends the names of all subkeys of subKey (opened with KEY_ALL_ACCESS) in enumeration order.
bool getRegistrySubKeys(const std::string& subKey, HKEY root, std::vector<std::string>& names);

// Shell folders of HKEY_CURRENT_USER ...\Explorer\Shell Folders.
std::string getFavoritesFolder(); // "Favorites", default ""
std::string getPersonalFolder();  // "Personal",  default "c:\"
std::string getAppDataFolder();   // "AppData",   default "c:\"
// "Local AppData", else the system's local application data folder, else "".
std::string getLocalAppDataFolder();
