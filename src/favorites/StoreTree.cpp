#include "favorites/StoreTree.h"

#include <windows.h>

#include <algorithm>

#include "config/SharedIni.h"

namespace {
std::string itemKey(int index) {
    return "item_" + std::to_string(index);
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                          b.c_str(), static_cast<int>(b.size())) == CSTR_EQUAL;
}
} // namespace

std::string getFavTreeRoot() {
    return "NVFavTreeRoot";
}
std::string getOfflineTreeRoot() {
    return "NVOfflineTreeRoot";
}

std::string getNodeValue(const std::string& section, const std::string& key) {
    return getIniValue(section, key, "");
}

bool setNodeValue(const std::string& section, const std::string& key, const std::string& value) {
    setIniValue(section, key, value);
    return true;
}

std::string findItemKey(const std::string& section, const std::string& name) {
    int index = 0;
    for (std::string value = getNodeValue(section, itemKey(0)); !value.empty();
         value = getNodeValue(section, itemKey(++index)))
        if (!name.empty() && value == name) break;
    return itemKey(index);
}

bool hasItem(const std::string& section, const std::string& name) {
    for (int index = 0;; ++index) {
        std::string value = getNodeValue(section, itemKey(index));
        if (value.empty()) return false;
        if (equalsIgnoringCase(value, name)) return true;
    }
}

std::string getFileNameOfPath(const std::string& path) {
    size_t last = path.rfind('\\');
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string getPageFilesFolder(const std::string& pagePath, std::string& folderName) {
    std::string folder =
        pagePath.substr(0, pagePath.size() - std::min<size_t>(4, pagePath.size())) + "-Dateien";
    std::replace(folder.begin(), folder.end(), '\\', '/');
    size_t last = folder.rfind('/');
    folderName = last == std::string::npos ? folder : folder.substr(last + 1);
    return folder;
}
