#include "archive/ArchiveImport.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "archive/ArchiveFormat.h"
#include "archive/ArchiveStore.h"
#include "archive/FileArchive.h"
#include "archive/FileChecks.h"
#include "config/FileSystem.h"
#include "config/SharedIni.h"
#include "favorites/FavoritePaths.h"
#include "favorites/FavoritesStore.h"
#include "favorites/LastImport.h"
#include "favorites/StoreTree.h"
#include "platform/ProfileValues.h"
#include "platform/QuestionSeam.h"
#include "platform/Trace.h"

bool replaceAll = false;

namespace {
// The exchange file as a store tree: its child lists are walked like those of the store.
class ExchangeFileNodes : public NodeStore {
  public:
    explicit ExchangeFileNodes(std::string path) : path_(std::move(path)) {}
    std::string getNodeValue(const std::string& section, const std::string& key) override {
        return readProfileValue(section, key, path_);
    }
    void setNodeValue(const std::string& section, const std::string& key, const std::string& value) override {
        writeProfileValue(section, key, value, path_);
    }
    std::string foldCase(const std::string& name) override { return foldCaseAnsi(name); }

  private:
    std::string path_;
};

// Paths stay below MAX_PATH, so no real export nests deeper; a hand-made exchange file could,
// until the recursion ran out of stack.
const size_t kDeepestExchangeSection = 256;

size_t depthOf(const std::string& section) {
    return std::count(section.begin(), section.end(), '\\');
}

// The export writes only a file name into HREF; anything else would let the entry point at
// any file on the machine.
bool isPlainFileName(const std::string& href) {
    return href.find_first_of("\\/") == std::string::npos && checkRecordName(href).empty();
}

bool unpack(const std::string& copy, const std::string& destination) {
    CFileArchive archive(copy);
    if (!archive.loadArchive()) {
        trace("...unable to open archive\n");
        return false;
    }
    if (!archive.extractAll(destination)) {
        trace("...unable to extract files from archive\n");
        return false;
    }
    return true;
}

void mergeFolder(const std::string& targetSection, const std::string& childSection,
                 const std::string& child) {
    trace(">>> [%s]\n", child.c_str());
    const std::string relative = getArchivRelativePath(childSection);
    const std::string targetFolder = targetSection + "\\" + relative;
    trace("\t add folder [%s]\n", targetFolder.c_str());
    const std::string relativeParent = getParentPath(relative);
    const std::string parent = relativeParent.empty() ? targetSection : targetSection + "\\" + relativeParent;
    if (hasItem(parent, child)) return;
    setNodeValue(parent, findItemKey(parent, &child), child);
    setNodeValue(targetFolder, "type", "folder");
}

// Whether the page may go in: a free name, or a taken one the user agrees to replace.
bool mayMergePage(const std::string& pageParent, const std::string& targetPage, const std::string& child) {
    if (replaceAll || !hasItem(pageParent, child)) return true;
    QuestionAnswer answer = askQuestion("MessageBoxArchivReplace", getArchivRelativePath(targetPage));
    if (answer.checked) replaceAll = true;
    return answer.button == IDYES || answer.button == IDOK || replaceAll;
}
} // namespace

int import_Archiv(const std::string& section, const std::string& archiveFile) {
    trace("Import file [%s] fo section [%s]\n", archiveFile.c_str(), section.c_str());
    const std::string name = getFileName(archiveFile);
    const std::string folder = getFolderPart(archiveFile);
    const std::string offlineFolder = getOfflineDataFolder();
    createDirectory(offlineFolder, false);
    const std::string unpacked = makeTempName(offlineFolder);
    if (unpacked.empty() || !createDirectory(unpacked, false)) return -1;
    const std::string destination = unpacked + "\\";
    if (!extractArchiveFile(name, folder, destination)) {
        deleteDirectory(unpacked); // the fresh folder holds nothing the user had before
        return -1;
    }

    StoreBatch batch;
    ImportUndoCapture undo(ImportKind::archive, section);
    mergeArchivSection(destination + "nvarchive.ini", getOfflineTreeRoot() + "\\" + section, "", false);
    if (!batch.commit()) {
        deleteDirectory(unpacked); // the store is as before, so nothing points into the folder
        return -1;
    }
    saveSharedIni();
    undo.keep(unpacked);
    return 1;
}

bool extractArchiveFile(const std::string& name, const std::string& folder, const std::string& destination) {
    const std::string source = folder + name;
    const std::string copy = destination + name;
    createDirectory(destination, false);
    trace("Extracting archive file: \"%s\" --> \"%s\"\n", source.c_str(), copy.c_str());
    trace("Destination directory: \"%s\"\n", destination.c_str());
    const bool separateCopy = source != copy;
    if (separateCopy) CopyFileA(source.c_str(), copy.c_str(), FALSE);
    if (!fileExists(copy)) {
        trace("...no such file\n");
        return false;
    }
    const bool unpacked = unpack(copy, destination);
    if (separateCopy) {
        SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(copy.c_str());
    }
    if (unpacked) trace("...archive extraction successfull\n");
    return unpacked;
}

bool mergeArchivSection(const std::string& exchangeFile, const std::string& targetSection,
                        const std::string& exchangeSection, bool replace) {
    replaceAll = replace;
    const std::string section = exchangeSection.empty() ? getOfflineTreeRoot() : exchangeSection;
    if (depthOf(section) >= kDeepestExchangeSection) return true;
    ExchangeFileNodes exchange(exchangeFile);
    for (const std::string& child : listChildren(exchange, section)) {
        if (child.find('\\') != std::string::npos) continue; // a name, never a path
        const std::string childSection = section + "\\" + child;
        const std::string type = readProfileValue(childSection, "type", exchangeFile);
        if (type == "folder") {
            mergeFolder(targetSection, childSection, child);
            mergeArchivSection(exchangeFile, targetSection, childSection, replaceAll);
        } else if (type == "file") {
            trace("\t[%s]\n", child.c_str());
            const std::string targetPage = targetSection + "\\" + getArchivRelativePath(childSection);
            trace("\t add link [%s]\n", targetPage.c_str());
            const std::string pageParent = getParentPath(targetPage);
            if (mayMergePage(pageParent, targetPage, child))
                mergeArchivPage(pageParent, section, child, exchangeFile);
        }
    }
    return true;
}

void mergeArchivPage(const std::string& parent, const std::string& exchangeSection, const std::string& name,
                     const std::string& exchangeFile) {
    const std::string target = parent + "\\" + name;
    const std::string source = exchangeSection + "\\" + name;
    const std::string href = readProfileValue(source, "HREF", exchangeFile);
    if (!isPlainFileName(href)) {
        trace("\tleaving out [%s]: HREF '%s' is not a file name\n", target.c_str(), href.c_str());
        return;
    }
    if (!hasItem(parent, name)) {
        setNodeValue(parent, findItemKey(parent, &name), name);
        setNodeValue(target, "type", "file");
    }
    setNodeValue(target, "DATE", readProfileValue(source, "DATE", exchangeFile));
    setNodeValue(target, "URL", readProfileValue(source, "URL", exchangeFile));
    setNodeValue(target, "HREF", getParentPath(exchangeFile) + "\\" + href);
}
