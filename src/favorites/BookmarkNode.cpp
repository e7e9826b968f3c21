#include "favorites/BookmarkNode.h"

#include <vector>

BookmarkNode::~BookmarkNode() {
    std::vector<std::unique_ptr<BookmarkNode>> pending;
    if (firstChild) pending.push_back(std::move(firstChild));
    if (nextSibling) pending.push_back(std::move(nextSibling));
    while (!pending.empty()) {
        std::unique_ptr<BookmarkNode> node = std::move(pending.back());
        pending.pop_back();
        if (node->firstChild) pending.push_back(std::move(node->firstChild));
        if (node->nextSibling) pending.push_back(std::move(node->nextSibling));
    } // each node is destroyed here with nothing left below it
}
