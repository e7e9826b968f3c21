#include "store/StoreTree.h"

#include <cstdio>

#include "store/NodeSchema.h"

std::string itemKey(size_t index) {
    char key[32];
    std::snprintf(key, sizeof(key), "item_%zu", index);
    return key;
}

std::string childSection(const std::string& section, const std::string& name) {
    return section + "\\" + name;
}

std::vector<std::string> listChildren(NodeStore& store, const std::string& section) {
    std::vector<std::string> children;
    for (size_t index = 0;; ++index) {
        std::string name = store.getNodeValue(section, itemKey(index));
        if (name.empty()) return children;
        children.push_back(std::move(name));
    }
}

std::string pathBelowRoot(const std::string& section) {
    size_t separator = section.find('\\');
    return separator == std::string::npos ? std::string() : section.substr(separator + 1);
}

void replaceUnstorableCharacters(std::string& name) {
    for (char& c : name)
        if (c == '\\' || c == ']') c = ' ';
}

std::string storeRefusal(const std::string& section, const std::string& name, const NodeValues& values) {
    // The longest key a child list can need: item_ with the largest index.
    const std::string listKey = itemKey(static_cast<size_t>(-1));
    std::string child = childSection(section, name);
    if (!isReadableSectionName(child))
        return child.size() > kMaxIniSectionName ? "its path is longer than the store can hold"
                                                 : "its name cannot be stored";
    if (!isReadableEntry(listKey, name)) return "its name cannot be stored";
    for (const auto& [key, value] : values)
        if (!isReadableEntry(key, value))
            return value.size() + key.size() + 3 > kMaxIniLine || value.size() > kMaxIniValue
                       ? "its " + key + " is longer than the store can hold (" + std::to_string(value.size()) +
                             " characters)"
                       : "its " + key + " cannot be stored";
    return {};
}

std::string foldSectionCase(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
    return folded;
}

std::string findItemKey(NodeStore& store, const std::string& section, const std::string* name) {
    size_t index = 0;
    for (std::string value = store.getNodeValue(section, itemKey(0)); !value.empty();
         value = store.getNodeValue(section, itemKey(++index))) {
        if (name && value == *name) break;
    }
    return itemKey(index);
}

bool hasItem(NodeStore& store, const std::string& section, const std::string& name) {
    std::string folded = store.foldCase(name);
    for (size_t index = 0;; ++index) {
        std::string value = store.getNodeValue(section, itemKey(index));
        if (value.empty()) return false;
        if (store.foldCase(value) == folded) return true;
    }
}

std::string addChild(NodeStore& store, const std::string& section, const std::string& name, bool isFolder) {
    std::string key = findItemKey(store, section);
    if (!hasItem(store, section, name)) {
        if (isFolder) store.setNodeValue(section, kTypeKey, kFolderType);
        store.setNodeValue(section, key, name);
    }
    return childSection(section, name);
}

ChildAppender::Listing& ChildAppender::listing(const std::string& section) {
    auto found = listings_.find(section);
    if (found != listings_.end()) return found->second;
    Listing& created = listings_[section];
    skipListed(section, created);
    return created;
}

void ChildAppender::skipListed(const std::string& section, Listing& listing) {
    for (std::string value = store_.getNodeValue(section, itemKey(listing.freeIndex)); !value.empty();
         value = store_.getNodeValue(section, itemKey(++listing.freeIndex)))
        listing.foldedNames.insert(store_.foldCase(value));
}

std::string ChildAppender::addChild(const std::string& section, const std::string& name, bool isFolder) {
    Listing& list = listing(section);
    std::string folded = store_.foldCase(name);
    if (!list.foldedNames.contains(folded)) {
        if (isFolder) store_.setNodeValue(section, kTypeKey, kFolderType);
        store_.setNodeValue(section, itemKey(list.freeIndex), name);
        // An empty name leaves the key free. Otherwise the list grows, and values behind a former
        // gap become listed as well.
        if (!name.empty()) {
            list.foldedNames.insert(std::move(folded));
            ++list.freeIndex;
            skipListed(section, list);
        }
    }
    return childSection(section, name);
}

std::string DocumentNodeStore::getNodeValue(const std::string& section, const std::string& key) {
    const std::string* value = document_.findValue(section, key);
    return value ? *value : std::string();
}

void DocumentNodeStore::setNodeValue(const std::string& section, const std::string& key,
                                     const std::string& value) {
    document_.setValue(section, key, value);
}

std::string DocumentNodeStore::foldCase(const std::string& name) { return foldSectionCase(name); }
