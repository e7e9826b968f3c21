#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

// A thin view of a tree view control's items; it owns neither the control nor its items.
// Items show image 0 (a page) or a folder image: every item whose image is not 0 is a folder.
class CTreeView {
  public:
    static constexpr int kPageImage = 0;
    static constexpr int kFolderImage = 1;
    static constexpr int kClosedFolderImage = 2; // a closed folder like image 1, shown selected
    static constexpr int kOpenFolderImage = 3;
    static constexpr size_t kLabelLimit = 255;

    explicit CTreeView(HWND tree) : tree_(tree) {}
    HWND handle() const { return tree_; }

    static bool isFolderImage(int image) { return image != kPageImage; }

    HTREEITEM next(HTREEITEM item, UINT relation) const;
    HTREEITEM root() const { return next(nullptr, TVGN_ROOT); }
    HTREEITEM caret() const { return next(nullptr, TVGN_CARET); }
    HTREEITEM parent(HTREEITEM item) const { return next(item, TVGN_PARENT); }
    HTREEITEM firstChild(HTREEITEM item) const { return next(item, TVGN_CHILD); }
    HTREEITEM nextSibling(HTREEITEM item) const { return next(item, TVGN_NEXT); }
    HTREEITEM nextVisible(HTREEITEM item) const { return next(item, TVGN_NEXTVISIBLE); }
    HTREEITEM hitTest(POINT point, UINT* flags = nullptr) const;

    // Inserts an item as the last child of parent (nullptr: top level); folders show the folder
    // image and, selected, the closed folder image.
    HTREEITEM insert(HTREEITEM parent, const std::string& label, bool isFolder) const;

    bool isFolder(HTREEITEM item) const;
    bool isSelected(HTREEITEM item) const;
    void setState(HTREEITEM item, UINT state, UINT mask) const;
    void setImage(HTREEITEM item, int image) const;
    LPARAM data(HTREEITEM item) const;
    void setData(HTREEITEM item, LPARAM data) const;
    // The label, cut to limit characters.
    std::string text(HTREEITEM item, size_t limit = kLabelLimit) const;

    // True when item is ancestor or lies below it.
    bool isInSubtree(HTREEITEM item, HTREEITEM ancestor) const;
    bool hasChildLabeled(HTREEITEM folder, const std::string& label) const;
    // Sends the parent a notification with only its header.
    void notifyParent(UINT code) const;
    // Repaints the whole control now.
    void repaint() const;

  private:
    bool getItem(TVITEMA& item) const;
    void setItem(TVITEMA& item) const;

    HWND tree_;
};
