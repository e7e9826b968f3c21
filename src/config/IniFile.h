#pragma once
#include <string>

#include "config/IniDocument.h"

// A configuration document and the file it is read from and written to (enciphered).
class CIniFile {
  public:
    explicit CIniFile(std::string fileName = {});
    virtual ~CIniFile() = default;
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // Adds the content of the file. With expand, placeholders are replaced.
    bool parseIniFile(bool expand);
    // Writes the non-excluded sections to the file, enciphered. False when nothing was written.
    bool saveIniFile();
    // With an empty section name: getSectionNames.
    std::string getValue(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
    // False when the entry does not fit the limits of the file syntax (nothing is stored).
    bool setValue(const std::string& section, const std::string& key, const std::string& value);
    void markSections(const std::string& prefix) { document_.markSections(prefix); }
    void clear() { document_.clear(); }
    std::string getSectionNames() const { return document_.getSectionNames(); }

    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
    IniDocument& document() { return document_; }
    const IniDocument& document() const { return document_; }

  private:
    std::string fileName_;
    IniDocument document_;
};

// The placeholder texts of this process, read from the registry on the first expanding parse
// after the most recent construction of a CIniFile.
const PlaceholderValues& placeholderValues();
