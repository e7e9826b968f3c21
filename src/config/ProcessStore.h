#pragma once
#include <string>

#include "config/SharedStore.h"

// The store of this process, bound for the lifetime of its owner: the program's start-up and
// nvtool make one and open it, a test makes its own. Code that is not handed a store (the skin
// lookups of the skinned controls and pages) reaches it through processStore(). Owners nest: the
// store bound before comes back when an inner one ends.
class ProcessStore {
  public:
    explicit ProcessStore(SkinSections skinSections = platformSkinSections());
    ~ProcessStore();
    ProcessStore(const ProcessStore&) = delete;
    ProcessStore& operator=(const ProcessStore&) = delete;
    SharedStore& store() { return store_; }
    SharedStore* operator->() { return &store_; }
    SharedStore& operator*() { return store_; }

  private:
    SharedStore store_;
    SharedStore* previous_;
};

// The bound store; nullptr while no ProcessStore lives.
SharedStore* processStore();

// The bound store's skin lookups (SharedStore's); without a bound store, a store made for the
// one lookup answers.
std::string getLayoutValue(const std::string& key);
std::string getStyleGuideValue(const std::string& key);
std::string getLayoutSectionValue(const std::string& name, const std::string& key);
std::string chooseMessageKey(const std::string& preferred, const std::string& fallback);
std::string getDefaultSkin();
std::string getCurrentSkin();
std::string getSkinDirectory();
std::string getTreeIconsPath(const std::string& key);
