#pragma once
#include <string>

#include "favorites/BookmarkNode.h"
#include "store/NodeStore.h"

// Replaces each of \ / : * ? " > < | ' by a blank, removes leading and trailing white space,
// then replaces "]" by a blank as well (a store name cannot hold it).
void sanitizeName(std::string& name);
// Places the sibling list starting at node, and everything below it, under section: folders
// merge with folders of the same name (ignoring case), links are added or overwritten with their
// URL and their own date, or the given one. Names are cleaned with sanitizeName first. A folder
// or link that the store cannot hold (storeRefusal) is left out with everything below it and
// noted (noteLeftOut). Any import that has its entries as a BookmarkNode tree places them
// through this.
void importBookmarkTree(NodeStore& store, const std::string& section, BookmarkNode* node,
                        const std::string& date);
