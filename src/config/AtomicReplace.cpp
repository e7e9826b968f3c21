#include "config/AtomicReplace.h"

#include <windows.h>

namespace {
// The folder of path, in a form that names that folder itself ("C:\" rather than "C:").
std::string folderOf(const std::string& path) {
    size_t last = path.find_last_of("\\/");
    if (last == std::string::npos) return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
    return last == 0 || path[last - 1] == ':' ? path.substr(0, last + 1) : path.substr(0, last);
}
} // namespace

Replacement replaceThroughTemporary(const std::string& path,
                                    const std::function<bool(const std::string& temporary)>& fill) {
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(folderOf(path).c_str(), "nvr", 0, temporary)) return Replacement::noTemporary;
    if (fill(temporary) &&
        MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Replacement::done;
    SetFileAttributesA(temporary, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(temporary);
    return Replacement::failed;
}

bool replaceFile(const std::string& path, const std::function<bool(const std::string& target)>& fill) {
    switch (replaceThroughTemporary(path, fill)) {
    case Replacement::done:
        return true;
    case Replacement::failed:
        return false;
    case Replacement::noTemporary:
        break;
    }
    return fill(path);
}
