#include "store/LastImport.h"

#include <windows.h>

#include <cstdio>

#include "config/Blowfish.h"
#include "config/Enciphered.h"
#include "config/IniFile.h"
#include "config/SharedStore.h"
#include "platform/FileSystem.h"
#include "platform/ProgramPaths.h"
#include "platform/Registry.h"
#include "store/NodeSchema.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"

namespace {
std::string rootOf(ImportKind kind) {
    return kind == ImportKind::favorites ? getFavTreeRoot() : getOfflineTreeRoot();
}

std::string currentUser() {
    return readRegistryString(HKEY_CURRENT_USER, std::string("Software\\") + getSuitePath(), "CurrentUser",
                              "");
}

std::string nowText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof(text), "%02d.%02d.%04d %02d:%02d", now.wDay, now.wMonth, now.wYear, now.wHour,
                  now.wMinute);
    return text;
}

UndoResult outcome(UndoResult::Outcome kind, std::string why, const std::string& folder = {}) {
    UndoResult result;
    result.outcome = kind;
    result.why = std::move(why);
    result.folder = folder;
    return result;
}
} // namespace

const char* importKindName(ImportKind kind) {
    return kind == ImportKind::favorites ? "favorites" : "archive";
}

std::string lastImportPath(ImportKind kind) {
    std::string user = currentUser();
    if (user.empty()) return {};
    std::string userFile = getUserIniPath();
    return userFile.substr(0, userFile.size() - 4) + ".undo-" + importKindName(kind);
}

ImportUndoCapture::ImportUndoCapture(SharedStore& store, ImportKind kind, const std::string& folder)
    : store_(store), kind_(kind) {
    record_.kind = importKindName(kind);
    record_.folder = folder;
    // "Favoriten\" names no folder of its own: the import goes into a new one below Favoriten.
    while (!record_.folder.empty() && record_.folder.back() == '\\') record_.folder.pop_back();
    AffectedPart& part = record_.part;
    part.target = childSection(rootOf(kind), record_.folder);
    part.lists.push_back(getParentPath(part.target));
    // A favorites import lists a target that is not a folder yet in the root section.
    if (kind == ImportKind::favorites && store_.getValue(part.target, kTypeKey, "").empty() &&
        !equalsNoCase(part.lists.front(), rootOf(kind)))
        part.lists.push_back(rootOf(kind));
    copyAffected(store_.document(), part, record_.before);
}

void ImportUndoCapture::keep(const std::string& unpackedFolder) {
    const std::string path = lastImportPath(kind_);
    if (path.empty()) return;
    const IniDocument& after = store_.document();
    record_.date = nowText();
    record_.counts = countChanges(record_.before, after, record_.part);
    // Other programs read the published text with the placeholders expanded: so will undo.
    record_.fingerprint = fingerprintOf(after, record_.part, &placeholderValues());
    record_.unpackedFolder = unpackedFolder;
    std::string text = recordText(record_);
    encipherContent(text);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    // A record that could not be written must not leave the previous one standing for this import.
    if (!writeWholeFile(path, text.data(), text.size(), false, false)) DeleteFileA(path.c_str());
}

std::optional<ImportRecord> readLastImport(ImportKind kind) {
    const std::string path = lastImportPath(kind);
    if (path.empty()) return std::nullopt;
    std::optional<std::string> text = readWholeFile(path);
    if (!text) return std::nullopt;
    if (looksEnciphered(*text)) decipherContent(*text);
    std::optional<ImportRecord> record = parseRecord(*text);
    if (!record || record->kind != importKindName(kind)) return std::nullopt;
    return record;
}

bool isUnchangedSinceImport(SharedStore& store, const ImportRecord& record) {
    store.refresh();
    return fingerprintOf(store.document(), record.part) == record.fingerprint;
}

UndoResult undoLastImport(SharedStore& store, ImportKind kind) {
    const std::string path = lastImportPath(kind);
    if (path.empty() || !fileExists(path))
        return outcome(UndoResult::nothingToUndo, "there is no import to undo");
    std::optional<ImportRecord> record = readLastImport(kind);
    if (!record) return outcome(UndoResult::failed, "the record of the last import cannot be read: " + path);

    StoreBatch batch(store);
    if (fingerprintOf(store.document(), record->part) != record->fingerprint) {
        batch.abandon();
        return outcome(UndoResult::refused,
                       record->folder + " has changed since the import of " + record->date +
                           "; nothing was undone",
                       record->folder);
    }
    const AffectedPart& part = record->part;
    store.replaceSections([&part](std::string_view name) { return part.contains(name); }, record->before);
    if (!batch.commit())
        return outcome(UndoResult::failed, "the restored store does not fit the configuration",
                       record->folder);
    if (!store.saveAfterChange())
        return outcome(UndoResult::failed, "the configuration could not be saved", record->folder);
    DeleteFileA(path.c_str());
    UndoResult result = outcome(UndoResult::done, "", record->folder);
    result.unpackedFolder = record->unpackedFolder;
    return result;
}

std::string describeLastImport(SharedStore& store, const ImportRecord& record) {
    std::string text = "folder " + record.folder + "\r\ndate " + record.date + "\r\nadded " +
                       std::to_string(record.counts.added) + "\r\nchanged " +
                       std::to_string(record.counts.changed) + "\r\n";
    if (!record.unpackedFolder.empty()) text += "unpacked " + record.unpackedFolder + "\r\n";
    text += isUnchangedSinceImport(store, record) ? "undo possible\r\n"
                                                  : "undo refused: changed since the import\r\n";
    return text;
}
