#include "favorites/FirefoxBookmarks.h"

#include <windows.h>

#include <vector>

#include "favorites/FirefoxBackup.h"
#include "favorites/PlacesDatabase.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"

namespace {
// A folder of its own below the temporary folder, deleted with everything in it.
class PrivateTempFolder {
  public:
    PrivateTempFolder() {
        char base[MAX_PATH + 1] = {};
        DWORD length = GetTempPathA(sizeof(base), base);
        if (length == 0 || length > MAX_PATH) return;
        const std::string prefix = "nvplaces-" + std::to_string(GetCurrentProcessId()) + "-";
        for (DWORD attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            std::string candidate = appendPath(base, prefix + std::to_string(GetTickCount() + attempt));
            if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
        }
    }
    ~PrivateTempFolder() {
        if (!path_.empty()) deleteDirectory(path_);
    }
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Copies a file the browser may hold open and write meanwhile (full sharing on the source).
bool copyFileInUse(const std::string& from, const std::string& to) {
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    ScopedHandle source(CreateFileA(from.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    ScopedHandle target(
        CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source || !target) return false;
    std::vector<char> buffer(1u << 20);
    for (;;) {
        DWORD read = 0, written = 0;
        if (!ReadFile(source.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            return false;
        if (read == 0) return true;
        if (!WriteFile(target.get(), buffer.data(), read, &written, nullptr) || written != read) return false;
    }
}

std::string ansiToUtf8(const std::string& text) {
    int count = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (count <= 0) return "";
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), count);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return "";
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

PlacesRows failure(const std::string& error) {
    PlacesRows result;
    result.error = error;
    return result;
}

PlacesRows readDatabaseCopy(const std::string& database) {
    if (!fileExists(database)) return failure(std::string(kPlacesFile) + " fehlt");
    PrivateTempFolder temp;
    if (temp.path().empty()) return failure("kein tempor\xE4rer Ordner");
    const std::string copy = appendPath(temp.path(), kPlacesFile);
    if (!copyFileInUse(database, copy)) return failure(std::string(kPlacesFile) + " nicht lesbar");
    const std::string wal = database + "-wal";
    if (fileExists(wal) && !copyFileInUse(wal, copy + "-wal"))
        return failure(std::string(kPlacesFile) + "-wal nicht lesbar");
    return readPlacesRows(ansiToUtf8(copy));
}

void take(BrowserBookmarks& result, PlacesTree tree) {
    result.roots = std::move(tree.roots);
    result.links = tree.links;
}

std::string fileNameOf(const std::string& path) {
    return path.substr(path.rfind('\\') + 1);
}
} // namespace

std::string newestFirefoxBackup(const std::string& profileFolder) {
    const std::string folder = appendPath(profileFolder, "bookmarkbackups");
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileA(appendPath(folder, "bookmarks-*.jsonlz4").c_str(), &entry));
    if (!find) return "";
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(entry.cFileName);
    } while (FindNextFileA(find.get(), &entry));
    std::string newest = newestBackup(names);
    return newest.empty() ? "" : appendPath(folder, newest);
}

BrowserBookmarks readFirefoxBookmarks(const BrowserProfile& profile, const BrowserNodeMaker& nodes) {
    BrowserBookmarks result;
    PlacesRows database = readDatabaseCopy(profile.bookmarksFile);
    if (database.error.empty()) {
        result.fileRead = profile.bookmarksFile;
        take(result, buildPlacesTree(database.rows, nodes));
        return result;
    }
    const std::string backup = newestFirefoxBackup(getParentPath(profile.bookmarksFile));
    if (backup.empty()) {
        result.problem = "Datenbank nicht lesbar (" + database.error + "), keine Sicherung";
        return result;
    }
    result.fileRead = backup;
    result.databaseProblem = database.error;
    std::optional<std::string> file = readFileInUse(backup, kMaxBackupFile);
    BackupText text = file ? unpackJsonLz4(*file) : BackupText{"", "Sicherung nicht lesbar"};
    if (!text.error.empty()) {
        result.problem = text.error + ": " + backup;
        return result;
    }
    std::optional<std::vector<PlacesRow>> rows = backupRows(text.json);
    if (!rows) {
        result.problem = "keine Lesezeichen-Sicherung: " + backup;
        return result;
    }
    take(result, buildPlacesTree(*rows, nodes));
    result.backupDate = germanDate(backupDate(fileNameOf(backup)));
    return result;
}
