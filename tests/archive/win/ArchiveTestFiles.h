#pragma once
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "platform/FileSystem.h"

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

// A network share as Wine resolves one: \\nvtest\share is the folder dosdevices\unc\nvtest\share
// of the prefix. Not available outside Wine.
class WineShare {
  public:
    WineShare() {
        char prefix[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix));
        if (length == 0 || length >= sizeof(prefix)) return;
        std::string server = std::string("Z:") + prefix + "/dosdevices/unc/nvtest";
        std::replace(server.begin(), server.end(), '/', '\\');
        deleteDirectory(server);
        if (createDirectory(server + "\\share", false)) server_ = server;
    }
    ~WineShare() {
        if (!server_.empty()) deleteDirectory(server_);
    }
    WineShare(const WineShare&) = delete;
    WineShare& operator=(const WineShare&) = delete;
    bool available() const { return !server_.empty() && isDirectory("\\\\nvtest\\share\\*"); }
    static std::string file(const std::string& name) { return "\\\\nvtest\\share\\" + name; }

  private:
    std::string server_;
};
