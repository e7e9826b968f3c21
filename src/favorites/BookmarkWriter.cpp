#include "favorites/BookmarkWriter.h"

#include "favorites/BookmarkParser.h"
#include "favorites/Utf8Encoder.h"
#include "platform/Trace.h"
#include "store/NodeWalk.h"

namespace {
void appendFolderOpening(std::string& text, const std::string& name) {
    text += "<DT><H3 >";
    text += name;
    text += "</H3>\r\n<DL><p>\r\n";
}

void appendLink(std::string& text, const std::string& name, const std::string& url) {
    trace("\t URL : [%s]\n", url.c_str());
    text += "<DT><A HREF=\"";
    text += url;
    text += "\">";
    text += name;
    text += "</A>\r\n";
}

constexpr std::string_view kFolderClosing = "</DL><p>\r\n";

// What other programs expect before the outermost list; the charset makes the reader decode.
constexpr std::string_view kDocumentOpening = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                                              "<META HTTP-EQUIV=\"Content-Type\" "
                                              "CONTENT=\"text/html; charset=UTF-8\">\r\n"
                                              "<TITLE>Bookmarks</TITLE>\r\n"
                                              "<H1>Bookmarks</H1>\r\n"
                                              "<DL><p>\r\n";
} // namespace

void exportFolderToHtml(NodeStore& store, const std::string& section, std::string& text) {
    if (readNodeKind(store, section) != NodeKind::folder) return;
    forEachNode(
        store, section,
        [&](const NodeVisit& node) {
            if (node.kind == NodeKind::folder) {
                appendFolderOpening(text, node.name);
                return WalkStep::descend;
            }
            if (node.kind == NodeKind::file)
                appendLink(text, node.name, store.getNodeValue(node.section, kUrlKey));
            return WalkStep::skip;
        },
        [&](const NodeVisit&) { text += kFolderClosing; });
}

std::string buildFolderBlock(NodeStore& store, const std::string& section, const std::string& name) {
    std::string block;
    appendFolderOpening(block, name);
    exportFolderToHtml(store, section, block);
    block += kFolderClosing;
    return block;
}

std::optional<std::string> ansiToUtf8(std::string_view text, const AnsiToWide& toWide) {
    std::optional<std::u16string> units = toWide(text);
    if (!units) return std::nullopt;
    return encodeUtf8(*units);
}

std::optional<std::string> buildBookmarkDocument(NodeStore& store, const std::string& section,
                                                 const std::string& name, const AnsiToWide& toWide) {
    std::optional<std::string> block = ansiToUtf8(buildFolderBlock(store, section, name), toWide);
    if (!block) return std::nullopt;
    std::string document(kDocumentOpening);
    document += *block;
    document += kFolderClosing;
    return document;
}

long findLastListEnd(std::string_view text) {
    // "</DL><p>" cannot overlap itself, so the last match found from the front is the last one.
    size_t found = text.rfind("</DL><p>");
    return found == std::string_view::npos ? -1 : static_cast<long>(found);
}

void insertBeforeLastListEnd(std::string& text, const std::string& block) {
    long position = findLastListEnd(text);
    text.insert(position < 0 ? 0 : static_cast<size_t>(position), block);
}

bool insertFolderBlock(std::string& text, const std::string& block, const AnsiToWide& toWide) {
    if (!declaresUtf8(text)) {
        insertBeforeLastListEnd(text, block);
        return true;
    }
    std::optional<std::string> converted = ansiToUtf8(block, toWide);
    if (!converted) return false;
    insertBeforeLastListEnd(text, *converted);
    return true;
}

std::string internetShortcutContent(const std::string& url) {
    return "[InternetShortcut]\r\nURL=" + url;
}
