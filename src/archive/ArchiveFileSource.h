#pragma once
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "platform/Handles.h"

// An archive file read with ReadFile. A drive that fails or a file that shrinks under the reader
// (a network or removable drive) gives a failed read, where a mapped view of the file would end
// the program with an in-page error.
class ArchiveFileSource : public ArchiveSource {
  public:
    // Opens path for reading (no sharing, the file must exist) and takes its size.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return static_cast<bool>(file_); }
    size_t size() const override { return size_; }
    bool read(size_t offset, void* out, size_t length) override;

  private:
    bool readDirect(size_t offset, void* out, size_t length);
    bool fillWindow(size_t offset, size_t length);

    ScopedHandle file_;
    size_t size_ = 0;
    // The record heads are small reads close together: they come from one window of the file.
    std::vector<char> window_;
    size_t windowStart_ = 0;
};
