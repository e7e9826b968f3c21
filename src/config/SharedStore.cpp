#include "config/SharedStore.h"

#include "config/ConfigFile.h"
#include "config/SharedMapping.h"
#include "config/SharedText.h"
#include "platform/FileSystem.h"
#include "platform/Host.h"
#include "platform/Platform.h"
#include "platform/ProgramPaths.h"
#include "platform/Registry.h"

namespace {
bool startsWithByteOrderMark(const std::string& text) {
    for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
        if (text.rfind(mark, 0) == 0) return true;
    return false;
}

void markSkinSectionsOf(IniDocument& document) {
    document.markSections("Layout");
    document.markSections("StyleGuide");
    document.markSections("Strings");
}
} // namespace

SkinSections platformSkinSections() {
    return isWin9x() ? SkinSections::inStore : SkinSections::inSkinFile;
}

SharedLock::SharedLock(HANDLE mutex) : mutex_(mutex) {
    if (mutex_) {
        DWORD result = WaitForSingleObject(mutex_, INFINITE);
        held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
}

SharedLock::~SharedLock() {
    if (held_) ReleaseMutex(mutex_);
}

SharedStore::SharedStore(SkinSections skinSections) : skinSections_(skinSections) {}

void SharedStore::markSkinSections() {
    markSkinSectionsOf(ini_.document());
}

void SharedStore::chooseCurrentSkin(const std::string& name) {
    currentSkin_ = name.empty() ? defaultSkin() : name;
    skinFilePath_ = getProgramDirectory() + currentSkin_ + ".ini";
}

bool SharedStore::isEmptyNeverPublished() {
    SharedLock lock(mutex());
    return readGeneration(view()) == 0 && view()[kSharedTextOffset] == 0;
}

// Parses another configuration file into the store; the store's own file stays the per-user
// file, whatever happens, so that a save never writes into "system.ini" or the skin.
bool SharedStore::mergeFile(const std::string& path, const std::string& userPath) {
    ini_.setFileName(path);
    bool parsed = ini_.parseIniFile(true);
    ini_.setFileName(userPath);
    return parsed;
}

// The first program's load, after the block was prepared: the files, then one publication. A
// store whose files could not be read stays held: it never publishes its partial content.
bool SharedStore::loadFilesAndPublish() {
    batchDepth_ = 1;
    std::string userPath = getUserIniPath();
    if (!mergeFile(userPath, userPath)) {
        if (fileExists(userPath)) userFileUnreadable_ = true;
        return false;
    }
    if (!mergeFile(getIniFilePath("system.ini"), userPath)) return false;
    chooseCurrentSkin(getRegistryValue("CurrentSkin", ""));
    if (skinSections_ == SkinSections::inStore && !mergeFile(skinFilePath_, userPath)) return false;
    markSkinSections();
    batchDepth_ = 0;
    publish();
    return true;
}

bool SharedStore::open() {
    mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      static_cast<DWORD>(kSharedBlockSize), "inifilememfilemap"));
    if (!mapping_) return false;
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kSharedBlockSize));
    if (!view_) {
        mapping_.reset();
        return false;
    }
    if (!mutex_) mutex_.reset(CreateMutexA(nullptr, FALSE, "NvIniFileMutex"));

    if (existed && !isEmptyNeverPublished()) {
        ini_.setFileName(getUserIniPath());
        std::string text;
        {
            SharedLock lock(mutex());
            text = sharedText(view());
        }
        ini_.document().parse(text, &placeholderValues());
        chooseCurrentSkin(getRegistryValue("CurrentSkin", ""));
        return true;
    }
    // A block nobody ever published into (its first program could not read the configuration)
    // is loaded afresh like a new one, without zeroing it again.
    bool loaded = existed ? loadFilesAndPublish() : load();
    if (!loaded) mapping_.reset();
    return loaded;
}

bool SharedStore::load() {
    if (view()) {
        SharedLock lock(mutex());
        ZeroMemory(view(), kSharedBlockSize);
    }
    return loadFilesAndPublish();
}

void SharedStore::close() {
    view_.reset();
    mapping_.reset();
    mutex_.reset();
}

bool SharedStore::endUpdate() {
    if (--batchDepth_ == 0 && view()) return publish();
    return true;
}

void SharedStore::refresh() {
    if (batchDepth_ > 0 || !view()) return;
    std::string text;
    {
        SharedLock lock(mutex());
        int32_t generation = static_cast<int32_t>(readGeneration(view()));
        if (generation == generationSeen_) return;
        text = sharedText(view());
        generationSeen_ = generation;
    }
    IniDocument& document = ini_.document();
    document.clear();
    document.parse(text, &placeholderValues());
    markSkinSectionsOf(document);
}

bool SharedStore::publish() {
    if (batchDepth_ > 0 || !view()) return true;
    std::optional<std::string> text = publicationText(ini_.document());
    if (!text) {
        reportRefusedPublication();
        return false;
    }
    SharedLock lock(mutex());
    generationSeen_ = static_cast<int32_t>(writePublication(view(), *text));
    return true;
}

void SharedStore::reportRefusedPublication() {
    if (refusalReported_) return;
    refusalReported_ = true;
    host().tell("Die Konfiguration ist zu gro\xDF f\xFC"
                "r den gemeinsamen Speicher der Programme.\n"
                "Die letzte \xC4nderung wurde nicht \xFC"
                "bernommen.");
}

std::string SharedStore::getValue(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) {
    if (section.empty()) return ini_.getSectionNames();
    refresh();
    return ini_.getValue(section, key, defaultValue);
}

std::string SharedStore::getRegistryValue(const std::string& key, const std::string& defaultValue) {
    return getValue("Registry_HKCU", key, defaultValue);
}

bool SharedStore::setValue(const std::string& section, const std::string& key, const std::string& value) {
    refresh();
    if (!ini_.setValue(section, key, value)) return false;
    return publish();
}

bool SharedStore::removeSection(const std::string& name) {
    refresh();
    if (!ini_.document().removeSection(name)) return false;
    return publish();
}

bool SharedStore::replaceSectionsBelow(const std::string& path, const IniDocument& saved) {
    refresh();
    ini_.document().replaceSectionsBelow(path, saved);
    return publish();
}

bool SharedStore::replaceSections(const IniDocument::SectionFilter& belongs, const IniDocument& saved) {
    refresh();
    ini_.document().replaceSections(belongs, saved);
    return publish();
}

bool SharedStore::save() {
    if (userFileUnreadable_) {
        if (!unsavedReported_) {
            unsavedReported_ = true;
            host().tell("Die Konfiguration wurde nicht gespeichert, weil sie beim Start nicht gelesen "
                        "werden konnte:\n\"" +
                        getUserIniPath() + "\"");
        }
        return false;
    }
    if (ini_.fileName().empty()) return false;
    refresh();
    return ini_.saveIniFile();
}

bool SharedStore::saveAfterChange() {
    return ini_.fileName().empty() || save();
}

// The skin file, read once for all lookups while its path stays the same: the profile functions
// look at the file again for every value, and a wizard's start asks for dozens. nullptr for a
// file in a Unicode encoding, which the profile functions read themselves.
const CProfileText* SharedStore::skinText(const std::string& path) {
    if (skinTextPath_ != path) {
        skinTextPath_ = path;
        skinText_.reset();
        std::string text = readWholeFile(path).value_or(std::string());
        if (!startsWithByteOrderMark(text)) skinText_.emplace(text);
    }
    return skinText_ ? &*skinText_ : nullptr;
}

std::string SharedStore::profileValue(const std::string& section, const std::string& key) {
    if (skinSections_ == SkinSections::inStore) return getValue(section, key, "");
    // When the store could not choose the skin (it was not opened or its files were not read),
    // the current skin applies all the same.
    if (skinFilePath_.empty()) skinFilePath_ = getProgramDirectory() + currentSkin() + ".ini";
    if (const CProfileText* skin = skinText(skinFilePath_)) return skin->value(section, key);
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer), skinFilePath_.c_str());
    return buffer;
}

std::string SharedStore::layoutValue(const std::string& key) {
    return profileValue("Layout", key);
}
std::string SharedStore::styleGuideValue(const std::string& key) {
    return profileValue("StyleGuide", key);
}
std::string SharedStore::layoutSectionValue(const std::string& name, const std::string& key) {
    return profileValue("Layout_" + name, key);
}

std::string SharedStore::chooseMessageKey(const std::string& preferred, const std::string& fallback) {
    return layoutValue(preferred).empty() ? fallback : preferred;
}

std::string SharedStore::defaultSkin() {
    if (!defaultSkin_.empty()) return defaultSkin_;
    CIniFile userIni(getIniFilePath("user.ini"));
    userIni.parseIniFile(false);
    defaultSkin_ = userIni.getValue("Registry_HKCU", "CurrentSkin", "Skin0000");
    if (defaultSkin_.empty())
        host().tell("Fehlender Eintrag in system.ini: [Registry_HKCU] CurrentSkin=\"\"");
    return defaultSkin_;
}

std::string SharedStore::currentSkin() {
    if (!currentSkin_.empty()) return currentSkin_;
    std::string path = getUserIniPath();
    if (fileExists(path)) {
        CIniFile userIni(path);
        userIni.parseIniFile(false);
        currentSkin_ = userIni.getValue("Registry_HKCU", "CurrentSkin", defaultSkin());
        return currentSkin_;
    }
    host().tell("Skin: Datei " + path + " existiert nicht!");
    return defaultSkin();
}

std::string SharedStore::skinDirectory() {
    return getProgramDirectory() + currentSkin() + "\\";
}

std::string SharedStore::treeIconsPath(const std::string& key) {
    return skinDirectory() + layoutSectionValue("TreeIcons", key);
}

std::string getUserIniPath() {
    return getIniFilePath(
        readRegistryString(HKEY_CURRENT_USER, std::string("Software\\") + getSuitePath(), "CurrentUser", "") +
        ".ini");
}

StoreBatch::StoreBatch(SharedStore& store) : store_(store) {
    store_.refresh();
    copyDocument(store_.document(), document_);
    generationSeen_ = store_.generationSeen_;
    store_.beginUpdate();
}

StoreBatch::~StoreBatch() {
    if (!finished_) commit();
}

bool StoreBatch::commit() {
    if (finished_) return true;
    if (!store_.fileName().empty() && store_.document().serializedSize(false) > kMaxIniDocument) {
        reportDocumentTooLarge(store_.fileName());
        abandon();
        return false;
    }
    finished_ = true;
    if (store_.endUpdate()) return true;
    restore(); // the publication was refused: the mapping still holds the state before the batch
    return false;
}

void StoreBatch::abandon() {
    if (finished_) return;
    finished_ = true;
    --store_.batchDepth_;
    restore();
}

void StoreBatch::restore() {
    copyDocument(document_, store_.document());
    store_.generationSeen_ = generationSeen_;
}
