#pragma once
#include <optional>
#include <string>

#include "store/ImportRecord.h"

class SharedStore;

// Undo of the last import of each kind. Every import records, beside the per-user file and
// enciphered like it, what the part of the store it changed was before and a fingerprint of that
// part right after it. Undo puts the part back in one batch through the shared store, once, and
// only while nobody has changed the part since.

enum class ImportKind { favorites, archive };

// "favorites" or "archive".
const char* importKindName(ImportKind kind);
// Where the record of the kind's last import lives: beside the per-user file; "" when the suite
// has no current user.
std::string lastImportPath(ImportKind kind);

// Made by an import right after it opened its batch, before it changes the store: holds the part
// of the store below the target folder (a path below the kind's root, as the wizard gives it) as
// it is. keep() after the batch was committed and the store saved makes the import the last one;
// an import that fails or is refused never calls it, so the previous record stays.
class ImportUndoCapture {
  public:
    ImportUndoCapture(SharedStore& store, ImportKind kind, const std::string& folder);
    // unpackedFolder: where an archive import unpacked its pages.
    void keep(const std::string& unpackedFolder = {});

  private:
    SharedStore& store_;
    ImportKind kind_;
    ImportRecord record_;
};

// The record of the last import of the kind, when there is a readable one.
std::optional<ImportRecord> readLastImport(ImportKind kind);
// Whether the store's part of the record is still as the import left it.
bool isUnchangedSinceImport(SharedStore& store, const ImportRecord& record);

struct UndoResult {
    enum Outcome { done, nothingToUndo, refused, failed };
    Outcome outcome = failed;
    std::string why;            // for everything but done
    std::string folder;         // the import's target folder
    std::string unpackedFolder; // done: the folder an undone archive import unpacked into
};
// Puts the part of the store back as it was before the last import of the kind, in one batch,
// publishes and saves it, and forgets the record. Refused (nothing changes) when the part has
// changed since the import.
UndoResult undoLastImport(SharedStore& store, ImportKind kind);

// "folder", "date", "added", "changed" and (archive) "unpacked" lines for a record, and whether
// undo would go ahead.
std::string describeLastImport(SharedStore& store, const ImportRecord& record);
