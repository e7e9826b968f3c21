#pragma once
#include <string>
#include <vector>

#include "platform/Host.h"

// The file chooser of the wizards' second pages. The host chooses: in the program the system's
// open-file dialog, titled with the skin's "ImportExportFileDlgDescription".

// Appends every chosen path to files and returns true when the user confirmed; otherwise
// returns false and leaves files unchanged.
bool chooseFiles(std::vector<std::string>& files, const std::string& initialFolder, bool multiSelect,
                 bool archiveFilter);

// The system's open-file dialog for the request: appends the chosen paths, true when confirmed.
bool runFileDialog(const FileChooserRequest& request, std::vector<std::string>& files);

// Whether a chosen name ends with suffix, compared as written (the pages add a missing type).
bool endsWith(const std::string& text, const std::string& suffix);
