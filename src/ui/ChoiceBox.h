#pragma once
#include <functional>

#include "skin/SkinCheckBox.h"

// A skinned check box of a group that acts as a radio choice: its page decides on each click
// whether the click takes its course (the box toggles) or is swallowed.
class CChoiceBox : public CSkinCheckBox {
  public:
    using ClickHandler = std::function<bool()>; // false swallows the click

    using AfterHandler = std::function<void()>;

    // handler runs before the box toggles; after, if given, once the click took its course.
    void onClick(ClickHandler handler, AfterHandler after = {}) {
        handler_ = std::move(handler);
        after_ = std::move(after);
    }
    bool reflectCommand(UINT notifyCode) override {
        if (notifyCode != BN_CLICKED) return false;
        if (handler_ && !handler_()) return true;
        CSkinCheckBox::reflectCommand(notifyCode);
        if (after_) after_();
        return true;
    }
    // Unticks the box and repaints it at once.
    void clearAndRedraw() {
        setCheck(0);
        RedrawWindow(handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
    }

  private:
    ClickHandler handler_;
    AfterHandler after_;
};
