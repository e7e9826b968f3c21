#include "config/ProcessStore.h"

namespace {
SharedStore*& boundStore() {
    static SharedStore* store = nullptr;
    return store;
}

template <typename Lookup> std::string lookUp(Lookup lookup) {
    if (SharedStore* store = boundStore()) return lookup(*store);
    SharedStore unbound;
    return lookup(unbound);
}
} // namespace

ProcessStore::ProcessStore(SkinSections skinSections) : store_(skinSections), previous_(boundStore()) {
    boundStore() = &store_;
}

ProcessStore::~ProcessStore() {
    store_.close();
    boundStore() = previous_;
}

SharedStore* processStore() {
    return boundStore();
}

std::string getLayoutValue(const std::string& key) {
    return lookUp([&](SharedStore& store) { return store.layoutValue(key); });
}

std::string getStyleGuideValue(const std::string& key) {
    return lookUp([&](SharedStore& store) { return store.styleGuideValue(key); });
}

std::string getLayoutSectionValue(const std::string& name, const std::string& key) {
    return lookUp([&](SharedStore& store) { return store.layoutSectionValue(name, key); });
}

std::string chooseMessageKey(const std::string& preferred, const std::string& fallback) {
    return lookUp([&](SharedStore& store) { return store.chooseMessageKey(preferred, fallback); });
}

std::string getDefaultSkin() {
    return lookUp([](SharedStore& store) { return store.defaultSkin(); });
}

std::string getCurrentSkin() {
    return lookUp([](SharedStore& store) { return store.currentSkin(); });
}

std::string getSkinDirectory() {
    return lookUp([](SharedStore& store) { return store.skinDirectory(); });
}

std::string getTreeIconsPath(const std::string& key) {
    return lookUp([&](SharedStore& store) { return store.treeIconsPath(key); });
}
