#include "config/IniFile.h"

#include <windows.h>

#include "config/ConfigFile.h"
#include "config/SharedMapping.h"
#include "config/SharedText.h"
#include "platform/Host.h"
#include "platform/ProgramPaths.h"
#include "platform/Registry.h"
#include "platform/Trace.h"

namespace {
bool& placeholdersRead() {
    static bool read = false;
    return read;
}

PlaceholderValues& placeholderStorage() {
    static PlaceholderValues values;
    return values;
}

void reportRefusedPublication() {
    static bool reported = false;
    if (reported) return;
    reported = true;
    host().tell("Die Konfiguration ist zu gro\xDF f\xFC"
                "r den gemeinsamen Speicher der Programme.\n"
                "Die letzte \xC4nderung wurde nicht \xFC"
                "bernommen.");
}
} // namespace

const PlaceholderValues& placeholderValues() {
    if (!placeholdersRead()) {
        placeholdersRead() = true;
        PlaceholderValues& values = placeholderStorage();
        values.personal = getPersonalFolder();
        values.appData = getAppDataFolder();
        values.currentUser =
            readRegistryString(HKEY_CURRENT_USER, std::string("Software\\") + getSuitePath(), "CurrentUser", "");
    }
    return placeholderStorage();
}

CIniFile::CIniFile(std::string fileName) : fileName_(std::move(fileName)) { placeholdersRead() = false; }

bool CIniFile::parseIniFile(bool fromMapping, bool expand) {
    DWORD start = GetTickCount();
    trace("parseIniFile()");
    std::string text;
    if (fromMapping) {
        unsigned char* view = sharedView();
        if (!view) {
            trace(" MappedMemory == NULL\n");
            return false;
        }
        SharedLock lock;
        text = sharedText(view);
    } else {
        holdCount = 1;
        std::optional<std::string> content = readFile(fileName_);
        if (!content) {
            trace(" readFile == NULL\n");
            return false;
        }
        text = std::move(*content);
    }
    size_t count = document_.parse(text, expand ? &placeholderValues() : nullptr);
    trace("%d ms to scan %d bytes %d values from %s '%s' %s\n", static_cast<int>(GetTickCount() - start),
          fromMapping ? 0 : static_cast<int>(text.size()), static_cast<int>(count), fromMapping ? "memory" : "file",
          fileName_.c_str(), "");
    return true;
}

bool CIniFile::saveIniFile() {
    if (fileName_.empty()) return false;
    refresh();
    std::string buffer;
    document_.serialize(buffer, false);
    bool written = writeFile(fileName_, buffer);
    trace("wrote '%s' bytes %d\n", fileName_.c_str(), static_cast<int>(buffer.size()));
    return written;
}

std::string CIniFile::getValue(const std::string& section, const std::string& key, const std::string& defaultValue) {
    if (section.empty()) return getSectionNames();
    refresh();
    const std::string* value = document_.findValue(section, key);
    return value ? *value : defaultValue;
}

bool CIniFile::setValue(const std::string& section, const std::string& key, const std::string& value) {
    refresh();
    if (!document_.setValue(section, key, value)) {
        trace("setValue: [%s] %s does not fit the configuration's limits\n", section.c_str(), key.c_str());
        return false;
    }
    return publish();
}

bool CIniFile::removeSection(const std::string& name) {
    refresh();
    if (!document_.removeSection(name)) return false;
    return publish();
}

bool CIniFile::replaceSectionsBelow(const std::string& path, const IniDocument& saved) {
    refresh();
    document_.replaceSectionsBelow(path, saved);
    return publish();
}

bool CIniFile::replaceSections(const IniDocument::SectionFilter& belongs, const IniDocument& saved) {
    refresh();
    document_.replaceSections(belongs, saved);
    return publish();
}

void CIniFile::refresh() {
    unsigned char* view = sharedView();
    if (holdCount > 0 || !view) return;
    std::string text;
    {
        SharedLock lock;
        int32_t generation = static_cast<int32_t>(readGeneration(view));
        if (generation == generationSeen) return;
        text = sharedText(view);
        generationSeen = generation;
    }
    document_.clear();
    document_.parse(text, &placeholderValues());
    document_.markSections("Layout");
    document_.markSections("StyleGuide");
    document_.markSections("Strings");
}

bool CIniFile::publish() {
    unsigned char* view = sharedView();
    if (holdCount > 0 || !view) return true;
    std::optional<std::string> text = publicationText(document_);
    if (!text) {
        reportRefusedPublication();
        return false;
    }
    SharedLock lock;
    generationSeen = static_cast<int32_t>(writePublication(view, *text));
    return true;
}
