#include "Measures.h"

#include <windows.h>

#include <cstdlib>
#include <sstream>

#include "support/TestSupport.h"

namespace {
std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) result.push_back(line);
    }
    return result;
}

size_t indentation(const std::string& line) {
    const size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? line.size() : first;
}

// Counts the "FOLDER [" and "LINK [" lines of a tree listing that are indented deeper than
// the given number of levels (two blanks each).
LinkCount countTreeLines(const std::string& listing, int levels) {
    LinkCount count;
    for (const std::string& line : lines(listing)) {
        const size_t indent = indentation(line);
        if (indent < static_cast<size_t>(levels) * 2) continue;
        if (line.compare(indent, 8, "FOLDER [") == 0) ++count.folders;
        if (line.compare(indent, 6, "LINK [") == 0) ++count.links;
    }
    return count;
}

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           lstrcmpiA(text.c_str() + text.size() - suffix.size(), suffix.c_str()) == 0;
}

template <typename Visit> void walkFolder(const std::string& folder, Visit&& visit) {
    WIN32_FIND_DATAA entry{};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        visit(name, isFolder);
        if (isFolder) walkFolder(folder + "\\" + name, visit);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}
} // namespace

std::string describe(const LinkCount& count) {
    return std::to_string(count.links) + (count.links == 1 ? " link" : " links") + " in " +
           std::to_string(count.folders) + (count.folders == 1 ? " folder" : " folders");
}

std::string describe(const PageTree& tree) {
    const size_t pages = tree.pageFiles.size();
    return std::to_string(pages) + (pages == 1 ? " page" : " pages") + " in " + std::to_string(tree.folders) +
           (tree.folders == 1 ? " folder" : " folders");
}

std::optional<std::string> Measures::run(const std::string& arguments) const {
    std::string output;
    const int code = runProcess("\"" + nvtool_ + "\" " + arguments, &output, 30000);
    if (code != 0) {
        problem_ = "nvtool " + arguments + " ended with " + std::to_string(code);
        return std::nullopt;
    }
    return output;
}

std::optional<LinkCount> Measures::favorites(const std::string& folder) const {
    std::optional<std::string> listing = run("favorites list \"" + folder + "\"");
    if (!listing) return std::nullopt;
    return countTreeLines(*listing, 0);
}

std::optional<LinkCount> Measures::bookmarkFile(const std::string& file, int levels) const {
    std::optional<std::string> listing = run("bookmarks show \"" + file + "\"");
    if (!listing) return std::nullopt;
    return countTreeLines(*listing, levels);
}

std::optional<int> Measures::browserLinks(const std::string& profileId) const {
    std::optional<std::string> listing = run("favorites browsers");
    if (!listing) return std::nullopt;
    for (const std::string& line : lines(*listing))
        if (line.rfind(profileId + "\t", 0) == 0) return std::atoi(line.c_str() + line.rfind('\t') + 1);
    problem_ = "nvtool favorites browsers does not list " + profileId;
    return std::nullopt;
}

std::optional<PageTree> Measures::archiveTree(const std::string& folder) const {
    std::optional<std::string> listing = run("archive tree \"" + folder + "\"");
    if (!listing) return std::nullopt;
    PageTree tree;
    for (const std::string& line : lines(*listing)) {
        if (const size_t tab = line.find('\t'); tab != std::string::npos)
            tree.pageFiles.push_back(line.substr(tab + 1));
        else if (line.back() == '\\')
            ++tree.folders;
    }
    return tree;
}

std::optional<ArchiveContent> Measures::archiveFile(const std::string& file) const {
    std::optional<std::string> listing = run("archive list \"" + file + "\"");
    if (!listing) return std::nullopt;
    ArchiveContent content;
    for (const std::string& line : lines(*listing)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue; // the closing count
        content.dataBytes += std::strtoll(line.c_str(), nullptr, 10);
        content.names.push_back(line.substr(tab + 1));
    }
    return content;
}

LinkCount countShortcuts(const std::string& folder) {
    LinkCount count;
    walkFolder(folder, [&count](const std::string& name, bool isFolder) {
        if (isFolder)
            ++count.folders;
        else if (endsWithNoCase(name, ".url"))
            ++count.links;
    });
    return count;
}

int countFiles(const std::string& folder) {
    int files = 0;
    walkFolder(folder, [&files](const std::string&, bool isFolder) { files += isFolder ? 0 : 1; });
    return files;
}
