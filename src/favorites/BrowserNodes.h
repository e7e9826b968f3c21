#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "favorites/BookmarkNode.h"
#include "favorites/BookmarkParser.h"

// The pieces every reader of another browser's bookmarks shares: UTF-8 texts become the store's
// ANSI texts, links get a usable name, same-named siblings are kept apart.

// A date given as microseconds since 1601-01-01 UTC, in the store's date format.
using BookmarkDateFormat = std::function<std::string(uint64_t microseconds)>;

// Microseconds from 1601-01-01 to 1970-01-01, for browsers that count from 1970.
constexpr uint64_t kMicrosecondsFrom1601To1970 = 11'644'473'600'000'000ull;
// Folders below this depth cannot be named in the store (two bytes per level at the least).
constexpr size_t kMaxBrowserFolderDepth = 255;

class BrowserNodeMaker {
  public:
    BrowserNodeMaker(WideToAnsi toAnsi, BookmarkDateFormat formatDate);

    // The text in the ANSI code page, or "" when it is not valid UTF-8 or cannot be converted.
    std::string convert(std::string_view utf8) const;
    // A folder named after the UTF-8 name, cleaned for the store; "Ordner" when nothing is left.
    std::unique_ptr<BookmarkNode> folder(std::string_view name) const;
    // A link named by the first of the UTF-8 titles that converts to a usable name, else by the
    // URL's host, else "Link". The URL becomes ANSI, or %XX-encoded where the code page cannot
    // hold it. The date (microseconds since 1601), when given, becomes the link's own date.
    std::unique_ptr<BookmarkNode> link(std::initializer_list<std::string_view> titles, std::string_view url,
                                       std::optional<uint64_t> added) const;

  private:
    WideToAnsi toAnsi_;
    BookmarkDateFormat formatDate_;
};

// Whether a link points at a browser's internal page (chrome:, edge:, about:, javascript:, ...).
bool isInternalPage(std::string_view url);
// The host of a URL ("https://user@www.example.org:8080/x" -> "www.example.org"), or "".
std::string urlHost(std::string_view url);
// Renames same-named children (ignoring ASCII case) of every folder below root: the second becomes
// "name (2)", the third "name (3)", skipping names already taken.
void separateSameNamedSiblings(BookmarkNode& root);
// The sibling list as the children of a nameless folder, same-named siblings kept apart at every
// level, and the list back.
std::unique_ptr<BookmarkNode> separatedSiblings(std::unique_ptr<BookmarkNode> first);
