#include "favorites/ChromiumBookmarks.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <unordered_set>

#include "config/IniDocument.h"
#include "favorites/BookmarkImport.h"
#include "favorites/Utf8Decoder.h"

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

size_t countOf(std::string_view text, char c) {
    size_t count = 0;
    for (char each : text)
        count += each == c;
    return count;
}

// Non-ASCII bytes of a URL as %XX, for URLs the code page cannot hold.
std::string percentEncoded(std::string_view url) {
    static const char digits[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : url) {
        if (c < 0x80) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += digits[c >> 4];
            encoded += digits[c & 15];
        }
    }
    return encoded;
}

std::unique_ptr<BookmarkNode>& lastSlot(std::unique_ptr<BookmarkNode>& first) {
    std::unique_ptr<BookmarkNode>* slot = &first;
    while (*slot)
        slot = &(*slot)->nextSibling;
    return *slot;
}
} // namespace

bool isInternalPage(std::string_view url) {
    size_t colon = url.find(':');
    if (colon == std::string_view::npos) return false;
    std::string scheme = lowerAscii(url.substr(0, colon));
    for (const char* internal : {"chrome", "edge", "brave", "vivaldi", "opera", "about", "javascript"})
        if (scheme == internal) return true;
    return false;
}

std::string urlHost(std::string_view url) {
    size_t start = url.find("://");
    if (start == std::string_view::npos) return "";
    std::string_view rest = url.substr(start + 3);
    rest = rest.substr(0, rest.find_first_of("/?#"));
    size_t at = rest.rfind('@');
    if (at != std::string_view::npos) rest.remove_prefix(at + 1);
    if (!rest.empty() && rest.front() == '[') return std::string(rest.substr(0, rest.find(']') + 1));
    return std::string(rest.substr(0, rest.find(':')));
}

void separateSameNamedSiblings(BookmarkNode& root) {
    std::vector<BookmarkNode*> folders{&root};
    while (!folders.empty()) {
        BookmarkNode* folder = folders.back();
        folders.pop_back();
        std::unordered_set<std::string> taken;
        for (BookmarkNode* child = folder->firstChild.get(); child; child = child->nextSibling.get())
            taken.insert(lowerAscii(child->name));
        std::unordered_set<std::string> seen;
        for (BookmarkNode* child = folder->firstChild.get(); child; child = child->nextSibling.get()) {
            if (!seen.insert(lowerAscii(child->name)).second) {
                std::string base = child->name;
                for (int n = 2;; ++n) {
                    std::string candidate = base + " (" + std::to_string(n) + ")";
                    if (taken.insert(lowerAscii(candidate)).second) {
                        child->name = candidate;
                        seen.insert(lowerAscii(candidate));
                        break;
                    }
                }
            }
            if (child->kind == kFolderNode) folders.push_back(child);
        }
    }
}

ChromiumBookmarkReader::ChromiumBookmarkReader(ChromiumRootNames names, WideToAnsi toAnsi,
                                               BookmarkDateFormat formatDate)
    : names_(std::move(names)), toAnsi_(std::move(toAnsi)), formatDate_(std::move(formatDate)) {}

std::string ChromiumBookmarkReader::convert(std::string_view utf8) const {
    std::u16string units(utf8.size(), u'\0');
    size_t capacity = units.size();
    auto bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    if (utf8.empty() ||
        decodeUtf8(bytes, static_cast<long>(utf8.size()), units.data(), capacity) != kUtf8Success)
        return "";
    units.resize(capacity);
    std::optional<std::string> text = toAnsi_ ? toAnsi_(units) : std::nullopt;
    return text ? *text : "";
}

std::string ChromiumBookmarkReader::rootName(const std::string& key, std::string_view ownName) const {
    if (key == "bookmark_bar") return names_.bookmarkBar;
    if (key == "other") return names_.other;
    if (key == "synced") return names_.synced;
    std::string name = convert(ownName);
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

            std::string name = convert(member(child, "name"));
            sanitizeName(name);
            if (type == "url") {
                std::string ansiUrl = convert(url);
                if (ansiUrl.empty() || countOf(ansiUrl, '?') > countOf(url, '?'))
                    ansiUrl = percentEncoded(url);
                if (name.empty() || countOf(name, '?') + countOf(name, ' ') == name.size()) {
                    name = urlHost(url);
                    sanitizeName(name);
                    if (name.empty()) name = "Link";
                }
                auto link = std::make_unique<BookmarkNode>(kLinkNode, std::move(name), std::move(ansiUrl));
                uint64_t microseconds = 0;
                std::string_view added = member(child, "date_added");
                if (formatDate_ && !added.empty() &&
                    std::from_chars(added.data(), added.data() + added.size(), microseconds).ec ==
                        std::errc())
                    link->date = formatDate_(microseconds);
                *current.tail = std::move(link);
                current.tail = &(*current.tail)->nextSibling;
                ++links_;
                continue;
            }
            if (name.empty()) name = "Ordner";
            if (open.size() >= kMaxChromiumFolderDepth) {
                tooDeep_.push_back(name);
                continue;
            }
            *current.tail = std::make_unique<BookmarkNode>(kFolderNode, std::move(name), "");
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
    if (first) {
        BookmarkNode holder(kFolderNode, "", "");
        holder.firstChild = std::move(first);
        separateSameNamedSiblings(holder);
        first = std::move(holder.firstChild);
    }
    return first;
}
