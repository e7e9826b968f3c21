#pragma once
#include <string>

// The trees of the shared store: one section per node, named by its path below a root section,
// children listed in item_0, item_1, ... up to the first empty value.
std::string getFavTreeRoot();     // "NVFavTreeRoot"
std::string getOfflineTreeRoot(); // "NVOfflineTreeRoot"

// The key's value, or "" when the section or key is missing.
std::string getNodeValue(const std::string& section, const std::string& key);
// Creates section and key as needed and overwrites the value; always true.
bool setNodeValue(const std::string& section, const std::string& key, const std::string& value);
// The key that lists name (exact byte comparison) or, without a name or when it is not listed,
// the first free item key.
std::string findItemKey(const std::string& section, const std::string& name = {});
// Whether section lists name, ignoring case as the active code page does.
bool hasItem(const std::string& section, const std::string& name);

// The text after the last "\", or the whole path when it holds none.
std::string getFileNameOfPath(const std::string& path);
// The companion folder of a saved page: the path without its last four characters plus
// "-Dateien", with "/" for every "\"; folderName receives the folder's own name.
std::string getPageFilesFolder(const std::string& pagePath, std::string& folderName);
