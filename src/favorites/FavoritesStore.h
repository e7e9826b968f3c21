#pragma once
#include <string>

#include "favorites/NodeStore.h"

// The favorites and page archive trees in the shared configuration store: every node is a
// section named by its path below the root section.

std::string getFavTreeRoot();     // "NVFavTreeRoot"
std::string getOfflineTreeRoot(); // "NVOfflineTreeRoot"

std::string getNodeValue(const std::string& section, const std::string& key);
bool setNodeValue(const std::string& section, const std::string& key, const std::string& value);
std::string findItemKey(const std::string& section, const std::string* name = nullptr);
// Case-insensitive through the active code page's upper-case mapping (multi-byte aware).
bool hasItem(const std::string& section, const std::string& name);
std::string addChild(const std::string& section, const std::string& name, bool isFolder);

// The shared store as a NodeStore.
NodeStore& sharedStoreNodes();
// Folds a name to upper case with the user's locale and the active code page.
std::string foldCaseAnsi(const std::string& name);
