#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdio>

#include "platform/Handles.h"
#include "platform/Host.h"
#include "platform/Trace.h"

namespace {
bool endsWithBackslash(const std::string& path) { return !path.empty() && path.back() == '\\'; }

bool createOneDirectory(const std::string& path, bool openAccess) {
    SECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), &descriptor, TRUE};
    bool withDacl = openAccess && setNullDacl(descriptor);
    if (!CreateDirectoryA(path.c_str(), withDacl ? &attributes : nullptr)) return false;
    trace("'%s' created\n", path.c_str());
    return true;
}
} // namespace

std::string appendPath(const std::string& directory, const std::string& name) {
    return endsWithBackslash(directory) ? directory + name : directory + "\\" + name;
}

bool isDotEntry(const char* name) {
    return (name[0] == '.' && name[1] == 0) || (name[0] == '.' && name[1] == '.' && name[2] == 0);
}

std::string getParentPath(const std::string& path) {
    size_t last = path.rfind('\\');
    return last == std::string::npos ? std::string() : path.substr(0, last);
}

bool fileExists(const std::string& path) {
    WIN32_FIND_DATAA data;
    ScopedFind find(FindFirstFileA(path.c_str(), &data));
    return static_cast<bool>(find);
}

bool isDirectory(const std::string& path) {
    WIN32_FIND_DATAA data;
    ScopedFind find(FindFirstFileA(path.c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool createDirectory(const std::string& path, bool openAccess) {
    if (createOneDirectory(path, openAccess)) return true;
    size_t last = path.rfind('\\');
    if (last == std::string::npos) return false;
    createDirectory(path.substr(0, last), openAccess);
    return createOneDirectory(path, openAccess);
}

bool deleteDirectory(const std::string& path) {
    WIN32_FIND_DATAA data;
    ScopedFind find(FindFirstFileA(appendPath(path, "*.*").c_str(), &data));
    if (!find) return false;
    bool result = true;
    do {
        std::string entry = appendPath(path, data.cFileName);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
            result = DeleteFileA(entry.c_str()) != FALSE;
        } else if (!isDotEntry(data.cFileName)) {
            result = deleteDirectory(entry);
            RemoveDirectoryA(entry.c_str());
        }
    } while (FindNextFileA(find.get(), &data));
    find.reset();
    RemoveDirectoryA(path.c_str());
    return result;
}

bool copyDirectory(const std::string& source, const std::string& destination, bool move) {
    if (!isDirectory(destination)) createDirectory(destination, false);
    WIN32_FIND_DATAA data;
    ScopedFind find(FindFirstFileA(appendPath(source, "*.*").c_str(), &data));
    if (!find) return false;
    do {
        std::string from = appendPath(source, data.cFileName);
        std::string to = appendPath(destination, data.cFileName);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (isDotEntry(data.cFileName)) continue;
            copyDirectory(from, to, move);
            if (move) deleteDirectory(from);
        } else if (move) {
            moveFile(from, to);
        } else {
            CopyFileA(from.c_str(), to.c_str(), FALSE);
        }
    } while (FindNextFileA(find.get(), &data));
    find.reset();
    if (move) deleteDirectory(source);
    return true;
}

bool moveFile(const std::string& existing, const std::string& newName) {
    if (existing.empty() || newName.empty()) return false;
    if (&existing == &newName) return true;
    std::string parent = getParentPath(newName);
    if (!parent.empty() && !isDirectory(parent)) createDirectory(parent, false);
    if (!CopyFileA(existing.c_str(), newName.c_str(), FALSE)) return false;
    return DeleteFileA(existing.c_str()) != FALSE;
}

namespace {
std::optional<std::string> readOpenedFile(const std::string& path, DWORD sharing, LONGLONG limit) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > limit) return std::nullopt;
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!content.empty() &&
        (!ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
         read != content.size()))
        return std::nullopt;
    return content;
}
} // namespace

std::optional<std::string> readWholeFile(const std::string& path) {
    return readOpenedFile(path, FILE_SHARE_READ, 0x7FFFFFF0);
}

std::optional<std::string> readFileInUse(const std::string& path, size_t limit) {
    DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    return readOpenedFile(path, sharing, static_cast<LONGLONG>(std::min<size_t>(limit, 0x7FFFFFF0)));
}

bool writeWholeFile(const std::string& path, const void* data, size_t length, bool keepExisting, bool report) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, keepExisting ? OPEN_ALWAYS : CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        if (report) host().tell("unable to write file '" + path + "'");
        return false;
    }
    if (length > 0xFFFFFFFFu) return false;
    DWORD written = 0;
    if (!WriteFile(file.get(), data, static_cast<DWORD>(length), &written, nullptr)) return false;
    return written == length;
}

bool setNullDacl(SECURITY_DESCRIPTOR& descriptor) {
    return InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
}
