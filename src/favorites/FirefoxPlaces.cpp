#include "favorites/FirefoxPlaces.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace {
bool isPlaceQuery(std::string_view url) {
    constexpr std::string_view scheme = "place:";
    if (url.size() < scheme.size()) return false;
    for (size_t i = 0; i < scheme.size(); ++i)
        if ((url[i] | 0x20) != scheme[i]) return false;
    return true;
}

std::optional<uint64_t> since1601(int64_t microsecondsSince1970) {
    if (microsecondsSince1970 <= 0) return std::nullopt;
    return static_cast<uint64_t>(microsecondsSince1970) + kMicrosecondsFrom1601To1970;
}

using ChildLists = std::unordered_map<int64_t, std::vector<size_t>>;

// The rows' indexes by parent, each list in position order (ties in row order).
ChildLists childLists(const std::vector<PlacesRow>& rows) {
    ChildLists lists;
    for (size_t i = 0; i < rows.size(); ++i)
        lists[rows[i].parent].push_back(i);
    for (auto& [parent, list] : lists)
        std::stable_sort(list.begin(), list.end(),
                         [&rows](size_t a, size_t b) { return rows[a].position < rows[b].position; });
    return lists;
}

class TreeBuilder {
  public:
    TreeBuilder(const std::vector<PlacesRow>& rows, const BrowserNodeMaker& nodes, PlacesTree& result)
        : rows_(rows), nodes_(nodes), result_(result), lists_(childLists(rows)), used_(rows.size(), false) {}

    // The roots in position order, marked as used so that no row can bring them in again.
    std::vector<std::pair<size_t, const char*>> roots() {
        std::vector<std::pair<size_t, const char*>> found;
        for (size_t i = 0; i < rows_.size(); ++i) {
            if (used_[i] || rows_[i].type != kPlacesFolder) continue;
            if (rows_[i].guid == kPlacesTagsGuid || rows_[i].guid == kPlacesRootGuid) used_[i] = true;
            for (const PlacesRootName& root : kPlacesRoots)
                if (!used_[i] && rows_[i].guid == root.guid) {
                    used_[i] = true;
                    found.emplace_back(i, root.name);
                }
        }
        std::stable_sort(found.begin(), found.end(), [this](const auto& a, const auto& b) {
            return rows_[a.first].position < rows_[b.first].position;
        });
        return found;
    }

    // Fills folder with the rows below row, depth first without recursion.
    void fill(size_t row, BookmarkNode& folder) {
        struct Open {
            const std::vector<size_t>* children;
            size_t next;
            std::unique_ptr<BookmarkNode>* tail;
        };
        std::vector<Open> open;
        auto enter = [&](size_t parentRow, BookmarkNode& node) {
            auto list = lists_.find(rows_[parentRow].id);
            if (list != lists_.end()) open.push_back({&list->second, 0, &node.firstChild});
        };
        enter(row, folder);
        while (!open.empty()) {
            Open& current = open.back();
            if (current.next == current.children->size()) {
                open.pop_back();
                continue;
            }
            size_t index = (*current.children)[current.next++];
            if (used_[index]) continue;
            used_[index] = true;
            const PlacesRow& child = rows_[index];
            if (child.type == kPlacesBookmark) {
                if (child.url.empty() || isPlaceQuery(child.url) || isInternalPage(child.url)) continue;
                *current.tail =
                    nodes_.link({child.title, child.pageTitle}, child.url, since1601(child.dateAdded));
                current.tail = &(*current.tail)->nextSibling;
                ++result_.links;
                continue;
            }
            if (child.type != kPlacesFolder) continue;
            std::unique_ptr<BookmarkNode> made = nodes_.folder(child.title);
            if (open.size() >= kMaxBrowserFolderDepth) {
                result_.tooDeep.push_back(made->name);
                continue;
            }
            *current.tail = std::move(made);
            BookmarkNode& added = **current.tail;
            current.tail = &added.nextSibling;
            enter(index, added); // invalidates current
        }
    }

  private:
    const std::vector<PlacesRow>& rows_;
    const BrowserNodeMaker& nodes_;
    PlacesTree& result_;
    ChildLists lists_;
    std::vector<bool> used_;
};
} // namespace

PlacesTree buildPlacesTree(const std::vector<PlacesRow>& rows, const BrowserNodeMaker& nodes) {
    PlacesTree result;
    TreeBuilder builder(rows, nodes, result);
    std::unique_ptr<BookmarkNode>* tail = &result.roots;
    for (const auto& [row, name] : builder.roots()) {
        auto folder = std::make_unique<BookmarkNode>(kFolderNode, name, "");
        builder.fill(row, *folder);
        if (!folder->firstChild) continue;
        *tail = std::move(folder);
        tail = &(*tail)->nextSibling;
    }
    result.roots = separatedSiblings(std::move(result.roots));
    return result;
}
