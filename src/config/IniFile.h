#pragma once
#include <cstdint>
#include <string>

#include "config/IniDocument.h"

// A configuration document bound to a file and, while the shared store is open, to the shared
// mapping: it reloads when another process has published a newer generation and publishes
// its own changes, unless it is held (hold count above 0).
class CIniFile {
  public:
    explicit CIniFile(std::string fileName = {});
    virtual ~CIniFile() = default;
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // Adds the content of the file (fromMapping false; the document becomes detached) or of the
    // shared mapping's text (fromMapping true). With expand, placeholders are replaced.
    bool parseIniFile(bool fromMapping, bool expand);
    // Writes the non-excluded sections to the file, enciphered. False when nothing was written.
    bool saveIniFile();
    // With an empty section name: getSectionNames.
    std::string getValue(const std::string& section, const std::string& key, const std::string& defaultValue);
    // Stores the value and publishes. False when the entry does not fit the limits of the file
    // syntax (nothing is stored) or the publication was refused.
    bool setValue(const std::string& section, const std::string& key, const std::string& value);
    // Removes a section, or replaces the sections below path by those of saved
    // (IniDocument::replaceSectionsBelow), then publishes as setValue does: inside a batch the
    // change goes out with the batch's publication. Other programs reload the whole text.
    bool removeSection(const std::string& name);
    bool replaceSectionsBelow(const std::string& path, const IniDocument& saved);
    bool replaceSections(const IniDocument::SectionFilter& belongs, const IniDocument& saved);
    void markSections(const std::string& prefix) { document_.markSections(prefix); }
    void clear() { document_.clear(); }
    std::string getSectionNames() const { return document_.getSectionNames(); }

    // Store protocol.
    void refresh();
    bool publish(); // false when the text did not fit the mapping

    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
    int holdCount = 0;
    int32_t generationSeen = -1;
    IniDocument& document() { return document_; }
    const IniDocument& document() const { return document_; }

  private:
    std::string fileName_;
    IniDocument document_;
};

// The placeholder texts of this process, read from the registry on the first expanding parse
// after the most recent construction of a CIniFile.
const PlaceholderValues& placeholderValues();
