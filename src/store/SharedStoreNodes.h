#pragma once
#include <string>

#include "store/NodeStore.h"

class SharedStore;

// The favorites and page archive trees in the shared configuration store: every node is a
// section named by its path below the root section.

std::string getFavTreeRoot();     // "NVFavTreeRoot"
std::string getOfflineTreeRoot(); // "NVOfflineTreeRoot"

// The shared store as a NodeStore: values are read and published through the store.
class SharedStoreNodes : public NodeStore {
  public:
    explicit SharedStoreNodes(SharedStore& store) : store_(store) {}
    std::string getNodeValue(const std::string& section, const std::string& key) override;
    void setNodeValue(const std::string& section, const std::string& key, const std::string& value) override;
    // As the store finds sections: a name found listed must lead to the section of that name.
    std::string foldCase(const std::string& name) override;
    SharedStore& store() { return store_; }

  private:
    SharedStore& store_;
};

// Folds a name to upper case with the user's locale and the active code page (as the profile
// functions compare the sections of a file they read).
std::string foldCaseAnsi(const std::string& name);
