#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/FlatIndex.h"

// Parser and writer limits of the configuration file syntax.
constexpr size_t kMaxIniLine = 3071;          // bytes of one line without its CR LF
constexpr size_t kMaxIniSectionName = 511;
constexpr size_t kMaxIniKey = 511;
constexpr size_t kMaxIniValue = 2559;         // also after placeholder expansion
constexpr size_t kMaxIniDocument = 1048575;   // serialised bytes (1 MiB with the terminating zero)

struct IniEntry {
    std::string key;
    std::string value;
};

// What the writer may write: only what the reader gives back as written, so that no line can end
// the parse early, hide its neighbours or land in another section.
// A section header: a name of 1 to kMaxIniSectionName bytes without "]" (it ends the name), without
// CR LF and without a zero byte (it ends the text).
bool isReadableSectionName(std::string_view name);
// An entry line: a key of 1 to kMaxIniKey bytes that begins with an ASCII letter or digit (other
// lines are skipped or, with "[", taken as headers), does not end with a blank (the reader
// removes it) and holds no "="; a value of at most kMaxIniValue bytes; neither with CR LF or a
// zero byte; the whole line within kMaxIniLine bytes.
bool isReadableEntry(std::string_view key, std::string_view value);

// ASCII case-insensitive hashing and comparison for section names.
size_t hashNoCase(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);
// Whether the section name is path itself or a section below it (path + "\" + ...), compared
// as section names compare.
bool isAtOrBelow(std::string_view name, std::string_view path);

// One section: entries in insertion order, keys compared exactly. Small sections are searched
// directly; larger ones through a hash index, so lookups stay O(1) on average.
class IniSection {
  public:
    explicit IniSection(std::string name) : name_(std::move(name)) {}
    const std::string& name() const { return name_; }
    const std::vector<IniEntry>& entries() const { return entries_; }
    const std::string* find(std::string_view key) const;
    // Replaces the value of an existing key in place, or appends a new entry.
    void set(std::string_view key, std::string_view value);

    bool excluded = false; // kept in memory and published, never written to the document's file

  private:
    std::string name_;
    std::vector<IniEntry> entries_;
    static constexpr size_t kDirectSearchLimit = 8;
    ptrdiff_t position(std::string_view key, size_t hash) const;
    FlatIndex index_; // built once the section outgrows the direct search

};

// Texts that replace %PERSONAL%, %APPDATA% and %CURRENTUSER% when values are expanded.
struct PlaceholderValues {
    std::string personal;
    std::string appData;
    std::string currentUser;
};

// Replaces the first occurrence of pattern (case-sensitive) by replacement.
std::string replacePattern(std::string_view text, std::string_view pattern, std::string_view replacement);
// Expands a value: only when its first "%" is followed by P, A or C, the three patterns are
// replaced once each, in the order %PERSONAL%, %APPDATA%, %CURRENTUSER%.
std::string expandPlaceholders(std::string_view value, const PlaceholderValues& values);

// The ordered document of one configuration file: sections in order of first appearance,
// names compared without regard to ASCII case (the first spelling is kept).
class IniDocument {
  public:
    IniDocument() = default;
    IniDocument(const IniDocument&) = delete;
    IniDocument& operator=(const IniDocument&) = delete;
    IniDocument(IniDocument&&) = default;
    IniDocument& operator=(IniDocument&&) = default;

    const IniSection* findSection(std::string_view name) const;
    IniSection* findSection(std::string_view name);
    IniSection& findOrAddSection(std::string_view name);
    const std::string* findValue(std::string_view section, std::string_view key) const;
    // Stores the value; refuses (false, nothing changed) what the reader could not read back.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the section with its entries; false when there is none. The others keep their order.
    bool removeSection(std::string_view name);
    // Replaces every section for which belongs(name) holds by the section of that name in saved,
    // or removes it when saved has none, in one pass; each replaced section keeps its place.
    // Sections of saved for which belongs holds and that the document lacks are appended in
    // saved's order. The rest of the document stays as it is.
    using SectionFilter = std::function<bool(std::string_view name)>;
    void replaceSections(const SectionFilter& belongs, const IniDocument& saved);
    // replaceSections for path and every section below it.
    void replaceSectionsBelow(std::string_view path, const IniDocument& saved);

    // Sets the excluded flag of every section whose name begins with prefix (case-sensitive).
    void markSections(std::string_view prefix);
    void clear();
    // Section names in order, separated by TAB.
    std::string getSectionNames() const;
    size_t sectionCount() const { return sections_.size(); }
    const std::vector<std::unique_ptr<IniSection>>& sections() const { return sections_; }

    // Adds the content of a configuration text (up to its first zero byte) to the document;
    // with values, placeholders are expanded. Returns the number of values stored.
    size_t parse(std::string_view text, const PlaceholderValues* values);
    // Appends "[name]\r\n" and "key=\"value\"\r\n" lines; excluded sections only when asked. A
    // section or entry the reader could not read back is left out, never written.
    void serialize(std::string& out, bool includeExcluded) const;
    // The length serialize would produce.
    size_t serializedSize(bool includeExcluded) const;

  private:
    void rebuildIndex();

    std::vector<std::unique_ptr<IniSection>> sections_;
    FlatIndex index_;
};

// A deep copy of a document (sections, entries, excluded flags), for restoring a document.
void copyDocument(const IniDocument& from, IniDocument& to);
// A deep copy of one section, appended to (or merged into) to.
void copySection(const IniSection& from, IniDocument& to);
