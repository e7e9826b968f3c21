#include "favorites/BookmarkParser.h"

#include <cstring>
#include <vector>

#include "favorites/Utf8Decoder.h"
#include "platform/Trace.h"

namespace {
constexpr std::string_view kListStart = "<DL>";
constexpr std::string_view kListEnd = "</DL>";
constexpr std::string_view kFolder = "<DT><H3";
constexpr std::string_view kLink = "<DT><A";
constexpr std::string_view kLinkTarget = "HREF=\"";

size_t findCrLf(std::string_view text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* at = begin; at < end;) {
        const void* cr = std::memchr(at, '\r', static_cast<size_t>(end - at));
        if (!cr) break;
        const char* found = static_cast<const char*>(cr);
        if (found + 1 < end && found[1] == '\n') return static_cast<size_t>(found - begin);
        at = found + 1;
    }
    return std::string_view::npos;
}

bool startsWith(std::string_view text, size_t at, std::string_view prefix) {
    return text.size() - at >= prefix.size() &&
           std::memcmp(text.data() + at, prefix.data(), prefix.size()) == 0;
}
} // namespace

int classifyLine(std::string_view line) {
    // Every marker begins with "<": one pass over the "<" of the line finds them all; the table
    // order then decides.
    bool listEnd = false, folder = false, link = false;
    const char* begin = line.data();
    const char* end = begin + line.size();
    for (const char* at = begin; at < end;) {
        const void* hit = std::memchr(at, '<', static_cast<size_t>(end - at));
        if (!hit) break;
        size_t offset = static_cast<size_t>(static_cast<const char*>(hit) - begin);
        if (startsWith(line, offset, kListStart)) return kListStartLine;
        listEnd = listEnd || startsWith(line, offset, kListEnd);
        folder = folder || startsWith(line, offset, kFolder);
        link = link || startsWith(line, offset, kLink);
        at = begin + offset + 1;
    }
    if (listEnd) return kListEndLine;
    if (folder) return kFolderLine;
    if (link) return kLinkLine;
    return kOtherLine;
}

void parseEntry(std::string_view line, int kind, EntryFields& fields) {
    if (kind == kLinkLine) {
        size_t marker = line.find(kLinkTarget);
        if (marker == std::string_view::npos) return;
        std::string_view rest = line.substr(marker + kLinkTarget.size());
        size_t quote = rest.find('"');
        fields.url.assign(rest.substr(0, quote));
        if (quote == std::string_view::npos) return;
        size_t close = rest.find('>');
        if (close == std::string_view::npos) return;
        std::string_view name = rest.substr(close + 1);
        fields.name.assign(name.substr(0, name.find("</A>")));
    } else if (kind == kFolderLine) {
        size_t marker = line.find(kFolder);
        if (marker == std::string_view::npos) return;
        std::string_view name = line.substr(marker + kFolder.size());
        size_t close = name.find('>');
        if (close == std::string_view::npos) {
            fields.name.assign(name);
            return;
        }
        name = name.substr(close + 1);
        size_t end = name.find("</H3>");
        fields.name.assign(name.substr(0, end));
        if (end == std::string_view::npos) return;
        fields.url.clear();
    }
}

bool isNetscapeBookmarkFormat(std::string_view content) {
    content = content.substr(0, content.find('\0'));
    return content.find("<DL><p>") != std::string_view::npos &&
           content.find("</DL><p>") != std::string_view::npos &&
           content.find("<DT>") != std::string_view::npos;
}

bool declaresUtf8(std::string_view content) {
    content = content.substr(0, content.find('\0'));
    return content.find("charset=UTF-8") != std::string_view::npos;
}

CBookmarkParser::CBookmarkParser(std::string filePath, WideToAnsi toAnsi)
    : filePath_(std::move(filePath)), toAnsi_(std::move(toAnsi)) {}

void CBookmarkParser::loadBuffer(std::string content) {
    if (size_t zero = content.find('\0'); zero != std::string::npos) content.resize(zero);
    buffer_ = std::move(content);
    position_ = 0;
}

std::string CBookmarkParser::getTitle() const {
    if (!rootName_.empty()) return rootName_;
    std::string_view text = unread();
    size_t open = text.find("<TITLE>");
    size_t close = text.find("</TITLE>");
    if (open == std::string_view::npos || close == std::string_view::npos) return {};
    size_t start = open + 7;
    return close < start ? std::string() : std::string(text.substr(start, close - start));
}

void CBookmarkParser::parse() {
    auto root = std::make_unique<BookmarkNode>(kFolderNode, getTitle(), std::string());
    utf8Mode_ = declaresUtf8(unread());
    parseList(*root);
    bookmarkRoot = std::move(root);
}

bool CBookmarkParser::nextLine() {
    std::string_view text = unread();
    size_t end = utf8Mode_ ? text.find('\n') : findCrLf(text);
    if (end == std::string_view::npos) return false; // an unterminated last line is never parsed
    position_ += end + (utf8Mode_ ? 1 : 2);
    line_ = text.substr(0, end);
    if (utf8Mode_) decodeLine(line_);
    return true;
}

void CBookmarkParser::decodeLine(std::string_view raw) {
    if (!toAnsi_) return;
    decoded_.resize(kDecodedLineUnits);
    size_t units = kDecodedLineUnits - 1; // room for the terminating zero
    if (decodeUtf8(reinterpret_cast<const unsigned char*>(raw.data()), static_cast<long>(raw.size()),
                   decoded_.data(), units) != kUtf8Success)
        return; // the raw line is kept
    std::optional<std::string> ansi = toAnsi_(std::u16string_view(decoded_.data(), units));
    if (!ansi) return;
    convertedLine_ = std::move(*ansi);
    line_ = convertedLine_;
}

void CBookmarkParser::parseList(BookmarkNode& root) {
    // One level per open folder; each level keeps its own work fields and its last node.
    struct Level {
        BookmarkNode* parent;
        BookmarkNode* last;
        EntryFields fields;
    };
    std::vector<Level> levels;
    levels.push_back({&root, nullptr, {}});
    while (!levels.empty() && nextLine()) {
        Level& level = levels.back();
        int kind = classifyLine(line_);
        level.fields.url.clear();
        parseEntry(line_, kind, level.fields);
        if (kind == kListEndLine) {
            levels.pop_back(); // at the outermost level this ends the parse
        } else if (kind == kFolderLine || kind == kLinkLine) {
            auto node = std::make_unique<BookmarkNode>(kind, level.fields.name,
                                                       kind == kLinkLine ? level.fields.url : std::string());
            BookmarkNode* added = node.get();
            if (!level.parent->firstChild)
                level.parent->firstChild = std::move(node);
            else
                level.last->nextSibling = std::move(node);
            level.last = added;
            if (kind == kFolderLine) levels.push_back({added, nullptr, {}});
        }
    }
}

namespace {
template <typename Visit> void walkTree(const BookmarkNode* node, Visit visit) {
    std::vector<std::pair<const BookmarkNode*, int>> pending;
    if (node) pending.push_back({node, 0});
    while (!pending.empty()) {
        auto [current, depth] = pending.back();
        pending.pop_back();
        visit(*current, depth);
        if (current->nextSibling) pending.push_back({current->nextSibling.get(), depth});
        if (current->firstChild) pending.push_back({current->firstChild.get(), depth + 1});
    }
}
} // namespace

void dumpTree(const BookmarkNode* node) {
    walkTree(node, [](const BookmarkNode& current, int) {
        trace("%s [%s] [%s]\n", current.kind == kFolderNode ? "FOLDER" : "LINK", current.name.c_str(),
              current.url.c_str());
    });
}

std::string formatTree(const BookmarkNode& root) {
    std::string text;
    walkTree(&root, [&text](const BookmarkNode& current, int depth) {
        text.append(static_cast<size_t>(depth) * 2, ' ');
        text += current.kind == kFolderNode ? "FOLDER" : "LINK";
        text += " [" + current.name + "] [" + current.url + "]\r\n";
    });
    return text;
}
