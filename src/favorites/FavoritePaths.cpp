#include "favorites/FavoritePaths.h"

std::string composeTreeItemPath(const std::vector<std::string>& ancestorLabels, const std::string& label,
                                bool isFolder) {
    std::string path = "\\";
    for (const std::string& ancestor : ancestorLabels)
        path += ancestor + "\\";
    for (char& c : path)
        if (c == '/') c = '\\';
    if (!path.empty() && path.front() == '\\') path.erase(0, 1);
    if (path.empty()) return label;
    if (path.back() == '\\') path.pop_back();
    if (isFolder) path += "\\" + label;
    return path;
}

FolderPathParts splitFolderPath(const std::string& path) {
    size_t last = path.rfind('\\');
    if (last == std::string::npos) return {std::string(), path};
    return {path.substr(0, last), path.substr(last + 1)};
}

std::string bookmarkPathFromPopstate(const std::string& popstatePath) {
    const size_t mailStateLength = 17; // "mail\popstate.dat"; the ending itself is not tested
    size_t keep = popstatePath.size() < mailStateLength ? 0 : popstatePath.size() - mailStateLength;
    return popstatePath.substr(0, keep) + "bookmark.htm";
}

std::string bookmarkPathFromInstallDirectory(const std::string& installDirectory, const std::string& user) {
    size_t last = installDirectory.rfind('\\');
    std::string base = last == std::string::npos ? std::string() : installDirectory.substr(0, last);
    return base + "\\Users\\" + user + "\\bookmark.htm";
}

std::string defaultBookmarkPathFrom(const std::string& programFilesDirectory) {
    return programFilesDirectory + "\\Netscape\\Users\\default\\bookmark.htm";
}
