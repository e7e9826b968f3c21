#include "config/IniFile.h"

#include <windows.h>

#include "config/ConfigFile.h"
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

bool CIniFile::parseIniFile(bool expand) {
    DWORD start = GetTickCount();
    trace("parseIniFile()");
    std::optional<std::string> text = readFile(fileName_);
    if (!text) {
        trace(" readFile == NULL\n");
        return false;
    }
    size_t count = document_.parse(*text, expand ? &placeholderValues() : nullptr);
    trace("%d ms to scan %d bytes %d values from %s '%s' %s\n", static_cast<int>(GetTickCount() - start),
          static_cast<int>(text->size()), static_cast<int>(count), "file", fileName_.c_str(), "");
    return true;
}

bool CIniFile::saveIniFile() {
    if (fileName_.empty()) return false;
    std::string buffer;
    document_.serialize(buffer, false);
    bool written = writeFile(fileName_, buffer);
    trace("wrote '%s' bytes %d\n", fileName_.c_str(), static_cast<int>(buffer.size()));
    return written;
}

std::string CIniFile::getValue(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const {
    if (section.empty()) return getSectionNames();
    const std::string* value = document_.findValue(section, key);
    return value ? *value : defaultValue;
}

bool CIniFile::setValue(const std::string& section, const std::string& key, const std::string& value) {
    if (!document_.setValue(section, key, value)) {
        trace("setValue: [%s] %s does not fit the configuration's limits\n", section.c_str(), key.c_str());
        return false;
    }
    return true;
}
