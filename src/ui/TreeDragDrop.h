#pragma once
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <vector>

#include "toolkit/CaptureTracker.h"
#include "toolkit/TreeView.h"

class CTreeSelection;

// Moving the selected items of a tree inside the tree with the mouse: a drag image follows the
// cursor, the control scrolls while the cursor stays above or below it, a collapsed folder
// opens when the cursor rests on it, and a drop moves every dragged item into the folder under
// the cursor unless a child there has the same label. Only the tree changes.
class CTreeDragDrop {
  public:
    static constexpr UINT_PTR kExpandTimer = 100;
    static constexpr UINT_PTR kScrollTimer = 101;

    CTreeDragDrop(HWND tree, const CTreeSelection& selection) : tree_(tree), selection_(selection) {}
    ~CTreeDragDrop();
    CTreeDragDrop(const CTreeDragDrop&) = delete;
    CTreeDragDrop& operator=(const CTreeDragDrop&) = delete;

    bool dragging() const { return dragging_; }
    void begin();
    void moveTo(POINT point);
    void onTimer(UINT_PTR id);
    // The button came up: drops the dragged items on the folder under the cursor.
    void end();

  private:
    bool autoScroll(POINT point);
    HTREEITEM moveItem(HTREEITEM item, HTREEITEM folder);
    CTreeView view() const { return CTreeView(tree_); }

    HWND tree_;
    const CTreeSelection& selection_;
    bool dragging_ = false;
    HIMAGELIST image_ = nullptr;             // owned while a drag runs
    std::optional<CCaptureTracker> capture_; // while a drag runs
    HTREEITEM start_ = nullptr;
    HTREEITEM dropTarget_ = nullptr;
    std::vector<HTREEITEM> items_;
    POINT lastMouse_{};
    HTREEITEM scrollTarget_ = nullptr;
    HTREEITEM hoverItem_ = nullptr;
};
