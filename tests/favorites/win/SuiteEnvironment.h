#pragma once
#include <optional>
#include <string>

#include "config/ConfigFile.h"
#include "config/SharedStore.h"
#include "platform/FileSystem.h"
#include "platform/ProgramPaths.h"
#include "store/LastImport.h"
#include "support/TestSupport.h"

// Keeps a file's content (or its absence) and puts it back at the end.
class FileGuard {
  public:
    explicit FileGuard(std::string path) : path_(std::move(path)), previous_(readWholeFile(path_)) {
        std::string folder = getParentPath(path_);
        if (!isDirectory(folder)) {
            createDirectory(folder, false);
            createdFolder_ = folder;
        }
    }
    ~FileGuard() {
        if (previous_)
            writeTextFile(path_, *previous_);
        else
            DeleteFileA(path_.c_str());
        if (!createdFolder_.empty()) RemoveDirectoryA(createdFolder_.c_str());
    }
    FileGuard(const FileGuard&) = delete;
    FileGuard& operator=(const FileGuard&) = delete;

  private:
    std::string path_;
    std::optional<std::string> previous_;
    std::string createdFolder_;
};

// A file that is absent while the guard lives; what was there before comes back afterwards.
class AbsentFile : public FileGuard {
  public:
    explicit AbsentFile(const std::string& path) : FileGuard(path) { DeleteFileA(path.c_str()); }
};

// The suite's configuration as the program finds it: a current user "nvfavtest" with its
// enciphered per-user file and "system.ini"; everything is restored afterwards.
class SuiteEnvironment {
  public:
    static constexpr const char* kUserFile =
        "[Registry_HKCU]\r\nCurrentSkin=\"Skin0000\"\r\n"
        "[NVFavTreeRoot]\r\nitem_0=\"Favoriten\"\r\n"
        "[NVFavTreeRoot\\Favoriten]\r\ntype=\"folder\"\r\nitem_0=\"News\"\r\n"
        "[NVFavTreeRoot\\Favoriten\\News]\r\ntype=\"folder\"\r\n";

    bool prepare(const std::string& systemIni = "[System]\r\nVersion=\"5\"\r\n") {
        std::string user = kUserFile;
        return writeFile(userPath, user) && writeTextFile(systemPath, systemIni);
    }

    RegistryValueGuard currentUser{HKEY_CURRENT_USER, std::string("Software\\") + getSuitePath(),
                                   "CurrentUser", std::string("nvfavtest")};
    std::string userPath = getUserIniPath();
    std::string systemPath = getIniFilePath("system.ini");
    FileGuard userGuard{userPath};
    FileGuard systemGuard{systemPath};
    // The records of the last imports lie beside the per-user file.
    AbsentFile favoritesUndo{lastImportPath(ImportKind::favorites)};
    AbsentFile archiveUndo{lastImportPath(ImportKind::archive)};
};
