#pragma once
#include <string>

#include "platform/Handles.h"
#include "toolkit/SubclassedWindow.h"

// A push button painted from a horizontal strip of equal frames (normal, pressed, hot,
// disabled, and last the outline mask that shapes the window), with an optional tooltip.
class CSkinButton : public CButton {
  public:
    CSkinButton(int frameCount, bool fixedFrame) : frameCount_(frameCount), fixedFrame_(fixedFrame) {}
    ~CSkinButton() override = default;

    virtual void setBitmap(HBITMAP bitmap);
    virtual void setToolTipText(const std::string& text);

    bool drawItem(const DRAWITEMSTRUCT& item) override;
    bool preTranslateMessage(MSG& message) override;

    HBITMAP bitmap() const { return bitmap_; }
    int frameWidth() const { return frameCount_ > 0 ? bitmapWidth_ / frameCount_ : 0; }
    // The frame the button shows for a drawing request's item state, from the cursor and capture.
    int frameForState(UINT itemState) const;
    // The tooltip window, made at the first mouse move over the button (nullptr before).
    HWND toolTip() const { return toolTip_.get(); }
    const std::string& toolTipText() const { return toolTipText_; }

  protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    ScopedRegion outlineRegion() const;
    void drawCaption(HDC dc, const RECT& client, bool disabled) const;
    void repaintWhole() const;
    void createToolTip(const MSG& firstMove);
    void showToolTipText();

    int frameCount_;
    bool fixedFrame_;
    HBITMAP bitmap_ = nullptr; // owned by the element list
    int bitmapWidth_ = 0;
    int bitmapHeight_ = 0;
    ScopedRegion clipRegion_;
    ScopedWindow toolTip_;
    std::string toolTipText_;
    bool toolTipArmed_ = true;
    HWND hotWindow_ = nullptr;
};
