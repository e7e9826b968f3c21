#include "config/IniDocument.h"

#include <utility>


namespace {
unsigned char asciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
bool isAsciiAlnum(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
} // namespace

namespace {
bool holdsLineBreakOrZero(std::string_view text) {
    return text.find("\r\n") != std::string_view::npos || text.find('\0') != std::string_view::npos;
}
} // namespace

bool isReadableSectionName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxIniSectionName && name.find(']') == std::string_view::npos &&
           !holdsLineBreakOrZero(name);
}

bool isReadableEntry(std::string_view key, std::string_view value) {
    return !key.empty() && key.size() <= kMaxIniKey && isAsciiAlnum(static_cast<unsigned char>(key[0])) &&
           key.back() != ' ' && key.find('=') == std::string_view::npos && value.size() <= kMaxIniValue &&
           key.size() + value.size() + 3 <= kMaxIniLine && !holdsLineBreakOrZero(key) && !holdsLineBreakOrZero(value);
}

size_t hashNoCase(std::string_view text) {
    size_t hash = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : text) {
        hash ^= asciiLower(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiLower(static_cast<unsigned char>(a[i])) != asciiLower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool isAtOrBelow(std::string_view name, std::string_view path) {
    if (name.size() == path.size()) return equalsNoCase(name, path);
    return name.size() > path.size() && name[path.size()] == '\\' &&
           equalsNoCase(name.substr(0, path.size()), path);
}

namespace {
size_t hashExact(std::string_view text) { return std::hash<std::string_view>{}(text); }
} // namespace

ptrdiff_t IniSection::position(std::string_view key, size_t hash) const {
    if (index_.empty()) {
        for (size_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].key == key) return static_cast<ptrdiff_t>(i);
        return -1;
    }
    return index_.find(hash, [&](size_t i) { return entries_[i].key == key; });
}

const std::string* IniSection::find(std::string_view key) const {
    ptrdiff_t at = position(key, index_.empty() ? 0 : hashExact(key));
    return at < 0 ? nullptr : &entries_[at].value;
}

void IniSection::set(std::string_view key, std::string_view value) {
    const size_t hash = hashExact(key);
    ptrdiff_t at = position(key, hash);
    if (at >= 0) {
        entries_[at].value.assign(value);
        return;
    }
    entries_.push_back(IniEntry{std::string(key), std::string(value)});
    if (!index_.empty()) {
        index_.insert(hash, entries_.size() - 1);
    } else if (entries_.size() > kDirectSearchLimit) {
        for (size_t i = 0; i < entries_.size(); ++i) index_.insert(hashExact(entries_[i].key), i);
    }
}

std::string replacePattern(std::string_view text, std::string_view pattern, std::string_view replacement) {
    size_t at = pattern.empty() ? std::string_view::npos : text.find(pattern);
    if (at == std::string_view::npos) return std::string(text);
    std::string result;
    result.reserve(text.size() - pattern.size() + replacement.size());
    result.append(text.substr(0, at)).append(replacement).append(text.substr(at + pattern.size()));
    return result;
}

std::string expandPlaceholders(std::string_view value, const PlaceholderValues& values) {
    size_t percent = value.find('%');
    if (percent == std::string_view::npos || percent + 1 >= value.size()) return std::string(value);
    char next = value[percent + 1];
    if (next != 'P' && next != 'A' && next != 'C') return std::string(value);
    std::string result = replacePattern(value, "%PERSONAL%", values.personal);
    result = replacePattern(result, "%APPDATA%", values.appData);
    return replacePattern(result, "%CURRENTUSER%", values.currentUser);
}

const IniSection* IniDocument::findSection(std::string_view name) const {
    ptrdiff_t at = index_.find(hashNoCase(name), [&](size_t i) { return equalsNoCase(sections_[i]->name(), name); });
    return at < 0 ? nullptr : sections_[at].get();
}

IniSection* IniDocument::findSection(std::string_view name) {
    return const_cast<IniSection*>(std::as_const(*this).findSection(name));
}

IniSection& IniDocument::findOrAddSection(std::string_view name) {
    if (IniSection* section = findSection(name)) return *section;
    sections_.push_back(std::make_unique<IniSection>(std::string(name)));
    index_.insert(hashNoCase(name), sections_.size() - 1);
    return *sections_.back();
}

const std::string* IniDocument::findValue(std::string_view section, std::string_view key) const {
    const IniSection* found = findSection(section);
    return found ? found->find(key) : nullptr;
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!isReadableSectionName(section) || !isReadableEntry(key, value)) return false;
    findOrAddSection(section).set(key, value);
    return true;
}

bool IniDocument::removeSection(std::string_view name) {
    if (!findSection(name)) return false;
    replaceSections([name](std::string_view candidate) { return equalsNoCase(candidate, name); },
                    IniDocument());
    return true;
}

void IniDocument::replaceSections(const SectionFilter& belongs, const IniDocument& saved) {
    std::vector<std::unique_ptr<IniSection>> kept;
    kept.reserve(sections_.size());
    for (auto& section : sections_) {
        if (!belongs(section->name())) {
            kept.push_back(std::move(section));
        } else if (const IniSection* replacement = saved.findSection(section->name())) {
            auto copy = std::make_unique<IniSection>(replacement->name());
            copy->excluded = replacement->excluded;
            for (const IniEntry& entry : replacement->entries())
                copy->set(entry.key, entry.value);
            kept.push_back(std::move(copy));
        }
    }
    sections_ = std::move(kept);
    rebuildIndex();
    for (const auto& section : saved.sections())
        if (belongs(section->name()) && !findSection(section->name())) copySection(*section, *this);
}

void IniDocument::replaceSectionsBelow(std::string_view path, const IniDocument& saved) {
    replaceSections([path](std::string_view name) { return isAtOrBelow(name, path); }, saved);
}

void IniDocument::rebuildIndex() {
    index_.clear();
    for (size_t i = 0; i < sections_.size(); ++i)
        index_.insert(hashNoCase(sections_[i]->name()), i);
}

void IniDocument::markSections(std::string_view prefix) {
    for (auto& section : sections_)
        if (section->name().compare(0, prefix.size(), prefix) == 0) section->excluded = true;
}

void IniDocument::clear() {
    index_.clear();
    sections_.clear();
}

std::string IniDocument::getSectionNames() const {
    std::string names;
    for (const auto& section : sections_) {
        if (!names.empty()) names += '\t';
        names += section->name();
    }
    return names;
}

namespace {
// One line of the syntax: a header, an entry or nothing.
struct LineParser {
    IniDocument& document;
    const PlaceholderValues* values;
    IniSection* current = nullptr;
    size_t stored = 0;

    void header(std::string_view line) {
        size_t close = line.find(']');
        if (close == std::string_view::npos || close == 1) return; // no "]" or empty name
        std::string_view name = line.substr(1, close - 1);
        // An over-long name must not let the following entries land in the previous section.
        current = name.size() > kMaxIniSectionName ? nullptr : &document.findOrAddSection(name);
    }

    void entry(std::string_view line) {
        if (!current) return;
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) return;
        std::string_view key = line.substr(0, equals);
        while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
        if (key.empty() || key.size() > kMaxIniKey) return;
        size_t open = line.find('"', equals + 1);
        size_t close = line.rfind('"');
        if (open == std::string_view::npos || close == open) return;
        std::string_view raw = line.substr(open + 1, close - open - 1);
        if (raw.size() > kMaxIniValue) return;
        if (values) {
            std::string expanded = expandPlaceholders(raw, *values);
            if (expanded.size() > kMaxIniValue) return;
            current->set(key, expanded);
        } else {
            current->set(key, raw);
        }
        ++stored;
    }

    void line(std::string_view text) {
        if (text.empty()) return;
        unsigned char first = static_cast<unsigned char>(text[0]);
        if (first == '[')
            header(text);
        else if (isAsciiAlnum(first))
            entry(text);
    }
};
} // namespace

size_t IniDocument::parse(std::string_view text, const PlaceholderValues* values) {
    if (size_t zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
    LineParser parser{*this, values};
    size_t position = 0;
    while (position < text.size()) {
        size_t end = text.find("\r\n", position);
        size_t next = end == std::string_view::npos ? text.size() : end + 2;
        if (end == std::string_view::npos) end = text.size();
        if (end - position > kMaxIniLine) break; // an over-long line ends the parse
        parser.line(text.substr(position, end - position));
        position = next;
    }
    return parser.stored;
}

namespace {
// The writer's last line of defence: setValue refuses such content already, but nothing that
// came in another way may ever be written where the reader would stop or misread.
template <typename Visit> void forEachWritten(const std::vector<std::unique_ptr<IniSection>>& sections,
                                              bool includeExcluded, Visit visit) {
    for (const auto& section : sections) {
        if ((section->excluded && !includeExcluded) || !isReadableSectionName(section->name())) continue;
        visit(section->name(), nullptr);
        for (const IniEntry& entry : section->entries())
            if (isReadableEntry(entry.key, entry.value)) visit(section->name(), &entry);
    }
}
} // namespace

void IniDocument::serialize(std::string& out, bool includeExcluded) const {
    out.reserve(out.size() + serializedSize(includeExcluded));
    forEachWritten(sections_, includeExcluded, [&out](const std::string& name, const IniEntry* entry) {
        if (!entry)
            out.append("[").append(name).append("]\r\n");
        else
            out.append(entry->key).append("=\"").append(entry->value).append("\"\r\n");
    });
}

size_t IniDocument::serializedSize(bool includeExcluded) const {
    size_t size = 0;
    forEachWritten(sections_, includeExcluded, [&size](const std::string& name, const IniEntry* entry) {
        size += entry ? entry->key.size() + entry->value.size() + 5 : name.size() + 4;
    });
    return size;
}

void copyDocument(const IniDocument& from, IniDocument& to) {
    to.clear();
    for (const auto& section : from.sections())
        copySection(*section, to);
}

void copySection(const IniSection& from, IniDocument& to) {
    IniSection& copy = to.findOrAddSection(from.name());
    copy.excluded = from.excluded;
    for (const IniEntry& entry : from.entries())
        copy.set(entry.key, entry.value);
}
