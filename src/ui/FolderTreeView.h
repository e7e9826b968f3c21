#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

class NodeStore;

// The folders of a store tree in a tree view control.

// Inserts the folders below section, recursively, under parent (nullptr: the top call, which
// shows the placeholder folder of an empty favorites or archive root).
void fillFolderTree(NodeStore& store, HWND tree, HTREEITEM parent, const std::string& section);
// The item's path below the root section, for example "Favoriten\News".
std::string getTreeItemPath(HWND tree, HTREEITEM item);
