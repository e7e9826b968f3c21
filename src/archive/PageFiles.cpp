#include "archive/PageFiles.h"

std::string getPageFilesFolder(const std::string& pagePath, std::string& folderName) {
    std::string folder = pagePath.substr(0, pagePath.size() < 4 ? 0 : pagePath.size() - 4) + "-Dateien";
    for (char& c : folder)
        if (c == '\\') c = '/';
    folderName = folder.substr(folder.rfind('/') + 1); // npos + 1 is 0: the whole text
    return folder;
}
