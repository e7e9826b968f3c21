#pragma once
#include <string>
#include <unordered_map>
#include <utility>
#include <unordered_set>
#include <vector>

#include "config/IniDocument.h"
#include "store/NodeStore.h"

// Child lists of store tree sections: item_0, item_1, ... up to the first empty value.

std::string itemKey(size_t index);                                             // "item_%d"
std::string childSection(const std::string& section, const std::string& name); // section + "\" + name
std::vector<std::string> listChildren(NodeStore& store, const std::string& section);
// The node path below the tree's root section ("NVFavTreeRoot\Favoriten\News" gives
// "Favoriten\News"), as the user sees it.
std::string pathBelowRoot(const std::string& section);

// Names and values entering the store from an import. A child is stored as the section
// section + "\" + name and listed as a value, so both must be read back as written.
// Replaces the characters a store name cannot hold by a blank: "\" separates the steps of a
// path, "]" would end the section header early.
void replaceUnstorableCharacters(std::string& name);
// Why the child name, with the given keys and values of its own, cannot be stored under section
// so that the reader gives it back (its path or a value too long, a line break in it); empty
// when it fits. Entries that do not fit are left out whole, with everything below them.
using NodeValues = std::vector<std::pair<std::string, std::string>>;
std::string storeRefusal(const std::string& section, const std::string& name, const NodeValues& values = {});
// Child names compare as the store compares section names: ASCII letters without regard to
// case, every other byte exactly. Returns the folded form.
std::string foldSectionCase(const std::string& name);
// The key listing name exactly (case-sensitive), or the first free key. Without a name: the key
// just past the last listed child.
std::string findItemKey(NodeStore& store, const std::string& section, const std::string* name = nullptr);
// Whether a child of section equals name, ignoring case.
bool hasItem(NodeStore& store, const std::string& section, const std::string& name);
// Lists name at the first free key unless it is listed already (ignoring case); a folder child
// marks section as a folder first. Returns the child's section.
std::string addChild(NodeStore& store, const std::string& section, const std::string& name, bool isFolder);

// addChild for many children in a row, as the importers place them: remembers each folder's
// listed names and first free key, so that every placement costs the same however long the
// list is. Valid while nobody else writes the item keys of the folders it has seen.
class ChildAppender {
  public:
    explicit ChildAppender(NodeStore& store) : store_(store) {}
    std::string addChild(const std::string& section, const std::string& name, bool isFolder);

  private:
    struct Listing {
        size_t freeIndex = 0;
        std::unordered_set<std::string> foldedNames;
    };
    Listing& listing(const std::string& section);
    void skipListed(const std::string& section, Listing& listing);

    // Section names compare as the store compares them.
    struct SectionHash {
        size_t operator()(const std::string& name) const { return hashNoCase(name); }
    };
    struct SectionEqual {
        bool operator()(const std::string& a, const std::string& b) const { return equalsNoCase(a, b); }
    };

    NodeStore& store_;
    std::unordered_map<std::string, Listing, SectionHash, SectionEqual> listings_;
};

// A NodeStore over a plain document, with ASCII case folding.
class DocumentNodeStore : public NodeStore {
  public:
    explicit DocumentNodeStore(IniDocument& document) : document_(document) {}
    std::string getNodeValue(const std::string& section, const std::string& key) override;
    void setNodeValue(const std::string& section, const std::string& key, const std::string& value) override;
    std::string foldCase(const std::string& name) override;

  private:
    IniDocument& document_;
};
