#include "store/SharedStoreNodes.h"

#include <windows.h>

#include "config/SharedStore.h"
#include "store/StoreTree.h"

std::string SharedStoreNodes::getNodeValue(const std::string& section, const std::string& key) {
    return store_.getValue(section, key, "");
}

void SharedStoreNodes::setNodeValue(const std::string& section, const std::string& key,
                                    const std::string& value) {
    store_.setValue(section, key, value);
}

std::string SharedStoreNodes::foldCase(const std::string& name) {
    return foldSectionCase(name);
}

std::string foldCaseAnsi(const std::string& name) {
    if (name.empty()) return name;
    int length = static_cast<int>(name.size());
    int needed = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, name.data(), length, nullptr, 0);
    if (needed <= 0) return name;
    std::string folded(static_cast<size_t>(needed), '\0');
    if (LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, name.data(), length, folded.data(), needed) != needed)
        return name;
    return folded;
}

std::string getFavTreeRoot() { return "NVFavTreeRoot"; }
std::string getOfflineTreeRoot() {
    return "NVOfflineTreeRoot";
}
