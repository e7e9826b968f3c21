#include "archive/ArchiveFileSource.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {
const size_t kWindowSize = 4096;
const DWORD kLargestRead = 1u << 30;
} // namespace

bool ArchiveFileSource::open(const std::string& path) {
    close();
    file_.reset(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file_ || !GetFileSizeEx(file_.get(), &size) || static_cast<uint64_t>(size.QuadPart) > SIZE_MAX) {
        close();
        return false;
    }
    size_ = static_cast<size_t>(size.QuadPart);
    return true;
}

void ArchiveFileSource::close() {
    file_.reset();
    size_ = 0;
    window_.clear();
    windowStart_ = 0;
}

bool ArchiveFileSource::read(size_t offset, void* out, size_t length) {
    if (offset > size_ || length > size_ - offset) return false;
    if (length == 0) return true;
    if (length > kWindowSize / 2) return readDirect(offset, out, length);
    if (offset < windowStart_ || offset - windowStart_ + length > window_.size()) {
        if (!fillWindow(offset, std::min(kWindowSize, size_ - offset))) return false;
    }
    std::memcpy(out, window_.data() + (offset - windowStart_), length);
    return true;
}

bool ArchiveFileSource::fillWindow(size_t offset, size_t length) {
    window_.resize(length);
    if (readDirect(offset, window_.data(), length)) {
        windowStart_ = offset;
        return true;
    }
    window_.clear();
    return false;
}

// A read that delivers fewer bytes than asked for is a failure too: the file became shorter.
bool ArchiveFileSource::readDirect(size_t offset, void* out, size_t length) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!file_ || !SetFilePointerEx(file_.get(), position, nullptr, FILE_BEGIN)) return false;
    char* next = static_cast<char*>(out);
    for (size_t left = length; left > 0;) {
        DWORD wanted = static_cast<DWORD>(std::min<size_t>(left, kLargestRead)), read = 0;
        if (!ReadFile(file_.get(), next, wanted, &read, nullptr) || read == 0) return false;
        next += read;
        left -= read;
    }
    return true;
}
