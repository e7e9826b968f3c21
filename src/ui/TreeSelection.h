#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

#include "toolkit/TreeView.h"

// The selection model of the multi-selection tree: items are selected independently of the
// caret, Shift ranges start at the anchor, and the parent hears of every change of an item's
// selected state (with what caused it: 1 the mouse, 2 the keyboard) and may veto it.
class CTreeSelection {
  public:
    static constexpr UINT kCaretBit = 1;
    static constexpr UINT kSelectedBit = TVIS_SELECTED;
    enum Cause { kProgram = 0, kMouse = 1, kKeyboard = 2 };

    // Sets the cause for one operation and restores the previous one when it ends, also when
    // nested message loops ran other handlers in between.
    class CauseScope {
      public:
        CauseScope(CTreeSelection& selection, int cause) : cause_(selection.cause_), saved_(cause_) {
            if (cause) cause_ = cause;
        }
        ~CauseScope() { cause_ = saved_; }
        CauseScope(const CauseScope&) = delete;
        CauseScope& operator=(const CauseScope&) = delete;

      private:
        int& cause_;
        int saved_;
    };

    void attach(HWND tree) { tree_ = tree; }
    bool multiSelect() const { return multiSelect_; }
    // Returns the previous value; switched off, only a selected caret item stays selected.
    bool setMultiSelect(bool on);

    HTREEITEM first() const;
    HTREEITEM next(HTREEITEM item) const;
    void items(std::vector<HTREEITEM>& selected) const;
    bool isSelected(HTREEITEM item) const;
    HTREEITEM caret() const;

    bool set(HTREEITEM item, UINT state, UINT mask);
    void selectAllExcept(bool on, HTREEITEM except);
    void selectRange(HTREEITEM first, HTREEITEM second, bool clearOutside);

    HTREEITEM anchor() const { return anchor_; }
    void setAnchor(HTREEITEM item) { anchor_ = item; }
    void forget(HTREEITEM deleted) {
        if (deleted == anchor_) anchor_ = nullptr;
    }

    // A button pressed on an item, before the button is tracked.
    void applyClickRules(HTREEITEM item, bool left, bool shift, bool ctrl);
    // A key pressed in the control; runDefault lets the control move the caret.
    void onKeyDown(WPARAM key, bool shift, bool ctrl, const std::function<void()>& runDefault);
    // A folder collapsing or expanding: descendants of a collapsed folder lose their selection.
    void onItemExpanding(const NMTREEVIEWA& change);
    void onItemExpanded(const NMTREEVIEWA& change);

  private:
    bool notify(UINT code, HTREEITEM item, bool selecting) const;
    void deselectDescendants(HTREEITEM folder, bool& hadCaret);
    CTreeView view() const { return CTreeView(tree_); }

    HWND tree_ = nullptr;
    bool multiSelect_ = true;
    HTREEITEM anchor_ = nullptr;
    int cause_ = kProgram;
    bool clearCaretAfterCollapse_ = false;
};
