#include "config/SharedIni.h"

#include <windows.h>

#include "config/ConfigFile.h"
#include "config/IniFile.h"
#include "config/ProfileText.h"
#include "config/SharedMapping.h"
#include "config/SharedText.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/Host.h"
#include "platform/Platform.h"
#include "platform/ProgramPaths.h"
#include "platform/Registry.h"

namespace {
struct StoreState {
    ScopedHandle mapping;
    ScopedView view;
    ScopedHandle mutex;
    std::string currentSkin;
    std::string skinFilePath;
    std::string defaultSkin;
    // The skin file as read for the skin lookups, and its path.
    std::optional<CProfileText> skinText;
    std::string skinTextPath;
    // Set when the per-user file existed but could not be read at start-up: from then on this
    // process must never write its partial store over the user's configuration.
    bool userFileUnreadable = false;
    bool unsavedReported = false;
};

StoreState& state() {
    static StoreState store;
    return store;
}

void markSkinSections(CIniFile& ini) {
    ini.markSections("Layout");
    ini.markSections("StyleGuide");
    ini.markSections("Strings");
}

void chooseCurrentSkin(const std::string& name) {
    state().currentSkin = name.empty() ? getDefaultSkin() : name;
    state().skinFilePath = getProgramDirectory() + state().currentSkin + ".ini";
}

bool isEmptyNeverPublished(unsigned char* view) {
    SharedLock lock;
    return readGeneration(view) == 0 && view[kSharedTextOffset] == 0;
}

// Parses another configuration file into the store; the store's own file stays the per-user
// file, whatever happens, so that a save never writes into "system.ini" or the skin.
bool mergeFile(CIniFile& ini, const std::string& path, const std::string& userPath) {
    ini.setFileName(path);
    bool parsed = ini.parseIniFile(false, true);
    ini.setFileName(userPath);
    return parsed;
}

// The first program's load, after the block was prepared: the files, then one publication.
bool loadFilesAndPublish() {
    CIniFile& ini = theIniFile();
    ini.holdCount = 1;
    std::string userPath = getUserIniPath();
    ini.setFileName(userPath);
    if (!ini.parseIniFile(false, true)) {
        if (fileExists(userPath)) state().userFileUnreadable = true;
        return false;
    }
    if (!mergeFile(ini, getIniFilePath("system.ini"), userPath)) return false;
    chooseCurrentSkin(getIniValue("Registry_HKCU", "CurrentSkin", ""));
    if (isWin9x() && !mergeFile(ini, state().skinFilePath, userPath)) return false;
    markSkinSections(ini);
    ini.holdCount = 0;
    ini.publish();
    return true;
}

bool startsWithByteOrderMark(const std::string& text) {
    for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
        if (text.rfind(mark, 0) == 0) return true;
    return false;
}

// The skin file, read once for all lookups while its path stays the same: the profile functions
// look at the file again for every value, and a wizard's start asks for dozens. nullptr for a
// file in a Unicode encoding, which the profile functions read themselves.
const CProfileText* skinText(const std::string& path) {
    StoreState& store = state();
    if (store.skinTextPath != path) {
        store.skinTextPath = path;
        store.skinText.reset();
        std::string text = readWholeFile(path).value_or(std::string());
        if (!startsWithByteOrderMark(text)) store.skinText.emplace(text);
    }
    return store.skinText ? &*store.skinText : nullptr;
}

std::string profileValue(const std::string& section, const std::string& key) {
    if (isWin9x()) return getIniValue(section, key, "");
    // When the store could not choose the skin (it was not opened or its files were not read),
    // the current skin applies all the same.
    std::string& skinFile = state().skinFilePath;
    if (skinFile.empty()) skinFile = getProgramDirectory() + getCurrentSkin() + ".ini";
    if (const CProfileText* skin = skinText(skinFile)) return skin->value(section, key);
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer), skinFile.c_str());
    return buffer;
}
} // namespace

unsigned char* sharedView() { return static_cast<unsigned char*>(state().view.get()); }
HANDLE sharedMutex() { return state().mutex.get(); }

SharedLock::SharedLock() {
    if (HANDLE mutex = sharedMutex()) {
        DWORD result = WaitForSingleObject(mutex, INFINITE);
        held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
}

SharedLock::~SharedLock() {
    if (held_) ReleaseMutex(sharedMutex());
}

CIniFile& theIniFile() {
    static CIniFile ini;
    return ini;
}

bool openSharedIni() {
    StoreState& store = state();
    store.mapping.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           static_cast<DWORD>(kSharedBlockSize), "inifilememfilemap"));
    if (!store.mapping) return false;
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    store.view.reset(MapViewOfFile(store.mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, kSharedBlockSize));
    if (!store.view) {
        store.mapping.reset();
        return false;
    }
    if (!store.mutex) store.mutex.reset(CreateMutexA(nullptr, FALSE, "NvIniFileMutex"));

    if (existed && !isEmptyNeverPublished(sharedView())) {
        CIniFile& ini = theIniFile();
        ini.setFileName(getUserIniPath());
        ini.parseIniFile(true, true);
        chooseCurrentSkin(getRegistryValue("CurrentSkin", ""));
        return true;
    }
    // A block nobody ever published into (its first program could not read the configuration)
    // is loaded afresh like a new one, without zeroing it again.
    bool loaded = existed ? loadFilesAndPublish() : loadSharedIni();
    if (!loaded) store.mapping.reset();
    return loaded;
}

bool loadSharedIni() {
    if (unsigned char* view = sharedView()) {
        SharedLock lock;
        ZeroMemory(view, kSharedBlockSize);
    }
    return loadFilesAndPublish();
}

void closeSharedIni() {
    StoreState& store = state();
    store.view.reset();
    store.mapping.reset();
    store.mutex.reset();
}

void resetSharedIni() {
    closeSharedIni();
    StoreState& store = state();
    store.currentSkin.clear();
    store.skinFilePath.clear();
    store.defaultSkin.clear();
    store.skinText.reset();
    store.skinTextPath.clear();
    store.userFileUnreadable = false;
    store.unsavedReported = false;
    CIniFile& ini = theIniFile();
    ini.clear();
    ini.setFileName({});
    ini.holdCount = 0;
    ini.generationSeen = -1;
}

void beginUpdate() { ++theIniFile().holdCount; }

bool endUpdate() {
    CIniFile& ini = theIniFile();
    if (--ini.holdCount == 0 && sharedView()) return ini.publish();
    return true;
}

void setIniValue(const std::string& section, const std::string& key, const std::string& value) {
    theIniFile().setValue(section, key, value);
}

std::string getIniValue(const std::string& section, const std::string& key, const std::string& defaultValue) {
    return theIniFile().getValue(section, key, defaultValue);
}

std::string getRegistryValue(const std::string& key, const std::string& defaultValue) {
    return getIniValue("Registry_HKCU", key, defaultValue);
}

bool saveSharedIni() {
    StoreState& store = state();
    if (store.userFileUnreadable) {
        if (!store.unsavedReported) {
            store.unsavedReported = true;
            host().tell("Die Konfiguration wurde nicht gespeichert, weil sie beim Start nicht gelesen "
                        "werden konnte:\n\"" +
                        getUserIniPath() + "\"");
        }
        return false;
    }
    return theIniFile().saveIniFile();
}

bool saveSharedIniAfterChange() {
    return theIniFile().fileName().empty() || saveSharedIni();
}

std::string getLayoutValue(const std::string& key) { return profileValue("Layout", key); }
std::string getStyleGuideValue(const std::string& key) { return profileValue("StyleGuide", key); }
std::string getLayoutSectionValue(const std::string& name, const std::string& key) {
    return profileValue("Layout_" + name, key);
}

std::string chooseMessageKey(const std::string& preferred, const std::string& fallback) {
    return getLayoutValue(preferred).empty() ? fallback : preferred;
}

std::string getDefaultSkin() {
    StoreState& store = state();
    if (!store.defaultSkin.empty()) return store.defaultSkin;
    CIniFile userIni(getIniFilePath("user.ini"));
    userIni.parseIniFile(false, false);
    store.defaultSkin = userIni.getValue("Registry_HKCU", "CurrentSkin", "Skin0000");
    if (store.defaultSkin.empty())
        host().tell("Fehlender Eintrag in system.ini: [Registry_HKCU] CurrentSkin=\"\"");
    return store.defaultSkin;
}

std::string getCurrentSkin() {
    StoreState& store = state();
    if (!store.currentSkin.empty()) return store.currentSkin;
    std::string path = getUserIniPath();
    if (fileExists(path)) {
        CIniFile userIni(path);
        userIni.parseIniFile(false, false);
        store.currentSkin = userIni.getValue("Registry_HKCU", "CurrentSkin", getDefaultSkin());
        return store.currentSkin;
    }
    host().tell("Skin: Datei " + path + " existiert nicht!");
    return getDefaultSkin();
}

std::string getSkinDirectory() { return getProgramDirectory() + getCurrentSkin() + "\\"; }

std::string getUserIniPath() {
    return getIniFilePath(
        readRegistryString(HKEY_CURRENT_USER, std::string("Software\\") + getSuitePath(), "CurrentUser", "") +
        ".ini");
}

std::string getTreeIconsPath(const std::string& key) {
    return getSkinDirectory() + getLayoutSectionValue("TreeIcons", key);
}

struct StoreBatch::Snapshot {
    IniDocument document;
    int32_t generationSeen;
};

StoreBatch::StoreBatch() : snapshot_(std::make_unique<Snapshot>()) {
    CIniFile& ini = theIniFile();
    ini.refresh();
    copyDocument(ini.document(), snapshot_->document);
    snapshot_->generationSeen = ini.generationSeen;
    beginUpdate();
}

StoreBatch::~StoreBatch() {
    if (!finished_) commit();
}

bool StoreBatch::commit() {
    if (finished_) return true;
    CIniFile& ini = theIniFile();
    if (!ini.fileName().empty() && ini.document().serializedSize(false) > kMaxIniDocument) {
        reportDocumentTooLarge(ini.fileName());
        abandon();
        return false;
    }
    finished_ = true;
    if (endUpdate()) return true;
    restore(); // the publication was refused: the mapping still holds the state before the batch
    return false;
}

void StoreBatch::abandon() {
    if (finished_) return;
    finished_ = true;
    --theIniFile().holdCount;
    restore();
}

void StoreBatch::restore() {
    CIniFile& ini = theIniFile();
    copyDocument(snapshot_->document, ini.document());
    ini.generationSeen = snapshot_->generationSeen;
}
