#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "favorites/BookmarkNode.h"

// Kinds of a bookmark file line, decided by the first marker of the table that occurs in it.
enum BookmarkLineKind : int {
    kOtherLine = -1,
    kListStartLine = 0, // "<DL>"
    kFolderLine = 1,    // "<DT><H3"
    kLinkLine = 2,      // "<DT><A"
    kListEndLine = 4,   // "</DL>"
};

// The largest bookmark file the reader takes. The store holds at most 1 MiB of text, some ten
// thousand links; even with an icon of several kilobytes on each link, no file that the store
// could take is larger. A larger file is refused before it is read.
constexpr unsigned long long kMaxBookmarkFileSize = 64ull << 20;

// UTF-16 units of one decoded line, the terminating zero included.
constexpr size_t kDecodedLineUnits = 2560;

// The conversion of a decoded line to the ANSI code page; nullopt when it fails.
using WideToAnsi = std::function<std::optional<std::string>(std::u16string_view)>;

// The work fields that parseEntry fills from one line.
struct EntryFields {
    std::string name;
    std::string url;
};

int classifyLine(std::string_view line);
// Extracts the name (and for links the URL) of a folder or link line step by step; it stops at
// the first step that fails and keeps what was assigned before.
void parseEntry(std::string_view line, int kind, EntryFields& fields);
// The format test for files chosen by the user: "<DL><p>", "</DL><p>" and "<DT>" all occur
// (the content counts up to its first zero byte).
bool isNetscapeBookmarkFormat(std::string_view content);
// Whether a file's content declares UTF-8 ("charset=UTF-8" before its first zero byte): the reader
// then takes it as UTF-8 with LF line ends.
bool declaresUtf8(std::string_view content);

// Reader of Netscape bookmark files: splits the file into lines, recognises folder, link and
// list end lines by their markers and builds the tree of folders and links.
class CBookmarkParser {
  public:
    explicit CBookmarkParser(std::string filePath, WideToAnsi toAnsi = {});
    void setRootName(std::string name) { rootName_ = std::move(name); }
    // Reads the whole file into the buffer; without a conversion given at construction, the
    // platform's ANSI conversion is used. False when the file cannot be read or is larger than
    // kMaxBookmarkFileSize. Windows only.
    bool loadFile();
    // Takes content as the buffer; the text ends at its first zero byte.
    void loadBuffer(std::string content);
    // Builds the tree below bookmarkRoot, consuming the buffer.
    void parse();
    std::string getTitle() const;
    bool isUtf8Mode() const { return utf8Mode_; }
    const std::string& filePath() const { return filePath_; }

    std::unique_ptr<BookmarkNode> bookmarkRoot;

  private:
    std::string_view unread() const { return std::string_view(buffer_).substr(position_); }
    bool nextLine();
    void decodeLine(std::string_view raw);
    void parseList(BookmarkNode& root);

    std::string filePath_;
    std::string rootName_;
    std::string buffer_;
    size_t position_ = 0;
    bool utf8Mode_ = false;
    WideToAnsi toAnsi_;
    std::string_view line_;
    std::string convertedLine_;
    std::u16string decoded_;
};

// Writes the debug trace of a subtree.
void dumpTree(const BookmarkNode* node);
// The tree as text, depth first, one node a line: two blanks per depth (the given node at depth
// 0), "FOLDER" or "LINK", " [" name "] [" URL "]" and CR LF.
std::string formatTree(const BookmarkNode& root);
