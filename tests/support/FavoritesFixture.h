#pragma once
#include <gtest/gtest.h>

#include <string>

#include "config/SharedStore.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"
#include "support/TestSupport.h"

// Every favorites test starts with a fresh, empty store that was never opened (it keeps its
// changes in memory).
class FavoritesTest : public testing::Test {
  protected:
    SharedStore store;
    SharedStoreNodes nodes{store};

    std::string storeText() const {
        std::string text;
        store.document().serialize(text, true);
        return text;
    }
    std::vector<std::string> children(const std::string& section) { return listChildren(nodes, section); }
    void setFolder(const std::string& section, const std::vector<std::string>& names) {
        nodes.setNodeValue(section, "type", "folder");
        for (size_t i = 0; i < names.size(); ++i)
            nodes.setNodeValue(section, itemKey(i), names[i]);
    }
    void setLink(const std::string& section, const std::string& url) {
        nodes.setNodeValue(section, "type", "file");
        nodes.setNodeValue(section, "URL", url);
    }
};

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
