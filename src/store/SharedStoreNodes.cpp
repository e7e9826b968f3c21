#include "store/SharedStoreNodes.h"

#include <windows.h>

#include "config/SharedIni.h"
#include "store/StoreTree.h"

namespace {
class SharedStoreNodes : public NodeStore {
  public:
    std::string getNodeValue(const std::string& section, const std::string& key) override {
        return getIniValue(section, key, "");
    }
    void setNodeValue(const std::string& section, const std::string& key, const std::string& value) override {
        setIniValue(section, key, value);
    }
    // As the store finds sections: a name found listed must lead to the section of that name.
    std::string foldCase(const std::string& name) override { return foldSectionCase(name); }
};
} // namespace

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

NodeStore& sharedStoreNodes() {
    static SharedStoreNodes nodes;
    return nodes;
}

std::string getFavTreeRoot() { return "NVFavTreeRoot"; }
std::string getOfflineTreeRoot() { return "NVOfflineTreeRoot"; }

std::string getNodeValue(const std::string& section, const std::string& key) {
    return sharedStoreNodes().getNodeValue(section, key);
}

bool setNodeValue(const std::string& section, const std::string& key, const std::string& value) {
    sharedStoreNodes().setNodeValue(section, key, value);
    return true;
}

std::string findItemKey(const std::string& section, const std::string* name) {
    return findItemKey(sharedStoreNodes(), section, name);
}

bool hasItem(const std::string& section, const std::string& name) { return hasItem(sharedStoreNodes(), section, name); }

std::string addChild(const std::string& section, const std::string& name, bool isFolder) {
    return addChild(sharedStoreNodes(), section, name, isFolder);
}
