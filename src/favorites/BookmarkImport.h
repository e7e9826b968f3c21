#pragma once
#include <string>

#include "favorites/BookmarkNode.h"
#include "favorites/NodeStore.h"

// Replaces each of \ / : * ? " > < | ' by a blank, then removes leading and trailing white space.
void sanitizeName(std::string& name);
// Places the sibling list starting at node, and everything below it, under section: folders
// merge with folders of the same name (ignoring case), links are added or overwritten with their
// URL and their own date, or the given one. Names are cleaned with sanitizeName first.
void importBookmarkTree(NodeStore& store, const std::string& section, BookmarkNode* node,
                        const std::string& date);
