#include "ui/FileChooser.h"

#include <windows.h>

#include <commdlg.h>

#include "config/ProcessStore.h"
#include "platform/Handles.h"

namespace {
constexpr size_t kResultLimit = 32 * 1024;

// The filter in the dialog's form: every '|' becomes a NUL, the whole ends in two NULs.
std::string systemFilter(const std::string& filter) {
    std::string out = filter;
    for (char& c : out)
        if (c == '|') c = '\0';
    out.push_back('\0');
    return out;
}

// Explorer-style results: one full path, or the folder followed by the names, NUL-separated.
void splitResult(const std::string& buffer, std::vector<std::string>& files) {
    std::vector<std::string> parts;
    for (size_t start = 0; start < buffer.size() && buffer[start] != '\0';) {
        size_t end = buffer.find('\0', start);
        if (end == std::string::npos) end = buffer.size();
        parts.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    if (parts.size() == 1) {
        files.push_back(parts.front());
        return;
    }
    for (size_t i = 1; i < parts.size(); ++i) {
        std::string folder = parts.front();
        if (!folder.empty() && folder.back() != '\\') folder += '\\';
        files.push_back(folder + parts[i]);
    }
}

} // namespace

bool runFileDialog(const FileChooserRequest& request, std::vector<std::string>& files) {
    std::string filter = systemFilter(request.filter);
    std::string buffer(kResultLimit, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | (request.multiSelect ? OFN_ALLOWMULTISELECT : 0);
    // The library of the system's dialog is loaded when it is asked for, not at every start.
    ScopedLibrary library(LoadLibraryA("comdlg32.dll"));
    using OpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
    auto openFileName = library ? reinterpret_cast<OpenFileNameFn>(reinterpret_cast<void*>(
                                      GetProcAddress(library.get(), "GetOpenFileNameA")))
                                : nullptr;
    if (!openFileName || !openFileName(&dialog)) return false;
    splitResult(buffer, files);
    return true;
}

bool chooseFiles(std::vector<std::string>& files, const std::string& initialFolder, bool multiSelect,
                 bool archiveFilter) {
    FileChooserRequest request;
    request.initialFolder = initialFolder;
    request.multiSelect = multiSelect;
    request.filter =
        archiveFilter ? "Seitenarchiv Dateien (*.sad)|*.sad|" : "Html Dateien (*.htm;*.html)|*.htm;*.html|";
    request.title = getLayoutSectionValue("ArchivImportExportAssistent", "ImportExportFileDlgDescription");
    std::vector<std::string> chosen;
    if (!host().chooseFiles(request, chosen)) return false;
    files.insert(files.end(), chosen.begin(), chosen.end());
    return true;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
