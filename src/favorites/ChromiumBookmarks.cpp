#include "favorites/ChromiumBookmarks.h"

#include <nlohmann/json.hpp>

#include <charconv>

#include "config/IniDocument.h"
#include "favorites/BookmarkImport.h"

namespace {
// std::map objects: inserting a key never copies the values already parsed, however deep.
using Json = nlohmann::json;

// The standard roots first, in the browser's order, then the others by name.
std::vector<std::string> rootOrder(const Json& roots) {
    std::vector<std::string> keys;
    for (const char* standard : {"bookmark_bar", "other", "synced"})
        if (roots.contains(standard)) keys.push_back(standard);
    for (const auto& [key, node] : roots.items())
        if (key != "bookmark_bar" && key != "other" && key != "synced") keys.push_back(key);
    return keys;
}

const std::string* stringMember(const Json& object, const char* name) {
    auto found = object.find(name);
    return found != object.end() && found->is_string() ? found->get_ptr<const std::string*>() : nullptr;
}

std::string_view member(const Json& object, const char* name) {
    const std::string* text = stringMember(object, name);
    return text ? std::string_view(*text) : std::string_view();
}

const Json* childrenOf(const Json& node) {
    auto found = node.find("children");
    return found != node.end() && found->is_array() ? &*found : nullptr;
}

bool isFolder(const Json& node) {
    return node.is_object() && member(node, "type") == "folder";
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::unique_ptr<BookmarkNode>& lastSlot(std::unique_ptr<BookmarkNode>& first) {
    std::unique_ptr<BookmarkNode>* slot = &first;
    while (*slot)
        slot = &(*slot)->nextSibling;
    return *slot;
}
} // namespace

ChromiumBookmarkReader::ChromiumBookmarkReader(ChromiumRootNames names, WideToAnsi toAnsi,
                                               BookmarkDateFormat formatDate)
    : names_(std::move(names)), nodes_(std::move(toAnsi), std::move(formatDate)) {}

std::string ChromiumBookmarkReader::rootName(const std::string& key, std::string_view ownName) const {
    if (key == "bookmark_bar") return names_.bookmarkBar;
    if (key == "other") return names_.other;
    if (key == "synced") return names_.synced;
    std::string name = nodes_.convert(ownName);
    sanitizeName(name);
    return name.empty() ? key : name;
}

ChromiumBookmarkReader::Root& ChromiumBookmarkReader::root(const std::string& key,
                                                           const std::string& shownName) {
    for (Root& each : roots_)
        if (each.key == key) return each;
    Root& added = roots_.emplace_back();
    added.key = key;
    added.folder = std::make_unique<BookmarkNode>(kFolderNode, shownName, "");
    return added;
}

bool ChromiumBookmarkReader::add(std::string_view text) {
    Json document = Json::parse(text.begin(), text.end(), nullptr, false);
    if (document.is_discarded() || !document.is_object()) return false;
    auto roots = document.find("roots");
    if (roots == document.end() || !roots->is_object()) return false;

    // Depth first in file order without recursion: one entry per open folder.
    struct Open {
        const Json* children;
        size_t next;
        std::unique_ptr<BookmarkNode>* tail; // where the folder's next child goes
    };
    for (const std::string& key : rootOrder(*roots)) {
        const Json& node = (*roots)[key];
        if (!isFolder(node) || lowerAscii(key).find("trash") != std::string::npos) continue;
        const Json* children = childrenOf(node);
        if (!children) continue;
        Root& target = root(key, rootName(key, member(node, "name")));
        std::vector<Open> open{{children, 0, &lastSlot(target.folder->firstChild)}};
        while (!open.empty()) {
            Open& current = open.back();
            if (current.next == current.children->size()) {
                open.pop_back();
                continue;
            }
            const Json& child = (*current.children)[current.next++];
            if (!child.is_object()) continue;
            std::string_view type = member(child, "type");
            std::string_view url = member(child, "url");
            if (type != "folder" && (type != "url" || url.empty() || isInternalPage(url))) continue;

            if (type == "url") {
                uint64_t microseconds = 0;
                std::string_view added = member(child, "date_added");
                bool dated = !added.empty() &&
                             std::from_chars(added.data(), added.data() + added.size(), microseconds).ec ==
                                 std::errc();
                *current.tail = nodes_.link({member(child, "name")}, url,
                                            dated ? std::optional<uint64_t>(microseconds) : std::nullopt);
                current.tail = &(*current.tail)->nextSibling;
                ++links_;
                continue;
            }
            std::unique_ptr<BookmarkNode> made = nodes_.folder(member(child, "name"));
            if (open.size() >= kMaxChromiumFolderDepth) {
                tooDeep_.push_back(made->name);
                continue;
            }
            *current.tail = std::move(made);
            BookmarkNode* folder = current.tail->get();
            current.tail = &folder->nextSibling;
            if (const Json* grandChildren = childrenOf(child))
                open.push_back({grandChildren, 0, &folder->firstChild});
        }
    }
    return true;
}

std::unique_ptr<BookmarkNode> ChromiumBookmarkReader::takeTree() {
    std::unique_ptr<BookmarkNode> first;
    std::unique_ptr<BookmarkNode>* tail = &first;
    for (Root& each : roots_) {
        if (!each.folder->firstChild) continue;
        *tail = std::move(each.folder);
        tail = &(*tail)->nextSibling;
    }
    roots_.clear();
    return separatedSiblings(std::move(first));
}
