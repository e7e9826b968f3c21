#pragma once
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/SubclassedWindow.h"

// The data block of a non-folder tree item. Whoever inserts the item hands the block over with
// CMultiTree::attachItemData; the tree frees it when the tree is destroyed.
class CTreeItemData {
  public:
    virtual ~CTreeItemData() = default;
};

// The tree view of the wizards' tree page: a tree control with switchable multi-selection,
// drag and drop, guarded label editing and keeping of the last edited label. Items with an
// image index other than 0 are folders.
class CMultiTree : public CSubclassedWindow {
  public:
    static constexpr UINT kCaretBit = 1;
    static constexpr UINT kSelectedBit = TVIS_SELECTED;

    CMultiTree() = default;
    ~CMultiTree() override;

    void configure(bool multiSelect, bool dragDrop, bool labelEdit, bool keepEditedLabel);
    bool setMultiSelect(bool on);
    bool multiSelect() const { return multiSelect_; }
    bool dragDrop() const { return dragDrop_; }
    bool labelEdit() const { return labelEdit_; }
    bool keepEditedLabel() const { return keepEditedLabel_; }

    HTREEITEM getFirstSelected() const;
    HTREEITEM getNextSelected(HTREEITEM item) const;
    void getSelectedItems(std::vector<HTREEITEM>& items) const;
    bool isSelected(HTREEITEM item) const;
    HTREEITEM caretItem() const;
    bool isFolder(HTREEITEM item) const;

    bool setItemSelection(HTREEITEM item, UINT state, UINT mask);
    void selectAll(bool on) { selectAllExcept(on, nullptr); }
    void selectAllExcept(bool on, HTREEITEM except);
    void selectRange(HTREEITEM first, HTREEITEM second, bool clearOutside);

    // Hands a data block to a non-folder item; the tree owns it from now on.
    void attachItemData(HTREEITEM item, std::unique_ptr<CTreeItemData> data);

    // The last label accepted while keepEditedLabel was on (program-wide).
    static const std::string& lastEditedLabel();

    bool reflectNotify(NMHDR& header, LRESULT& result) override;

  protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    class SelectingScope;
    HTREEITEM next(HTREEITEM item, UINT relation) const;
    UINT itemState(HTREEITEM item, UINT mask) const;
    void setState(HTREEITEM item, UINT state, UINT mask) const;
    bool notifySelection(UINT code, HTREEITEM item, bool selecting);
    void sendHeader(UINT code) const;
    void onButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    void applyClickRules(HTREEITEM item, bool left, bool shift, bool ctrl);
    void trackButton(HTREEITEM item, bool left, POINT start, bool shift, bool ctrl, bool wasSelected);
    void runRubberBand(bool left, POINT start, bool shift, bool ctrl);
    void selectInBand(const RECT& band, std::vector<HTREEITEM>& base, bool shift, bool ctrl);
    POINT scrollOffset() const;
    void onKeyDown(WPARAM key);
    void onItemExpanding(const NMTREEVIEWA& change);
    void deselectDescendants(HTREEITEM folder, bool& hadCaret);
    void freeItemData();
    void beginDrag();
    void dragOver(POINT point);
    void endDrag();
    bool autoScroll(POINT point);
    void onTimer(UINT_PTR id);
    bool isInSubtree(HTREEITEM item, HTREEITEM root) const;
    bool hasChildLabeled(HTREEITEM folder, const std::string& label) const;
    HTREEITEM moveItem(HTREEITEM item, HTREEITEM folder);
    bool acceptEditedLabel(const NMTVDISPINFOA& info);

    bool multiSelect_ = true;
    bool dragDrop_ = true;
    bool labelEdit_ = true;
    bool keepEditedLabel_ = false;
    HTREEITEM anchor_ = nullptr;
    int selecting_ = 0;
    int editing_ = 0;
    bool clearCaretAfterCollapse_ = false;
    std::string labelBeforeEdit_;
    int dragging_ = 0;
    HIMAGELIST dragImage_ = nullptr; // owned while a drag runs
    HTREEITEM dragStart_ = nullptr;
    HTREEITEM dropTarget_ = nullptr;
    std::vector<HTREEITEM> draggedItems_;
    POINT lastMouse_{};
    HTREEITEM scrollTarget_ = nullptr;
    HTREEITEM hoverItem_ = nullptr;
};
