#pragma once
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "toolkit/TreeView.h"

class CTreeSelection;

// A band drawn with the mouse from a point beside the labels: every visible item whose row it
// touches becomes selected (with Ctrl, items selected before are toggled; with Shift, they stay
// selected and lose their part in the toggling). The band scrolls the control while the mouse
// stays outside; Escape deselects everything and ends it.
class CTreeRubberBand {
  public:
    CTreeRubberBand(HWND tree, CTreeSelection& selection) : tree_(tree), selection_(selection) {}
    // Runs its own message loop until the button comes up, Escape, or the capture is lost.
    void run(bool left, POINT start, bool shift, bool ctrl);

  private:
    void selectInBand(const RECT& band, std::vector<HTREEITEM>& base, bool shift, bool ctrl);
    POINT scrollOffset() const;
    void draw(const RECT& band) const;
    CTreeView view() const { return CTreeView(tree_); }

    HWND tree_;
    CTreeSelection& selection_;
};
