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

bool replaceWithTemporary(const std::string& path, const std::string& content) {
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(folderOf(path).c_str(), "nvb", 0, temporary)) return false;
    bool replaced = writeComplete(temporary, content) &&
                    MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) DeleteFileA(temporary);
    return replaced;
}
} // namespace

bool replaceFileContent(const std::string& path, const std::string& content) {
    if (!path.empty() && replaceWithTemporary(path, content)) return true;
    showMessage("unable to write file '" + path + "'");
    return false;
}
