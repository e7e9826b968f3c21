#pragma once
#include <string>
#include <vector>

// Path texts of the favorites tree and of the Netscape profiles, without any system access.

// The store path of a tree item from the labels of its ancestors (top-level one first), its own
// label and whether it is a folder (other items yield their parent's path).
std::string composeTreeItemPath(const std::vector<std::string>& ancestorLabels, const std::string& label,
                                bool isFolder);

// A folder path split at its last "\": parent path ("" for a top-level folder) and display name.
struct FolderPathParts {
    std::string parent;
    std::string name;
};
FolderPathParts splitFolderPath(const std::string& path);

// Netscape profile bookmark files.
// From a mail state file: the path without its last 17 characters ("mail\popstate.dat") plus
// "bookmark.htm".
std::string bookmarkPathFromPopstate(const std::string& popstatePath);
// From the install directory: its text before the last "\", "\Users\", user, "\bookmark.htm".
std::string bookmarkPathFromInstallDirectory(const std::string& installDirectory, const std::string& user);
// The default profile's file below the program files folder.
std::string defaultBookmarkPathFrom(const std::string& programFilesDirectory);
