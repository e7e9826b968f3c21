#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "favorites/BookmarkNode.h"
#include "favorites/BookmarkParser.h"

// The bookmarks of a Chromium-based browser's profile: its "Bookmarks" file and the signed-in
// account's "AccountBookmarks" beside it, JSON in UTF-8 of the same shape.

// The names under which the browser shows its three standard roots (in German).
struct ChromiumRootNames {
    std::string bookmarkBar; // "bookmark_bar"
    std::string other;       // "other"
    std::string synced;      // "synced"
};

// A date given as microseconds since 1601-01-01 UTC, in the store's date format.
using BookmarkDateFormat = std::function<std::string(uint64_t microseconds)>;

// Bookmarks files larger than this cannot come from a profile whose links fit the store.
constexpr size_t kMaxChromiumBookmarksFile = 64u << 20;
// Folders below this depth cannot be named in the store (two bytes per level at the least).
constexpr size_t kMaxChromiumFolderDepth = 255;

// Builds the tree of a profile's bookmarks: one folder per non-empty root, in file order, named as
// the browser shows it; every title in the ANSI code page, same-named siblings kept apart by
// " (2)", " (3)", ... Internal pages and separators are left out.
class ChromiumBookmarkReader {
  public:
    ChromiumBookmarkReader(ChromiumRootNames names, WideToAnsi toAnsi, BookmarkDateFormat formatDate);

    // Adds the roots of one Bookmarks document; a root met before gets the new children after its
    // own. False (and nothing added) when the text is not a Bookmarks document.
    bool add(std::string_view json);
    // The root folders as a sibling list (null when every root was empty); the reader is empty
    // afterwards.
    std::unique_ptr<BookmarkNode> takeTree();

    size_t linkCount() const { return links_; }
    // Folders deeper than kMaxChromiumFolderDepth, left out with everything below them.
    const std::vector<std::string>& tooDeep() const { return tooDeep_; }

  private:
    struct Root {
        std::string key;
        std::unique_ptr<BookmarkNode> folder;
    };
    Root& root(const std::string& key, const std::string& shownName);
    std::string convert(std::string_view utf8) const;
    std::string rootName(const std::string& key, std::string_view ownName) const;

    ChromiumRootNames names_;
    WideToAnsi toAnsi_;
    BookmarkDateFormat formatDate_;
    std::vector<Root> roots_;
    size_t links_ = 0;
    std::vector<std::string> tooDeep_;
};

// Whether a link points at a browser's internal page (chrome:, edge:, about:, javascript:, ...).
bool isInternalPage(std::string_view url);
// The host of a URL ("https://user@www.example.org:8080/x" -> "www.example.org"), or "".
std::string urlHost(std::string_view url);
// Renames same-named children (ignoring ASCII case) of every folder below root: the second becomes
// "name (2)", the third "name (3)", skipping names already taken.
void separateSameNamedSiblings(BookmarkNode& root);
