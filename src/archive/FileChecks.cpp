#include "archive/FileChecks.h"

#include <windows.h>

#include "platform/Handles.h"
#include "platform/Host.h"

const char* const kForbiddenFileNameCharacters = "\\/:*?\"<>|'";

namespace {
using DiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

DiskFreeSpaceExFn diskFreeSpaceEx() {
    return reinterpret_cast<DiskFreeSpaceExFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
}
} // namespace

std::string makeTempName(const std::string& folder) {
    char name[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), "", 0, name)) return "";
    DeleteFileA(name);
    std::string result = name;
    if (result.size() >= 4 && result.compare(result.size() - 4, 4, ".tmp") == 0)
        result.resize(result.size() - 4);
    return result;
}

std::string getFileName(const std::string& path) {
    size_t last = path.rfind('\\');
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string getFolderPart(const std::string& path) {
    size_t last = path.rfind('\\');
    return last == std::string::npos ? path : path.substr(0, last + 1);
}

bool isValidFileName(const std::string& name) {
    if (name.empty()) {
        host().ask("MessageBoxFileNameEmpty", "");
        return false;
    }
    if (name.find_first_of(kForbiddenFileNameCharacters) != std::string::npos) {
        host().ask("MessageBoxInvalidFileName", kForbiddenFileNameCharacters);
        return false;
    }
    return true;
}

bool hasDiskSpace(uint64_t byteCount, const std::string& root) {
    if (byteCount == 0) return true;
    if (root.empty()) return false;
    std::string drive = root.back() == '\\' ? root : root + "\\";
    if (DiskFreeSpaceExFn freeSpaceEx = diskFreeSpaceEx()) {
        ULARGE_INTEGER availableToCaller, total, totalFree;
        if (!freeSpaceEx(drive.c_str(), &availableToCaller, &total, &totalFree)) return false;
        return availableToCaller.QuadPart >= byteCount;
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(drive.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return false;
    return uint64_t(sectorsPerCluster) * bytesPerSector * freeClusters >= byteCount;
}

std::string getSpaceRoot(const std::string& destination) {
    const size_t first = destination.find('\\');
    if (first == std::string::npos) return "";
    if (first > 0) return destination.substr(0, first);
    if (destination.compare(0, 2, "\\\\") != 0) return "\\";
    // \\server\share\...: the share is the unit whose free space counts.
    const size_t serverEnd = destination.find('\\', 2);
    if (serverEnd == std::string::npos || serverEnd == 2) return "";
    const size_t shareEnd = destination.find('\\', serverEnd + 1);
    if (shareEnd == std::string::npos || shareEnd == serverEnd + 1) return "";
    return destination.substr(0, shareEnd + 1);
}

bool hasDiskSpaceFor(const std::string& file, const std::string& destination) {
    if (destination.find('\\') == std::string::npos) return true;
    ScopedHandle input(
        CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!input || !GetFileSizeEx(input.get(), &size)) return false;
    return hasDiskSpace(static_cast<uint64_t>(size.QuadPart), getSpaceRoot(destination));
}

bool isDestinationReachable(const std::string& destination) {
    if (destination.find('\\') == std::string::npos) return true;
    const DWORD attributes = GetFileAttributesA(getFolderPart(destination).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
