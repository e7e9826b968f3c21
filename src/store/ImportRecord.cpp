#include "store/ImportRecord.h"

#include <algorithm>

#include "config/Sha256.h"

namespace {
const char* const kHeader = "LastImport";

std::string valueOf(const IniDocument& document, std::string_view key) {
    const std::string* value = document.findValue(kHeader, key);
    return value ? *value : std::string();
}

bool sameEntries(const IniSection& a, const IniSection& b) {
    const auto& x = a.entries();
    const auto& y = b.entries();
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const IniEntry& l, const IniEntry& r) {
        return l.key == r.key && l.value == r.value;
    });
}

std::optional<size_t> number(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return static_cast<size_t>(std::stoul(text));
}
} // namespace

bool AffectedPart::contains(std::string_view section) const {
    if (isAtOrBelow(section, target)) return true;
    return std::any_of(lists.begin(), lists.end(),
                       [section](const std::string& list) { return equalsNoCase(section, list); });
}

void copyAffected(const IniDocument& from, const AffectedPart& part, IniDocument& to) {
    for (const auto& section : from.sections())
        if (part.contains(section->name())) copySection(*section, to);
}

std::string affectedText(const IniDocument& document, const AffectedPart& part) {
    // As IniDocument::serialize writes them, without copying the sections first.
    std::string text;
    for (const auto& section : document.sections()) {
        if (!part.contains(section->name()) || !isReadableSectionName(section->name())) continue;
        text.append("[").append(section->name()).append("]\r\n");
        for (const IniEntry& entry : section->entries())
            if (isReadableEntry(entry.key, entry.value))
                text.append(entry.key).append("=\"").append(entry.value).append("\"\r\n");
    }
    return text;
}

std::string fingerprintOf(const IniDocument& document, const AffectedPart& part,
                          const PlaceholderValues* readBack) {
    std::string text = affectedText(document, part);
    // Only a value whose first "%" starts %PERSONAL%, %APPDATA% or %CURRENTUSER% reads back otherwise.
    const bool mayExpand = text.find("%P") != std::string::npos || text.find("%A") != std::string::npos ||
                           text.find("%C") != std::string::npos;
    if (readBack && mayExpand) {
        IniDocument read;
        read.parse(text, readBack);
        text.clear();
        read.serialize(text, true);
    }
    return sha256Hex(text);
}

ImportCounts countChanges(const IniDocument& before, const IniDocument& after, const AffectedPart& part) {
    ImportCounts counts;
    for (const auto& section : after.sections()) {
        if (!isAtOrBelow(section->name(), part.target)) continue;
        const IniSection* old = before.findSection(section->name());
        if (!old)
            ++counts.added;
        else if (!sameEntries(*old, *section))
            ++counts.changed;
    }
    return counts;
}

std::string recordText(const ImportRecord& record) {
    IniDocument header;
    auto set = [&header](const std::string& key, const std::string& value) {
        header.setValue(kHeader, key, value);
    };
    set("kind", record.kind);
    set("folder", record.folder);
    set("date", record.date);
    set("target", record.part.target);
    for (size_t i = 0; i < record.part.lists.size(); ++i)
        set("list_" + std::to_string(i), record.part.lists[i]);
    set("added", std::to_string(record.counts.added));
    set("changed", std::to_string(record.counts.changed));
    set("fingerprint", record.fingerprint);
    set("unpacked", record.unpackedFolder);
    set("sections", std::to_string(record.before.sectionCount()));
    set("saved", fingerprintOf(record.before, record.part));
    std::string text;
    header.serialize(text, true);
    record.before.serialize(text, true);
    return text;
}

std::optional<ImportRecord> parseRecord(std::string_view text) {
    IniDocument document;
    document.parse(text, nullptr);
    if (document.sectionCount() == 0 || document.sections().front()->name() != kHeader) return std::nullopt;
    ImportRecord record;
    record.kind = valueOf(document, "kind");
    record.folder = valueOf(document, "folder");
    record.date = valueOf(document, "date");
    record.part.target = valueOf(document, "target");
    for (size_t i = 0;; ++i) {
        std::string list = valueOf(document, "list_" + std::to_string(i));
        if (list.empty()) break;
        record.part.lists.push_back(list);
    }
    record.fingerprint = valueOf(document, "fingerprint");
    record.unpackedFolder = valueOf(document, "unpacked");
    std::optional<size_t> added = number(valueOf(document, "added"));
    std::optional<size_t> changed = number(valueOf(document, "changed"));
    std::optional<size_t> sections = number(valueOf(document, "sections"));
    if (record.kind.empty() || record.part.target.empty() || record.fingerprint.size() != 64 || !added ||
        !changed || !sections || record.part.contains(kHeader))
        return std::nullopt;
    record.counts = {*added, *changed};
    for (size_t i = 1; i < document.sectionCount(); ++i) {
        const IniSection& section = *document.sections()[i];
        if (!record.part.contains(section.name())) return std::nullopt;
        copySection(section, record.before);
    }
    if (record.before.sectionCount() != *sections ||
        fingerprintOf(record.before, record.part) != valueOf(document, "saved"))
        return std::nullopt;
    return record;
}
