#include "archive/ArchiveStore.h"

#include "platform/FileSystem.h"
#include "platform/ProgramPaths.h"
#include "platform/Registry.h"

namespace {
const size_t kRootPrefixLength = 18; // "NVOfflineTreeRoot\"
}

std::string getArchivIniPath() {
    return getIniFilePath("nvarchive.ini");
}

std::string getArchivTempFolder() {
    return getIniFilePath("Temp");
}

std::string getOfflineDataFolder() {
    return appendPath(getPersonalFolder(), "Quendal_Software_5\\Offline\\Data");
}

std::string getArchivRelativePath(const std::string& sectionPath) {
    return sectionPath.size() > kRootPrefixLength ? sectionPath.substr(kRootPrefixLength) : std::string();
}
