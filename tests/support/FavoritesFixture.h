#pragma once
#include <gtest/gtest.h>

#include <string>

#include "config/IniFile.h"
#include "config/SharedIni.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"
#include "support/TestSupport.h"

// Every favorites test starts with an empty, detached store and leaves it so.
class FavoritesTest : public testing::Test {
  protected:
    FavoritesTest() { resetStore(); }
    ~FavoritesTest() override { resetStore(); }
    static void resetStore() {
        CIniFile& ini = theIniFile();
        ini.clear();
        ini.setFileName("");
        ini.holdCount = 0;
        ini.generationSeen = -1;
    }
    static std::string storeText() {
        std::string text;
        theIniFile().document().serialize(text, true);
        return text;
    }
    static std::vector<std::string> children(const std::string& section) {
        return listChildren(sharedStoreNodes(), section);
    }
    static void setFolder(const std::string& section, const std::vector<std::string>& names) {
        setNodeValue(section, "type", "folder");
        for (size_t i = 0; i < names.size(); ++i)
            setNodeValue(section, itemKey(i), names[i]);
    }
    static void setLink(const std::string& section, const std::string& url) {
        setNodeValue(section, "type", "file");
        setNodeValue(section, "URL", url);
    }
};

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
