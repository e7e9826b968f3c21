#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

// Small questions to a tree view control about its items. Items whose image index is not 0
// are folders.
namespace treeItems {

inline constexpr size_t kLabelLimit = 255;

HTREEITEM next(HWND tree, HTREEITEM item, UINT relation);
HTREEITEM caret(HWND tree);
HTREEITEM root(HWND tree);
HTREEITEM hitTest(HWND tree, POINT point, UINT* flags = nullptr);
bool isSelected(HWND tree, HTREEITEM item);
void setState(HWND tree, HTREEITEM item, UINT state, UINT mask);
bool isFolder(HWND tree, HTREEITEM item);
// The label, cut to limit characters.
std::string text(HWND tree, HTREEITEM item, size_t limit = kLabelLimit);
// True when item is root or lies below it.
bool isInSubtree(HWND tree, HTREEITEM item, HTREEITEM root);
bool hasChildLabeled(HWND tree, HTREEITEM folder, const std::string& label);
// Sends the parent a notification with only its header.
void notifyParent(HWND tree, UINT code);
// Repaints the whole control now.
void repaint(HWND tree);

} // namespace treeItems
