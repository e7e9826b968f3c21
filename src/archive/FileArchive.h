#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/ArchiveFileSource.h"
#include "archive/ArchiveFormat.h"
#include "platform/Handles.h"

// One ".sad" archive file: packs a folder tree into it, or unpacks it into a folder.
// For writing: construct, createArchive. For reading: construct, loadArchive, extractAll.
class CFileArchive {
  public:
    explicit CFileArchive(std::string archivePath);
    virtual ~CFileArchive() = default;
    CFileArchive(const CFileArchive&) = delete;
    CFileArchive& operator=(const CFileArchive&) = delete;

    // Writes the header and a record for every file below folder (given without a trailing "\").
    bool createArchive(const std::string& folder);
    // Appends the record of one file below the packed folder.
    bool addFile(const std::string& path);
    // Appends the records of every file below folder, depth first.
    bool collectFiles(const std::string& folder);

    // Opens the archive file for reading; the records are read from it as they are needed.
    bool loadArchive();
    // Checks every record first; writes the files below destination (ending with "\") only when
    // all of them are sound, else writes nothing and returns false. A read that fails on the way
    // ends it with false; the file being written then is removed.
    bool extractAll(const std::string& destination);
    // Writes one record's data to destination + name and advances position past the data. On
    // failure no part of the file stays.
    bool extractFile(const std::string& destination, const std::string& name, uint32_t size,
                     size_t& position);

    // The loaded content (empty before loadArchive).
    ArchiveSource& content() { return content_; }
    size_t contentSize() const { return content_.size(); }
    // Why the last extractAll refused the archive.
    const std::optional<RecordProblem>& lastProblem() const { return problem_; }

  private:
    // The archive handle to append to: the one held while packing, else opened into opened.
    HANDLE openArchiveForAppending(ScopedHandle& opened);

    std::string archivePath;
    std::string baseFolder;
    ArchiveFileSource content_;
    std::vector<char> buffer_;
    std::optional<RecordProblem> problem_;
    // While createArchive runs, the archive stays open for all its records (opening it per
    // file costs more than copying a small file).
    ScopedHandle packing_;
    bool attributesCleared_ = false;
};
