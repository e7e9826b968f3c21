#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "favorites/BrowserNodes.h"

// Firefox keeps its bookmarks in the profile's "places.sqlite": one row of moz_bookmarks per
// bookmark, folder or separator, each naming its parent and its position there, links pointing
// at a row of moz_places with the URL and the page's title. Its bookmark backups hold the same
// tree as JSON and are turned into the same rows.

// moz_bookmarks.type
constexpr int kPlacesBookmark = 1;
constexpr int kPlacesFolder = 2;
constexpr int kPlacesSeparator = 3;

// One row of moz_bookmarks with the URL and title of its moz_places row; texts in UTF-8.
struct PlacesRow {
    int64_t id = 0;
    int64_t parent = 0;
    int type = 0;
    int64_t position = 0;
    std::string title;     // the bookmark's own title, "" when it has none
    std::string guid;      // identifies the roots
    std::string url;       // bookmarks only
    std::string pageTitle; // the page's title (moz_places.title)
    int64_t dateAdded = 0; // microseconds since 1970-01-01 UTC, 0 when unknown
};

// The guids of the roots and the names under which the tree shows them.
constexpr const char* kPlacesRootGuid = "root________";
constexpr const char* kPlacesTagsGuid = "tags________";
struct PlacesRootName {
    const char* guid;
    const char* name;
};
constexpr PlacesRootName kPlacesRoots[] = {
    {"menu________", "Lesezeichen-Men\xFC"},
    {"toolbar_____", "Lesezeichen-Symbolleiste"},
    {"unfiled_____", "Weitere Lesezeichen"},
    {"mobile______", "Mobile Lesezeichen"},
};

struct PlacesTree {
    std::unique_ptr<BookmarkNode> roots; // one folder per non-empty root, as a sibling list
    size_t links = 0;
    std::vector<std::string> tooDeep; // folders left out below kMaxBrowserFolderDepth
};

// Builds the tree below the four roots (found by guid below the row "root________"), each in
// position order: the tags root, separators, place: queries and internal pages are left out; a
// bookmark without a title of its own is named by its page's title, else by its URL's host.
// Same-named siblings are kept apart. Every row is used at most once, whatever the rows say.
PlacesTree buildPlacesTree(const std::vector<PlacesRow>& rows, const BrowserNodeMaker& nodes);
