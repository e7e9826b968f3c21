#pragma once
#include <string>

class NodeStore;
class SharedStore;

// Import and export between the favorites store and the Internet Explorer favorites folder
// (folders and ".url" shortcut files below the "Favorites" shell folder). Folder paths are
// relative to the favorites root section, for example "Favoriten\News". Results: 1 done, -1 when
// there is no Favorites folder or the import does not fit the shared store.

int import_MIE(SharedStore& store, const std::string& destFolder);
int export_MIE(SharedStore& store, const std::string& sourceFolder);
// Adds the folders (with recurse) and the files ending with ext below dir to section; false
// when dir cannot be listed.
bool importDirectory(NodeStore& store, const std::string& section, const std::string& dir,
                     const std::string& ext, bool recurse);
// Writes the folders and links below section into dir as folders and shortcut files.
void exportFolderToDirectory(NodeStore& store, const std::string& section, const std::string& dir);
