#include "archive/FileArchive.h"

#include <windows.h>

#include <algorithm>

#include "archive/RecordAppender.h"
#include "platform/FileSystem.h"
#include "platform/Host.h"
#include "platform/Platform.h"
#include "platform/Trace.h"

namespace {
const uint64_t kLargestRecordedFile = 0xFFFFFFFFull;
const DWORD kWriteChunk = 1 << 20;

uint32_t secondsSince1970() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    uint64_t ticks = (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<uint32_t>((ticks - 116444736000000000ull) / 10000000ull);
}

ArchiveDate localDate() {
    SYSTEMTIME today;
    GetLocalTime(&today);
    return ArchiveDate{today.wMonth, today.wDay, today.wYear};
}

ScopedHandle openExclusive(const std::string& path, DWORD access, DWORD disposition, DWORD attributes) {
    return ScopedHandle(CreateFileA(path.c_str(), access, 0, nullptr, disposition, attributes, nullptr));
}

// Sets a file's attributes to normal. Asking first is cheaper than setting them on every file.
void clearSpecialAttributes(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool isExistingFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows ANSI paths end at MAX_PATH - 1 characters.
size_t longestName(const std::string& destination) {
    return destination.size() < MAX_PATH - 1 ? MAX_PATH - 1 - destination.size() : 0;
}
} // namespace

CFileArchive::CFileArchive(std::string archivePath) : archivePath(std::move(archivePath)) {}

bool CFileArchive::createArchive(const std::string& folder) {
    baseFolder = folder + "\\";
    SetFileAttributesA(archivePath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(archivePath.c_str());
    trace("CFileArchive::createArchive (%s) as [%s]\n", folder.c_str(), archivePath.c_str());
    packing_ = openExclusive(archivePath, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN);
    attributesCleared_ = false;
    if (!packing_) {
        trace("unable to create archive file\n");
        host().tell("unable to create archive file");
        return false;
    }
    auto header = buildArchiveHeader(secondsSince1970(), localDate());
    DWORD written = 0;
    if (!WriteFile(packing_.get(), header.data(), kArchiveHeaderSize, &written, nullptr) ||
        written != kArchiveHeaderSize) {
        packing_.reset();
        host().tell("unable to write archive file");
        return false;
    }
    bool collected = collectFiles(folder);
    packing_.reset();
    return collected;
}

bool CFileArchive::collectFiles(const std::string& folder) {
    trace("collect files: '%s'\n", folder.c_str());
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileA(appendPath(folder, "*.*").c_str(), &entry));
    if (!find) return false;
    bool result = true;
    do {
        std::string path = folder + "\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!isDotEntry(entry.cFileName)) result = collectFiles(path);
        } else {
            trace("adding file: : '%s'\n", path.c_str());
            result = addFile(path);
        }
    } while (result && FindNextFileA(find.get(), &entry));
    return result;
}

// The archive is hidden until its first record; a record makes it a normal file.
HANDLE CFileArchive::openArchiveForAppending(ScopedHandle& opened) {
    if (!packing_) {
        SetFileAttributesA(archivePath.c_str(), FILE_ATTRIBUTE_NORMAL);
        opened = openExclusive(archivePath, GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
        return opened.get();
    }
    if (!attributesCleared_) {
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        attributesCleared_ = SetFileInformationByHandle(packing_.get(), FileBasicInfo, &basic, sizeof(basic));
    }
    return packing_.get();
}

bool CFileArchive::addFile(const std::string& path) {
    trace("addFile (%s)\n", path.c_str());
    clearSpecialAttributes(path);
    ScopedHandle input = openExclusive(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (!input) {
        host().tell("unable to open input file");
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(input.get(), &size)) {
        host().tell("unable to read input file");
        return false;
    }
    if (static_cast<uint64_t>(size.QuadPart) > kLargestRecordedFile) {
        host().tell("unable to add '" + path + "' to the archive: files of 4 GB or more cannot be archived");
        return false;
    }
    ScopedHandle opened;
    HANDLE archive = openArchiveForAppending(opened);
    if (!archive) {
        host().tell("unable to open archive file");
        return false;
    }
    std::string name = path.substr(std::min(baseFolder.size(), path.size()));
    switch (appendRecord(archive, input.get(), name, static_cast<uint32_t>(size.QuadPart))) {
    case AppendResult::Appended:
        return true;
    case AppendResult::ReadFailed:
        host().tell("unable to read input file");
        return false;
    case AppendResult::WriteFailed:
        host().tell("unable to write archive file");
        return false;
    }
    return false;
}

bool CFileArchive::loadArchive() {
    return content_.open(archivePath);
}

bool CFileArchive::extractAll(const std::string& destination) {
    problem_ = findArchiveProblem(content_, longestName(destination));
    if (problem_) {
        trace("refusing archive: record %d: %s\n", static_cast<int>(problem_->index),
              problem_->reason.c_str());
        return false;
    }
    ArchiveRecordReader reader(content_);
    while (std::optional<ArchiveRecord> record = reader.next()) {
        size_t position = record->dataOffset;
        if (!extractFile(destination, record->name, record->dataSize, position)) return false;
    }
    return true;
}

bool CFileArchive::extractFile(const std::string& destination, const std::string& name, uint32_t size,
                               size_t& position) {
    std::string target = destination + name;
    if (target.find('\\') == std::string::npos) return false;
    if (position > contentSize() || size > contentSize() - position) return false;
    const std::string folder = getParentPath(target);
    if (!isExistingFolder(folder)) createDirectory(folder, true);

    SECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), &descriptor, TRUE};
    if (!setNullDacl(descriptor)) {
        std::string error;
        getSystemErrorText(GetLastError(), error);
        trace("Fehler: \"%s\" beim Setzen des Security Descriptors von \"%s\"", error.c_str(),
              target.c_str());
        attributes.lpSecurityDescriptor = nullptr;
    }
    clearSpecialAttributes(target);
    ScopedHandle file(CreateFileA(target.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        std::string error;
        getSystemErrorText(GetLastError(), error);
        trace("Fehler: \"%s\" beim Erstellen der Datei \"%s\", filePos: %d fileSize: %d", error.c_str(),
              target.c_str(), static_cast<int>(position), static_cast<int>(size));
        position += size;
        return false;
    }
    if (buffer_.empty()) buffer_.resize(kWriteChunk);
    for (uint32_t left = size; left > 0;) {
        DWORD chunk = std::min<uint32_t>(left, kWriteChunk), written = 0;
        if (!content_.read(position, buffer_.data(), chunk) ||
            !WriteFile(file.get(), buffer_.data(), chunk, &written, nullptr) || written != chunk) {
            trace("Fehler beim Lesen oder Schreiben von \"%s\", filePos: %d", target.c_str(),
                  static_cast<int>(position));
            file.reset();
            DeleteFileA(target.c_str());
            return false;
        }
        position += written;
        left -= written;
    }
    return true;
}
