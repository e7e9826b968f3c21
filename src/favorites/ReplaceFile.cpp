#include "favorites/ReplaceFile.h"

#include <windows.h>

#include "platform/Handles.h"
#include "platform/MessageSeam.h"

namespace {
bool writeComplete(const char* path, const std::string& content) {
    ScopedHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || content.size() > 0xFFFFFFFFu) return false;
    DWORD written = 0;
    return WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size() && FlushFileBuffers(file.get());
}

// The folder of path, in a form that names that folder itself ("C:\" rather than "C:").
std::string folderOf(const std::string& path) {
    size_t last = path.find_last_of("\\/");
    if (last == std::string::npos) return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
    return last == 0 || path[last - 1] == ':' ? path.substr(0, last + 1) : path.substr(0, last);
}

enum class Replacement { done, noTemporary, writeFailed };

Replacement replaceWithTemporary(const std::string& path, const std::string& content) {
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(folderOf(path).c_str(), "nvb", 0, temporary)) return Replacement::noTemporary;
    if (!writeComplete(temporary, content)) {
        DeleteFileA(temporary);
        return Replacement::writeFailed;
    }
    if (MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Replacement::done;
    DeleteFileA(temporary);
    return Replacement::writeFailed; // the old file stays as it was
}

bool replace(const std::string& path, const std::string& content) {
    switch (replaceWithTemporary(path, content)) {
    case Replacement::done:
        return true;
    case Replacement::writeFailed:
        return false;
    case Replacement::noTemporary:
        break;
    }
    // A folder that is not ours (a profile below the program folder, with write rights on the
    // file alone): written in place, as it always was there.
    return writeComplete(path.c_str(), content);
}
} // namespace

bool replaceFileContent(const std::string& path, const std::string& content) {
    if (!path.empty() && replace(path, content)) return true;
    showMessage("unable to write file '" + path + "'");
    return false;
}
