#pragma once
#include <functional>
#include <string>
#include <vector>

// The file chooser of the wizards' second pages: the system's open-file dialog, titled with the
// skin's "ImportExportFileDlgDescription". Tests replace the dialog through the handler seam.
struct FileChooserRequest {
    std::string initialFolder; // empty: the dialog's own choice
    bool multiSelect = false;
    std::string filter; // "Name|pattern|" pairs
    std::string title;
};

// Appends the chosen paths and returns true when the user confirmed.
using FileChooserHandler =
    std::function<bool(const FileChooserRequest& request, std::vector<std::string>& files)>;

// Installs a handler and returns the previous one; an empty handler restores the system dialog.
FileChooserHandler setFileChooserHandler(FileChooserHandler handler);

// Appends every chosen path to files and returns true when the user confirmed; otherwise
// returns false and leaves files unchanged.
bool chooseFiles(std::vector<std::string>& files, const std::string& initialFolder, bool multiSelect,
                 bool archiveFilter);

// Whether a chosen name ends with suffix, compared as written (the pages add a missing type).
bool endsWith(const std::string& text, const std::string& suffix);
