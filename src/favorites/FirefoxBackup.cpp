#include "favorites/FirefoxBackup.h"

#include <lz4.h>
#include <nlohmann/json.hpp>

#include <cstdint>

namespace {
using Json = nlohmann::json;

constexpr std::string_view kMagic{"mozLz40\0", 8};
constexpr size_t kHeader = 12;

// The guids of the roots by their names in backups.
struct RootGuid {
    const char* root;
    const char* guid;
};
constexpr RootGuid kRootGuids[] = {
    {"placesRoot", "root________"},    {"bookmarksMenuFolder", "menu________"},
    {"toolbarFolder", "toolbar_____"}, {"unfiledBookmarksFolder", "unfiled_____"},
    {"mobileFolder", "mobile______"},  {"tagsFolder", "tags________"},
};

std::string stringMember(const Json& object, const char* name) {
    auto found = object.find(name);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

int64_t numberMember(const Json& object, const char* name) {
    auto found = object.find(name);
    if (found == object.end()) return 0;
    if (found->is_number_integer()) return found->get<int64_t>();
    if (found->is_number_unsigned()) return static_cast<int64_t>(found->get<uint64_t>() & INT64_MAX);
    return 0;
}

int typeOf(const std::string& type) {
    if (type == "text/x-moz-place") return kPlacesBookmark;
    if (type == "text/x-moz-place-container") return kPlacesFolder;
    if (type == "text/x-moz-place-separator") return kPlacesSeparator;
    return 0;
}

std::string guidOf(const Json& node) {
    std::string root = stringMember(node, "root");
    for (const RootGuid& each : kRootGuids)
        if (root == each.root) return each.guid;
    return stringMember(node, "guid");
}

const Json* childrenOf(const Json& node) {
    auto found = node.find("children");
    return found != node.end() && found->is_array() ? &*found : nullptr;
}

bool isDigits(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return !text.empty();
}

bool endsWithNoCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) return false;
    for (size_t i = 0; i < end.size(); ++i)
        if ((text[text.size() - end.size() + i] | 0x20) != (end[i] | 0x20)) return false;
    return true;
}
} // namespace

BackupText unpackJsonLz4(std::string_view file) {
    BackupText result;
    if (file.size() < kHeader || file.substr(0, kMagic.size()) != kMagic) {
        result.error = "keine Lesezeichen-Sicherung";
        return result;
    }
    const auto* size = reinterpret_cast<const unsigned char*>(file.data() + kMagic.size());
    const uint32_t expected = size[0] | size[1] << 8 | size[2] << 16 | static_cast<uint32_t>(size[3]) << 24;
    if (expected > kMaxBackupJson || file.size() > kMaxBackupFile) {
        result.error = "Sicherung zu gro\xDF";
        return result;
    }
    std::string json(expected, '\0');
    const int unpacked =
        LZ4_decompress_safe(file.data() + kHeader, json.data(), static_cast<int>(file.size() - kHeader),
                            static_cast<int>(expected));
    if (unpacked < 0)
        result.error = "Sicherung besch\xE4\x64igt (LZ4-Daten fehlerhaft oder l\xE4nger als " +
                       std::to_string(expected) + " Bytes)";
    else if (static_cast<uint32_t>(unpacked) != expected)
        result.error = "Sicherung besch\xE4\x64igt (" + std::to_string(unpacked) + " statt " +
                       std::to_string(expected) + " Bytes)";
    else
        result.json = std::move(json);
    return result;
}

std::optional<std::vector<PlacesRow>> backupRows(std::string_view json) {
    Json document = Json::parse(json.begin(), json.end(), nullptr, false);
    if (document.is_discarded() || !document.is_object() ||
        typeOf(stringMember(document, "type")) != kPlacesFolder)
        return std::nullopt;
    std::vector<PlacesRow> rows;
    PlacesRow top;
    top.id = 1;
    top.type = kPlacesFolder;
    top.guid = guidOf(document);
    rows.push_back(top);
    // Depth first without recursion: one entry per open container.
    struct Open {
        const Json* children;
        size_t next;
        int64_t parent;
    };
    std::vector<Open> open;
    if (const Json* children = childrenOf(document)) open.push_back({children, 0, top.id});
    while (!open.empty()) {
        Open& current = open.back();
        if (current.next == current.children->size()) {
            open.pop_back();
            continue;
        }
        const size_t position = current.next++;
        const Json& node = (*current.children)[position];
        if (!node.is_object()) continue;
        PlacesRow row;
        row.id = static_cast<int64_t>(rows.size()) + 1;
        row.parent = current.parent;
        row.position = static_cast<int64_t>(position);
        row.type = typeOf(stringMember(node, "type"));
        row.title = stringMember(node, "title");
        row.guid = guidOf(node);
        row.url = stringMember(node, "uri");
        row.dateAdded = numberMember(node, "dateAdded");
        rows.push_back(std::move(row));
        if (rows.back().type == kPlacesFolder)
            if (const Json* children = childrenOf(node)) open.push_back({children, 0, rows.back().id});
    }
    return rows;
}

std::string backupDate(std::string_view fileName) {
    constexpr std::string_view prefix = "bookmarks-";
    if (fileName.size() < prefix.size() + 11 || !endsWithNoCase(fileName, ".jsonlz4") ||
        !endsWithNoCase(fileName.substr(0, prefix.size()), prefix))
        return "";
    std::string_view date = fileName.substr(prefix.size(), 10);
    if (!isDigits(date.substr(0, 4)) || date[4] != '-' || !isDigits(date.substr(5, 2)) || date[7] != '-' ||
        !isDigits(date.substr(8, 2)) || fileName[prefix.size() + 10] != '_')
        return "";
    const int month = std::stoi(std::string(date.substr(5, 2))),
              day = std::stoi(std::string(date.substr(8, 2)));
    if (month < 1 || month > 12 || day < 1 || day > 31) return "";
    return std::string(date);
}

std::string newestBackup(const std::vector<std::string>& fileNames) {
    std::string newest, newestDate;
    for (const std::string& name : fileNames) {
        std::string date = backupDate(name);
        if (date.empty()) continue;
        if (newest.empty() || date > newestDate || (date == newestDate && name > newest)) {
            newest = name;
            newestDate = date;
        }
    }
    return newest;
}

std::string germanDate(std::string_view isoDate) {
    if (isoDate.size() != 10) return std::string(isoDate);
    return std::string(isoDate.substr(8, 2)) + "." + std::string(isoDate.substr(5, 2)) + "." +
           std::string(isoDate.substr(0, 4));
}
