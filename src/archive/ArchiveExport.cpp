#include "archive/ArchiveExport.h"

#include <windows.h>

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "archive/ArchiveStore.h"
#include "archive/FileArchive.h"
#include "archive/FileChecks.h"
#include "archive/PageFiles.h"
#include "config/AtomicReplace.h"
#include "platform/FileSystem.h"
#include "platform/ProfileValues.h"
#include "platform/Trace.h"
#include "store/LeftOutEntries.h"
#include "store/NodeWalk.h"
#include "store/OperationResult.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"

namespace {
const char* const kExchangeFileName = "nvarchive.ini";

// File names as the file system compares them: without regard to case.
std::string fileNameKey(std::string name) {
    if (!name.empty()) CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

// "index (2).htm" for "index.htm" and 2.
std::string numberedName(const std::string& name, int number) {
    const std::string mark = " (" + std::to_string(number) + ")";
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return name + mark;
    return name.substr(0, dot) + mark + name.substr(dot);
}

std::string companionName(const std::string& pageName) {
    std::string folderName;
    getPageFilesFolder(pageName, folderName);
    return folderName;
}

// One export's staging folder: every page and companion folder gets a name of its own there,
// since the archive is flat and pages of different folders may share a file name (index.htm).
class ArchivStaging {
  public:
    ArchivStaging(NodeStore& nodes, std::string folder, std::string exchangeFile)
        : nodes_(nodes), folder_(std::move(folder)), exchangeFile_(std::move(exchangeFile)) {
        taken_.insert(fileNameKey(kExchangeFileName));
    }

    // Walks a store section: writes its folder and page children into the exchange file below
    // exchangeSection (dense item numbers) and copies the pages into the staging folder.
    void writeSection(const std::string& storeSection, const std::string& exchangeSection) {
        // The exchange section of each open folder and how many children it lists, by depth.
        struct Level {
            std::string section;
            size_t written = 0;
        };
        std::vector<Level> levels{{exchangeSection}};
        forEachNode(nodes_, storeSection, [&](const NodeVisit& node) {
            levels.resize(node.depth + 1);
            Level& level = levels.back();
            if (node.kind == NodeKind::folder) {
                writeFolder(level.section, itemKey(level.written++), node.name);
                levels.push_back({childSection(level.section, node.name)});
                return WalkStep::descend;
            }
            if (node.kind == NodeKind::file)
                writePage(node.section, level.section, itemKey(level.written++), node.name);
            return WalkStep::skip;
        });
    }

  private:
    void writeFolder(const std::string& exchangeSection, const std::string& key, const std::string& child) {
        writeProfileValue(exchangeSection, kTypeKey, kFolderType, exchangeFile_);
        writeProfileValue(childSection(exchangeSection, child), kTypeKey, kFolderType, exchangeFile_);
        writeProfileValue(exchangeSection, key, child, exchangeFile_);
        trace("* [%s]\n", child.c_str());
    }

    void writePage(const std::string& childStore, const std::string& exchangeSection, const std::string& key,
                   const std::string& child) {
        const std::string childExchange = childSection(exchangeSection, child);
        writeProfileValue(childExchange, kTypeKey, kFileType, exchangeFile_);
        writeProfileValue(exchangeSection, key, child, exchangeFile_);
        trace("\t[%s]\n", child.c_str());

        std::string pagePath = nodes_.getNodeValue(childStore, kHrefKey);
        std::replace(pagePath.begin(), pagePath.end(), '/', '\\');
        const std::string stagedName = reserveName(getFileName(pagePath));
        writeProfileValue(childExchange, kDateKey, nodes_.getNodeValue(childStore, kDateKey), exchangeFile_);
        writeProfileValue(childExchange, kUrlKey, nodes_.getNodeValue(childStore, kUrlKey), exchangeFile_);
        writeProfileValue(childExchange, kHrefKey, stagedName, exchangeFile_);

        if (!CopyFileA(pagePath.c_str(), appendPath(folder_, stagedName).c_str(), FALSE)) {
            noteLeftOut(pathBelowRoot(childStore), "its page file \"" + pagePath + "\" cannot be read");
            return;
        }
        std::string folderName;
        std::string companion = getPageFilesFolder(pagePath, folderName);
        copyDirectory(companion, appendPath(folder_, companionName(stagedName)), false);
    }

    // The page's own name when neither it nor its companion folder's name is taken yet, else the
    // first free numbered one; both names are taken from then on.
    std::string reserveName(const std::string& pageName) {
        for (int number = 1;; ++number) {
            std::string name = number == 1 ? pageName : numberedName(pageName, number);
            std::string page = fileNameKey(name), companion = fileNameKey(companionName(name));
            if (taken_.count(page) || taken_.count(companion)) continue;
            taken_.insert(page);
            taken_.insert(companion);
            return name;
        }
    }

    NodeStore& nodes_;
    std::string folder_;
    std::string exchangeFile_;
    std::unordered_set<std::string> taken_;
};

// Leftovers of an export that ended abnormally would end up in this archive.
void clearStaging(const std::string& stagingFolder, const std::string& exchangeFile) {
    if (isDirectory(stagingFolder)) deleteDirectory(stagingFolder);
    DeleteFileA(exchangeFile.c_str());
}

void removeFile(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// The copy keeps the archive's attributes: an archive without records stays hidden.
bool copyWithAttributes(const std::string& archive, const std::string& target) {
    return CopyFileA(archive.c_str(), target.c_str(), FALSE) &&
           SetFileAttributesA(target.c_str(), GetFileAttributesA(archive.c_str()));
}

// Replaces the destination in one step, so that a copy that fails half-way leaves the old
// archive whole; where its folder takes no new file, the copy goes over it as it always did.
bool copyArchive(const std::string& archive, const std::string& destination) {
    return replaceFile(destination,
                       [&](const std::string& target) { return copyWithAttributes(archive, target); });
}
} // namespace

int export_Archiv2(NodeStore& store, const std::string& section, const std::string& destination) {
    trace("export_Archiv2 \n");
    trace("Export from section [%s] fo file [%s]\n", section.c_str(), destination.c_str());
    // A drive, share or folder that is not there is a failure, not a lack of room; nothing is packed.
    if (!isDestinationReachable(destination)) return kOperationFailed;
    const std::string source = childSection(getOfflineTreeRoot(), section);
    const std::string stagingFolder = getArchivTempFolder();
    const std::string exchangeFile = getArchivIniPath();
    clearStaging(stagingFolder, exchangeFile);
    createDirectory(stagingFolder, false);

    trace("-----------------------\n");
    ArchivStaging(store, stagingFolder, exchangeFile).writeSection(source, getOfflineTreeRoot());
    trace("-----------------------\n");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, exchangeFile.c_str());
    CopyFileA(exchangeFile.c_str(), appendPath(stagingFolder, kExchangeFileName).c_str(), FALSE);

    trace("create archive file...\n");
    trace("\t destFileName [%s]\n", destination.c_str());
    trace("\t tempFolder   [%s]\n", stagingFolder.c_str());
    const std::string archivePath = stagingFolder + ".sad";
    const bool packed = CFileArchive(archivePath).createArchive(stagingFolder);
    deleteDirectory(stagingFolder);
    DeleteFileA(exchangeFile.c_str());
    if (!packed) {
        removeFile(archivePath); // it can be as large as the free space was
        return kOperationFailed;
    }

    if (!hasDiskSpaceFor(archivePath, destination)) {
        removeFile(archivePath);
        return kOperationAbandoned;
    }
    const bool copied = copyArchive(archivePath, destination);
    removeFile(archivePath);
    return copied ? kOperationDone : kOperationFailed;
}
