#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/SubclassedWindow.h"
#include "toolkit/TreeView.h"
#include "ui/TreeDragDrop.h"
#include "ui/TreeSelection.h"

// The data block of a non-folder tree item. Whoever inserts the item hands the block over with
// CMultiTree::attachItemData; the tree frees it when the tree is destroyed.
class CTreeItemData {
  public:
    virtual ~CTreeItemData() = default;
};

// The tree view of the wizards' tree page: a tree control with switchable multi-selection
// (its selection model, the rubber band), drag and drop, guarded label editing and keeping of
// the last edited label.
class CMultiTree : public CSubclassedWindow {
  public:
    static constexpr UINT kCaretBit = CTreeSelection::kCaretBit;
    static constexpr UINT kSelectedBit = CTreeSelection::kSelectedBit;
    // Decides whether an edited label may stand; it tells the user itself why not.
    using LabelCheck = std::function<bool(const std::string& label)>;

    CMultiTree() = default;
    ~CMultiTree() override;

    void configure(bool multiSelect, bool dragDrop, bool labelEdit, bool keepEditedLabel);
    bool setMultiSelect(bool on) { return selection().setMultiSelect(on); }
    bool multiSelect() const { return selection_.multiSelect(); }
    bool dragDrop() const { return dragDrop_; }
    bool labelEdit() const { return labelEdit_; }
    bool keepEditedLabel() const { return keepEditedLabel_; }
    void setLabelCheck(LabelCheck check) { labelCheck_ = std::move(check); }

    HTREEITEM getFirstSelected() const { return selection().first(); }
    HTREEITEM getNextSelected(HTREEITEM item) const { return selection().next(item); }
    void getSelectedItems(std::vector<HTREEITEM>& items) const { selection().items(items); }
    bool isSelected(HTREEITEM item) const { return selection().isSelected(item); }
    HTREEITEM caretItem() const { return selection().caret(); }
    bool isFolder(HTREEITEM item) const;

    bool setItemSelection(HTREEITEM item, UINT state, UINT mask) {
        return selection().set(item, state, mask);
    }
    void selectAll(bool on) { selection().selectAllExcept(on, nullptr); }
    void selectAllExcept(bool on, HTREEITEM except) { selection().selectAllExcept(on, except); }
    void selectRange(HTREEITEM first, HTREEITEM second, bool clearOutside) {
        selection().selectRange(first, second, clearOutside);
    }

    // Hands a data block to a non-folder item; the tree owns it from now on.
    void attachItemData(HTREEITEM item, std::unique_ptr<CTreeItemData> data);

    // The last label accepted while keepEditedLabel was on (program-wide).
    static const std::string& lastEditedLabel();

    bool reflectNotify(NMHDR& header, LRESULT& result) override;

  protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // The selection model, following the control's window.
    CTreeSelection& selection() const;
    CTreeView view() const { return CTreeView(handle()); }
    void onButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    void trackButton(HTREEITEM item, bool left, POINT start, bool shift, bool ctrl, bool wasSelected);
    void beginDrag();
    void freeItemData();
    bool beginLabelEdit(const NMTVDISPINFOA& info);
    bool acceptEditedLabel(const NMTVDISPINFOA& info);

    mutable CTreeSelection selection_;
    bool dragDrop_ = true;
    bool labelEdit_ = true;
    bool keepEditedLabel_ = false;
    LabelCheck labelCheck_;
    int editing_ = 0;
    std::string labelBeforeEdit_;
    std::unique_ptr<CTreeDragDrop> drag_; // while a drag runs
};
