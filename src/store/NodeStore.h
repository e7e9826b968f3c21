#pragma once
#include <string>

// Access to the sections of a store tree: the shared configuration store in the program, a plain
// document where no store is needed. Missing sections and keys read as "".
class NodeStore {
  public:
    virtual ~NodeStore() = default;
    virtual std::string getNodeValue(const std::string& section, const std::string& key) = 0;
    virtual void setNodeValue(const std::string& section, const std::string& key,
                              const std::string& value) = 0;
    // The form in which child names are compared when their case is ignored: two names are the
    // same child when their folded forms are equal.
    virtual std::string foldCase(const std::string& name) = 0;
};
