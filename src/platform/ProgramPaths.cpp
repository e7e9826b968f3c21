#include "platform/ProgramPaths.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/Handles.h"
#include "platform/Registry.h"

namespace {
std::string& programDirectory() {
    static std::string directory;
    return directory;
}

bool equalsNoCase(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

// ASCII letters only, whatever the code page.
void toLowerCase(std::string& text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
}
} // namespace

const char* getSuitePath() { return "Quendal\\Quendal_Software_5\\Browser"; }

void setupPaths() {
    char module[512] = {};
    GetModuleFileNameA(nullptr, module, sizeof(module));
    std::string path = module;

    using LongPathFn = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    auto longPath = reinterpret_cast<LongPathFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetLongPathNameA")));
    if (longPath) {
        char buffer[512] = {};
        DWORD length = longPath(path.c_str(), buffer, sizeof(buffer));
        if (length > 0 && length < sizeof(buffer)) path = buffer;
    }
    toLowerCase(path);

    char full[512] = {};
    char* filePart = nullptr;
    DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, &filePart);
    std::string directory = (length > 0 && length < sizeof(full)) ? std::string(full) : path;
    if (filePart && length > 0 && length < sizeof(full)) directory.resize(filePart - full);
    programDirectory() = directory;

    if (!directory.empty()) SetCurrentDirectoryA(directory.substr(0, directory.size() - 1).c_str());
}

std::string getProgramDirectory() {
    if (programDirectory().empty()) setupPaths();
    return programDirectory();
}

std::string getIniFilePath(const std::string& fileName) {
    const std::string suiteFolder = std::string("\\") + getSuitePath() + "\\";
    if (equalsNoCase(fileName, "system.ini") || equalsNoCase(fileName, "user.ini") ||
        equalsNoCase(fileName, "nvusrmgr.ini"))
        return getCommonAppDataPath() + suiteFolder + fileName;
    if (fileName.size() >= 3 && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, fileName.c_str(), 3,
                                               "usr", 3) == CSTR_EQUAL)
        return getAppDataFolder() + suiteFolder + fileName;
    return getProgramDirectory() + "ini\\" + fileName;
}

std::string getCommonAppDataPath() {
    char path[MAX_PATH] = {};
    ScopedLibrary shfolder(LoadLibraryA("shfolder.dll"));
    if (shfolder) {
        using FolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
        auto folderPath = reinterpret_cast<FolderPathFn>(
            reinterpret_cast<void*>(GetProcAddress(shfolder.get(), "SHGetFolderPathA")));
        if (!folderPath || FAILED(folderPath(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, path))) return "";
        return path;
    }
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_APPDATA, FALSE)) return "";
    return path;
}
