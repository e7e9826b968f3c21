#include "archive/ArchiveImport.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/ArchiveStore.h"
#include "archive/FileArchive.h"
#include "archive/FileChecks.h"
#include "config/SharedStore.h"
#include "platform/FileSystem.h"
#include "platform/Host.h"
#include "platform/Trace.h"
#include "store/LastImport.h"
#include "store/LeftOutEntries.h"
#include "store/NodeWalk.h"
#include "store/OperationResult.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"

namespace {
const char* const kExchangeFileName = "nvarchive.ini";

// Paths stay below MAX_PATH, so no real export nests deeper; the folders of a hand-made exchange
// file at this depth come in without what lies below them.
const size_t kDeepestExchangeSection = 256;

// A value of the exchange file, whole (the profile functions cut it at the buffer's size).
std::string readExchangeValue(const std::string& section, const std::string& key, const std::string& file) {
    const size_t kLongest = 1 << 20;
    for (size_t size = 4096;; size *= 4) {
        std::string value(size, '\0');
        DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value.data(),
                                                static_cast<DWORD>(size), file.c_str());
        if (length + 1 < size || size >= kLongest) {
            value.resize(length);
            return value;
        }
    }
}

// The exchange file as a store tree: its child lists are walked like those of the store.
class ExchangeFileNodes : public NodeStore {
  public:
    explicit ExchangeFileNodes(std::string path) : path_(std::move(path)) {}
    std::string getNodeValue(const std::string& section, const std::string& key) override {
        return readExchangeValue(section, key, path_);
    }
    void setNodeValue(const std::string&, const std::string&, const std::string&) override {}
    std::string foldCase(const std::string& name) override { return name; }

  private:
    std::string path_;
};

// The export writes only a file name into HREF; anything else would let the entry point at
// any file on the machine.
bool isPlainFileName(const std::string& href) {
    return href.find_first_of("\\/") == std::string::npos && checkRecordName(href).empty();
}

bool isEmptyFolder(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(appendPath(folder, "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return true;
    bool empty = true;
    do {
        empty = isDotEntry(entry.cFileName);
    } while (empty && FindNextFileA(find, &entry));
    FindClose(find);
    return empty;
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

enum class ReplaceRule { Ask, ReplaceAll, KeepAll };

// Merges the tree of an unpacked exchange file into a folder of the store.
class ArchivMerge {
  public:
    ArchivMerge(NodeStore& nodes, std::string exchangeFile)
        : nodes_(nodes), exchangeFile_(std::move(exchangeFile)), unpacked_(getParentPath(exchangeFile_)) {}

    // Merges the children of exchangeSection into the store folder target.
    void mergeSection(const std::string& target, const std::string& exchangeSection) {
        ExchangeFileNodes exchange(exchangeFile_);
        std::vector<std::string> targets{target}; // the store folder of each open exchange folder, by depth
        forEachNode(exchange, exchangeSection, [&](const NodeVisit& node) {
            if (node.kind != NodeKind::folder && node.kind != NodeKind::file) return WalkStep::skip;
            targets.resize(node.depth + 1);
            std::string name = node.name;
            replaceUnstorableCharacters(name);
            if (node.kind == NodeKind::file) {
                trace("\t[%s]\n", node.name.c_str());
                mergePage(targets.back(), node.section, name);
                return WalkStep::skip;
            }
            trace(">>> [%s]\n", node.name.c_str());
            std::string folder = mergeFolder(targets.back(), name);
            if (folder.empty() || node.depth + 1 >= kDeepestExchangeSection) return WalkStep::skip;
            targets.push_back(std::move(folder));
            return WalkStep::descend;
        });
    }

  private:
    // The store folder the exchange folder name merges into, found or made; "" when it is left out.
    std::string mergeFolder(const std::string& parent, const std::string& name) {
        const std::string listed = listedName(parent, name);
        std::string folder = childSection(parent, listed);
        if (listed.empty() || nodes_.getNodeValue(folder, kTypeKey) != kFolderType) {
            const std::string fresh = listed.empty() ? name : freeName(parent, name);
            if (std::string refusal = storeRefusal(parent, fresh); !refusal.empty()) {
                leaveOut(childSection(parent, fresh), refusal); // and everything in it
                return "";
            }
            folder = addEntry(parent, fresh, kFolderType);
        }
        trace("\t add folder [%s]\n", folder.c_str());
        return folder;
    }

    void mergePage(const std::string& parent, const std::string& childExchange, const std::string& name) {
        const std::string href = readExchangeValue(childExchange, kHrefKey, exchangeFile_);
        if (!isPlainFileName(href)) {
            leaveOut(childSection(parent, name), "its HREF \"" + href + "\" is not a file name");
            return;
        }
        const NodeValues values = {{kDateKey, readExchangeValue(childExchange, kDateKey, exchangeFile_)},
                                   {kUrlKey, readExchangeValue(childExchange, kUrlKey, exchangeFile_)},
                                   {kHrefKey, appendPath(unpacked_, href)}};
        const std::string listed = listedName(parent, name);
        const bool replacing =
            !listed.empty() && nodes_.getNodeValue(childSection(parent, listed), kTypeKey) == kFileType;
        const std::string page = listed.empty() ? name : replacing ? listed : freeName(parent, name);
        trace("\t add link [%s\\%s]\n", parent.c_str(), page.c_str());
        if (std::string refusal = storeRefusal(parent, page, values); !refusal.empty())
            return leaveOut(childSection(parent, page), refusal);
        const std::string section = childSection(parent, page);
        if (replacing && !mayReplace(section)) return;
        if (!replacing) addEntry(parent, page, kFileType);
        for (const auto& [key, value] : values)
            nodes_.setNodeValue(section, key, value);
    }

    // The child of parent that is name without regard to case, as it is listed; "" for none.
    std::string listedName(const std::string& parent, const std::string& name) {
        const std::string folded = nodes_.foldCase(name);
        for (const std::string& child : listChildren(nodes_, parent))
            if (nodes_.foldCase(child) == folded) return child;
        return "";
    }

    // "Rom (2)", "Rom (3)" ...: the first that names no entry of parent yet.
    std::string freeName(const std::string& parent, const std::string& name) {
        for (int number = 2;; ++number) {
            std::string candidate = name + " (" + std::to_string(number) + ")";
            if (listedName(parent, candidate).empty() &&
                nodes_.getNodeValue(childSection(parent, candidate), kTypeKey).empty())
                return candidate;
        }
    }

    std::string addEntry(const std::string& parent, const std::string& name, const char* type) {
        const std::string section = addChild(nodes_, parent, name, false);
        nodes_.setNodeValue(section, kTypeKey, type);
        return section;
    }

    bool mayReplace(const std::string& page) {
        if (rule_ != ReplaceRule::Ask) return rule_ == ReplaceRule::ReplaceAll;
        QuestionAnswer answer = host().ask("MessageBoxArchivReplace", getArchivRelativePath(page));
        const bool replace = answer.button == IDYES || answer.button == IDOK;
        if (answer.checked) rule_ = replace ? ReplaceRule::ReplaceAll : ReplaceRule::KeepAll;
        return replace;
    }

    static void leaveOut(const std::string& section, const std::string& reason) {
        trace("\tleaving out [%s]: %s\n", section.c_str(), reason.c_str());
        noteLeftOut(pathBelowRoot(section), reason);
    }

    NodeStore& nodes_;
    std::string exchangeFile_;
    std::string unpacked_;
    ReplaceRule rule_ = ReplaceRule::Ask;
};
} // namespace

int import_Archiv(SharedStore& store, const std::string& section, const std::string& archiveFile) {
    trace("Import file [%s] fo section [%s]\n", archiveFile.c_str(), section.c_str());
    const std::string name = getFileName(archiveFile);
    const std::string folder = getFolderPart(archiveFile);
    const std::string offlineFolder = getOfflineDataFolder();
    createDirectory(offlineFolder, false);
    const std::string unpacked = makeTempName(offlineFolder);
    if (unpacked.empty() || !createDirectory(unpacked, false)) return kOperationFailed;
    const std::string destination = unpacked + "\\";
    if (!extractArchiveFile(name, folder, destination)) {
        deleteDirectory(unpacked); // the fresh folder holds nothing the user had before
        return kOperationFailed;
    }
    const std::string exchangeFile = destination + kExchangeFileName;
    if (!fileExists(exchangeFile)) {
        // Pages without the tree that names them would lie in a folder nothing points to; an
        // archive without any file is an exported empty folder.
        const bool empty = isEmptyFolder(unpacked);
        deleteDirectory(unpacked);
        return empty ? kOperationDone : kOperationFailed;
    }

    StoreBatch batch(store);
    ImportUndoCapture undo(store, ImportKind::archive, section);
    SharedStoreNodes nodes(store);
    ArchivMerge(nodes, exchangeFile).mergeSection(childSection(getOfflineTreeRoot(), section), getOfflineTreeRoot());
    if (!batch.commit()) {
        deleteDirectory(unpacked); // the store is as before, so nothing points into the folder
        return kOperationFailed;
    }
    // The merged entries are published and point into the folder, so it stays even when the
    // per-user file cannot be written.
    if (!store.saveAfterChange()) return kOperationFailed;
    undo.keep(unpacked);
    return kOperationDone;
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
