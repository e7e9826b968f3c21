#include "favorites/BrowserNodes.h"

#include <unordered_set>
#include <vector>

#include "favorites/BookmarkImport.h"
#include "favorites/Utf8Decoder.h"

namespace {
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

// A name that says nothing: only the code page's "?" for unconvertible characters and blanks.
bool isUsableName(const std::string& name) {
    return !name.empty() && countOf(name, '?') + countOf(name, ' ') != name.size();
}
} // namespace

BrowserNodeMaker::BrowserNodeMaker(WideToAnsi toAnsi, BookmarkDateFormat formatDate)
    : toAnsi_(std::move(toAnsi)), formatDate_(std::move(formatDate)) {}

std::string BrowserNodeMaker::convert(std::string_view utf8) const {
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

std::unique_ptr<BookmarkNode> BrowserNodeMaker::folder(std::string_view name) const {
    std::string ansi = convert(name);
    sanitizeName(ansi);
    return std::make_unique<BookmarkNode>(kFolderNode, ansi.empty() ? "Ordner" : std::move(ansi), "");
}

std::unique_ptr<BookmarkNode> BrowserNodeMaker::link(std::initializer_list<std::string_view> titles,
                                                     std::string_view url,
                                                     std::optional<uint64_t> added) const {
    std::string name;
    for (std::string_view title : titles) {
        name = convert(title);
        sanitizeName(name);
        if (isUsableName(name)) break;
    }
    if (!isUsableName(name)) {
        name = urlHost(url);
        sanitizeName(name);
        if (name.empty()) name = "Link";
    }
    std::string ansiUrl = convert(url);
    if (ansiUrl.empty() || countOf(ansiUrl, '?') > countOf(url, '?')) ansiUrl = percentEncoded(url);
    auto node = std::make_unique<BookmarkNode>(kLinkNode, std::move(name), std::move(ansiUrl));
    if (added && formatDate_) node->date = formatDate_(*added);
    return node;
}

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

std::unique_ptr<BookmarkNode> separatedSiblings(std::unique_ptr<BookmarkNode> first) {
    if (!first) return first;
    BookmarkNode holder(kFolderNode, "", "");
    holder.firstChild = std::move(first);
    separateSameNamedSiblings(holder);
    return std::move(holder.firstChild);
}
