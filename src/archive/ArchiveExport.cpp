#include "archive/ArchiveExport.h"

#include <windows.h>

#include <algorithm>

#include "archive/ArchiveStore.h"
#include "archive/FileArchive.h"
#include "archive/FileChecks.h"
#include "config/FileSystem.h"
#include "favorites/FavoritePaths.h"
#include "favorites/FavoritesStore.h"
#include "favorites/StoreTree.h"
#include "platform/ProfileValues.h"
#include "platform/Trace.h"

namespace {
void writeFolderChild(const std::string& exchangeSection, const std::string& key, const std::string& child,
                      const std::string& exchangeFile) {
    writeProfileValue(exchangeSection, "type", "folder", exchangeFile);
    writeProfileValue(exchangeSection + "\\" + child, "type", "folder", exchangeFile);
    writeProfileValue(exchangeSection, key, child, exchangeFile);
    trace("* [%s]\n", child.c_str());
}

void writePageChild(const std::string& childStore, const std::string& exchangeSection, const std::string& key,
                    const std::string& child, const std::string& stagingFolder,
                    const std::string& exchangeFile) {
    const std::string childExchange = exchangeSection + "\\" + child;
    writeProfileValue(childExchange, "type", "file", exchangeFile);
    writeProfileValue(exchangeSection, key, child, exchangeFile);
    trace("\t[%s]\n", child.c_str());

    std::string pagePath = getNodeValue(childStore, "HREF");
    std::replace(pagePath.begin(), pagePath.end(), '/', '\\');
    const std::string pageName = getFileName(pagePath);
    writeProfileValue(childExchange, "DATE", getNodeValue(childStore, "DATE"), exchangeFile);
    writeProfileValue(childExchange, "URL", getNodeValue(childStore, "URL"), exchangeFile);
    writeProfileValue(childExchange, "HREF", pageName, exchangeFile);

    if (!CopyFileA(pagePath.c_str(), (stagingFolder + "\\" + pageName).c_str(), FALSE)) return;
    std::string folderName;
    std::string companion = getPageFilesFolder(pagePath, folderName);
    copyDirectory(companion, stagingFolder + "\\" + folderName, false);
}

// Leftovers of an export that ended abnormally would end up in this archive.
void clearStaging(const std::string& stagingFolder, const std::string& exchangeFile) {
    if (isDirectory(stagingFolder)) deleteDirectory(stagingFolder);
    DeleteFileA(exchangeFile.c_str());
}
} // namespace

void writeArchivSection(const std::string& storeSection, const std::string& stagingFolder,
                        const std::string& exchangeFile, const std::string& exchangeSection) {
    size_t written = 0;
    for (const std::string& child : listChildren(sharedStoreNodes(), storeSection)) {
        const std::string childStore = childSection(storeSection, child);
        const std::string type = getNodeValue(childStore, "type");
        if (type == "folder") {
            writeFolderChild(exchangeSection, itemKey(written++), child, exchangeFile);
            writeArchivSection(childStore, stagingFolder, exchangeFile, exchangeSection + "\\" + child);
        } else if (type == "file") {
            writePageChild(childStore, exchangeSection, itemKey(written++), child, stagingFolder,
                           exchangeFile);
        }
    }
}

int export_Archiv2(const std::string& section, const std::string& destination) {
    trace("export_Archiv2 \n");
    trace("Export from section [%s] fo file [%s]\n", section.c_str(), destination.c_str());
    // A drive, share or folder that is not there is a failure, not a lack of room; nothing is packed.
    if (!isDestinationReachable(destination)) return -1;
    const std::string source = getOfflineTreeRoot() + "\\" + section;
    const std::string stagingFolder = getArchivTempFolder();
    const std::string exchangeFile = getArchivIniPath();
    clearStaging(stagingFolder, exchangeFile);
    createDirectory(stagingFolder, false);

    trace("-----------------------\n");
    writeArchivSection(source, stagingFolder, exchangeFile, getOfflineTreeRoot());
    trace("-----------------------\n");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, exchangeFile.c_str());
    CopyFileA(exchangeFile.c_str(), (stagingFolder + "\\nvarchive.ini").c_str(), FALSE);

    trace("create archive file...\n");
    trace("\t destFileName [%s]\n", destination.c_str());
    trace("\t tempFolder   [%s]\n", stagingFolder.c_str());
    const std::string archivePath = stagingFolder + ".sad";
    const bool packed = CFileArchive(archivePath).createArchive(stagingFolder);
    deleteDirectory(stagingFolder);
    if (!packed) return -1;
    DeleteFileA(exchangeFile.c_str());

    if (!hasDiskSpaceFor(archivePath, destination)) {
        DeleteFileA(archivePath.c_str());
        return 0;
    }
    const bool copied = CopyFileA(archivePath.c_str(), destination.c_str(), FALSE) != FALSE;
    DeleteFileA(archivePath.c_str());
    return copied ? 1 : -1;
}
