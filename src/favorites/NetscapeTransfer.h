#pragma once
#include <string>

class NodeStore;
class SharedStore;

// Import and export between the favorites store and Netscape bookmark files: a profile user's
// "bookmark.htm" or any file the user chose. Folder paths are relative to the favorites root
// section, for example "Favoriten\News". Results: 1 done, -1 failed (file not readable or not
// written, or the import did not fit the shared store), 0 abandoned after a message of its own.

int import_NC(SharedStore& store, const std::string& destFolder, const std::string& userOrFile, bool isFile);
int import_NCFile(SharedStore& store, const std::string& destFolder, const std::string& path);
int export_NC(NodeStore& store, const std::string& sourceFolder, const std::string& user);
int export_NCFile(NodeStore& store, const std::string& sourceFolder, const std::string& path);
