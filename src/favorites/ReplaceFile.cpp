#include "favorites/ReplaceFile.h"

#include <windows.h>

#include "config/AtomicReplace.h"
#include "platform/Handles.h"
#include "platform/Host.h"

namespace {
bool writeComplete(const std::string& path, const std::string& content) {
    ScopedHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || content.size() > 0xFFFFFFFFu) return false;
    DWORD written = 0;
    return WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size() && FlushFileBuffers(file.get());
}

bool replace(const std::string& path, const std::string& content) {
    return replaceFile(path, [&](const std::string& target) { return writeComplete(target, content); });
}
} // namespace

bool replaceFileContent(const std::string& path, const std::string& content) {
    if (!path.empty() && replace(path, content)) return true;
    host().tell("unable to write file '" + path + "'");
    return false;
}
