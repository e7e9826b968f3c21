#include "favorites/ReplaceFile.h"

#include <windows.h>

#include "config/AtomicReplace.h"
#include "platform/Handles.h"
#include "platform/MessageSeam.h"

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
    switch (replaceThroughTemporary(path, [&](const std::string& temporary) { return writeComplete(temporary, content); })) {
    case Replacement::done:
        return true;
    case Replacement::failed:
        return false;
    case Replacement::noTemporary:
        break;
    }
    // A folder that is not ours (a profile below the program folder, with write rights on the
    // file alone): written in place, as it always was there.
    return writeComplete(path, content);
}
} // namespace

bool replaceFileContent(const std::string& path, const std::string& content) {
    if (!path.empty() && replace(path, content)) return true;
    showMessage("unable to write file '" + path + "'");
    return false;
}
