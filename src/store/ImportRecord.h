#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/IniDocument.h"

// What it takes to undo an import exactly: the part of the store tree the import changed, as it
// was before, and a fingerprint of that part right after it.

// The part of a store tree that an import changes: the section of its target folder with every
// section below it, and the sections that list the target (its parent; the root section where
// an import may list the target there).
struct AffectedPart {
    std::string target;
    std::vector<std::string> lists;
    bool contains(std::string_view section) const;
};

// Copies the sections of from that belong to part into to, in from's order.
void copyAffected(const IniDocument& from, const AffectedPart& part, IniDocument& to);
// The part's sections in the file syntax, in the document's order.
std::string affectedText(const IniDocument& document, const AffectedPart& part);
// SHA-256 of affectedText as 64 hexadecimal digits. With readBack, of the text as a program
// that reads it with these placeholder texts gets it back (for a document not yet published).
std::string fingerprintOf(const IniDocument& document, const AffectedPart& part,
                          const PlaceholderValues* readBack = nullptr);

struct ImportCounts {
    size_t added = 0;   // sections at or below the target that the import created
    size_t changed = 0; // sections at or below the target whose entries it changed
};
ImportCounts countChanges(const IniDocument& before, const IniDocument& after, const AffectedPart& part);

// The record of the last import of a kind.
struct ImportRecord {
    std::string kind;   // "favorites" or "archive"
    std::string folder; // the target as the wizard names it, below the root (Favoriten\News)
    std::string date;   // local date and time of the import, "dd.mm.yyyy hh:mm"
    AffectedPart part;
    ImportCounts counts;
    std::string fingerprint;    // of the affected part right after the import
    std::string unpackedFolder; // archive imports: the folder the pages were unpacked to
    IniDocument before;         // the affected sections before the import
};

// The record as a configuration text: a section "LastImport" with the record's values, then the
// saved sections.
std::string recordText(const ImportRecord& record);
// nullopt when text is not a complete record: a missing value, a saved section outside the part,
// or saved sections that are not those written (a cut or damaged file).
std::optional<ImportRecord> parseRecord(std::string_view text);
