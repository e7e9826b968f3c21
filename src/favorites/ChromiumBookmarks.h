#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "favorites/BookmarkNode.h"
#include "favorites/BookmarkParser.h"
#include "favorites/BrowserNodes.h"

// The bookmarks of a Chromium-based browser's profile: its "Bookmarks" file and the signed-in
// account's "AccountBookmarks" beside it, JSON in UTF-8 of the same shape.

// The names under which the browser shows its three standard roots (in German).
struct ChromiumRootNames {
    std::string bookmarkBar; // "bookmark_bar"
    std::string other;       // "other"
    std::string synced;      // "synced"
};

// Bookmarks files larger than this cannot come from a profile whose links fit the store.
constexpr size_t kMaxChromiumBookmarksFile = 64u << 20;
constexpr size_t kMaxChromiumFolderDepth = kMaxBrowserFolderDepth;

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
    std::string rootName(const std::string& key, std::string_view ownName) const;

    ChromiumRootNames names_;
    BrowserNodeMaker nodes_;
    std::vector<Root> roots_;
    size_t links_ = 0;
    std::vector<std::string> tooDeep_;
};
