#pragma once
#include <string>

#include "store/NodeStore.h"

// The favorites and page archive trees in the shared configuration store: every node is a
// section named by its path below the root section.

std::string getFavTreeRoot();     // "NVFavTreeRoot"
std::string getOfflineTreeRoot(); // "NVOfflineTreeRoot"

std::string getNodeValue(const std::string& section, const std::string& key);
bool setNodeValue(const std::string& section, const std::string& key, const std::string& value);
std::string findItemKey(const std::string& section, const std::string* name = nullptr);
// Ignores the case of ASCII letters only, as the store's section names do (foldSectionCase).
bool hasItem(const std::string& section, const std::string& name);
std::string addChild(const std::string& section, const std::string& name, bool isFolder);

// The shared store as a NodeStore.
NodeStore& sharedStoreNodes();
// Folds a name to upper case with the user's locale and the active code page (as the profile
// functions compare the sections of a file they read).
std::string foldCaseAnsi(const std::string& name);
