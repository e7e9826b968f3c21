#include "favorites/FirefoxProfilesIni.h"

#include <algorithm>

namespace {
struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
    std::string value(std::string_view key) const {
        for (const auto& [k, v] : entries)
            if (k == key) return v;
        return "";
    }
};

std::string_view trimmed(std::string_view text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool startsWithNoCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    for (size_t i = 0; i < start.size(); ++i)
        if ((text[i] | 0x20) != (start[i] | 0x20)) return false;
    return true;
}

std::vector<Section> sectionsOf(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<Section> sections;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            sections.push_back({std::string(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string_view::npos || sections.empty()) continue;
        sections.back().entries.emplace_back(std::string(trimmed(line.substr(0, equals))),
                                             std::string(trimmed(line.substr(equals + 1))));
    }
    return sections;
}

std::string withBackslashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    while (path.size() > 1 && path.back() == '\\')
        path.pop_back();
    return path;
}

// "[Profile0]", "[Profile1]", ...
bool isProfileSection(const std::string& name) {
    return startsWithNoCase(name, "Profile") && name.size() > 7 &&
           name.find_first_not_of("0123456789", 7) == std::string::npos;
}

bool samePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() && startsWithNoCase(a, b);
}
} // namespace

std::vector<FirefoxProfileEntry> parseFirefoxProfiles(std::string_view text) {
    std::vector<Section> sections = sectionsOf(text);
    std::vector<FirefoxProfileEntry> profiles;
    std::vector<std::string> chosen; // the installations' defaults, then a Default=1 profile
    for (const Section& section : sections) {
        if (startsWithNoCase(section.name, "Install") && !section.value("Default").empty())
            chosen.push_back(withBackslashes(section.value("Default")));
        if (!isProfileSection(section.name) || section.value("Path").empty()) continue;
        FirefoxProfileEntry entry{section.value("Name"), withBackslashes(section.value("Path")),
                                  section.value("IsRelative") != "0"};
        profiles.push_back(std::move(entry));
    }
    bool installs = !chosen.empty();
    for (const Section& section : sections)
        if (!installs && isProfileSection(section.name) && section.value("Default") == "1")
            chosen.push_back(withBackslashes(section.value("Path")));

    std::vector<FirefoxProfileEntry> ordered;
    std::vector<bool> taken(profiles.size(), false);
    for (const std::string& path : chosen)
        for (size_t i = 0; i < profiles.size(); ++i)
            if (!taken[i] && samePath(profiles[i].path, path)) {
                taken[i] = true;
                ordered.push_back(profiles[i]);
            }
    for (size_t i = 0; i < profiles.size(); ++i)
        if (!taken[i]) ordered.push_back(std::move(profiles[i]));
    return ordered;
}

std::string profileFolderName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
