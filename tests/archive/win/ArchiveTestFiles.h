#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "config/FileSystem.h"

// Builders and inspectors of real archive files and folder trees for the archive tests.
inline std::string archiveRecord(const std::string& name, const std::string& data) {
    return encodeRecordHead(name, static_cast<uint32_t>(data.size())) + data;
}

inline std::string archiveHeader() {
    auto header = buildArchiveHeader(0, ArchiveDate{});
    return std::string(header.begin(), header.end());
}

inline bool writeBytes(const std::string& path, const std::string& bytes) {
    createDirectory(getParentPath(path), false);
    return writeWholeFile(path, bytes.data(), bytes.size(), false, false);
}

// Every file below folder as "relative\path", depth first.
inline void listFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            listFiles(folder + "\\" + name, prefix + name + "\\", out);
        else
            out.push_back(prefix + name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

inline std::vector<std::string> filesBelow(const std::string& folder) {
    std::vector<std::string> files;
    listFiles(folder, "", files);
    return files;
}

inline size_t entriesIn(const std::string& folder) {
    size_t count = 0;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..") ++count;
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return count;
}
