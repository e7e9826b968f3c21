#include "favorites/InternetShortcut.h"

#include <windows.h>

#include "favorites/BookmarkWriter.h"
#include "platform/FileSystem.h"
#include "platform/Trace.h"

std::string readInternetShortcut(const std::string& path) {
    char buffer[4096] = {};
    GetPrivateProfileStringA("InternetShortcut", "URL", "", buffer, sizeof(buffer), path.c_str());
    return buffer;
}

bool writeInternetShortcut(const std::string& path, const std::string& url) {
    if (path.empty()) return false;
    std::string content = internetShortcutContent(url);
    if (!writeWholeFile(path, content.data(), content.size(), false, true)) {
        trace("ERROR : create file [%s]\n", path.c_str());
        return false;
    }
    return true;
}
