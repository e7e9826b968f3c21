#pragma once
#include <memory>
#include <string>

// Node kinds of a parsed bookmark tree.
constexpr int kFolderNode = 1; // also the root
constexpr int kLinkNode = 2;

// One node of a parsed bookmark file: a folder or a link. Children stay in file order as a
// sibling list; a node owns its first child and its next sibling.
struct BookmarkNode {
    BookmarkNode(int kind, std::string name, std::string url)
        : name(std::move(name)), url(std::move(url)), kind(kind) {}
    // Frees the children and following siblings without recursion, so that neither a long list
    // nor a deeply nested file can exhaust the stack.
    ~BookmarkNode();
    BookmarkNode(const BookmarkNode&) = delete;
    BookmarkNode& operator=(const BookmarkNode&) = delete;

    std::string name;
    std::string url;
    std::string date; // a link's own date in the store's format; empty: the import's date
    int kind;
    std::unique_ptr<BookmarkNode> firstChild;
    std::unique_ptr<BookmarkNode> nextSibling;
};

// Frees a node, its children and its following siblings.
inline void freeTree(std::unique_ptr<BookmarkNode>& node) {
    node.reset();
}
