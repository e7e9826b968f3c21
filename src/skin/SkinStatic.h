#pragma once
#include <cstdint>
#include <string>

#include "platform/Handles.h"
#include "toolkit/SubclassedWindow.h"

// A static control that its owner's element list paints onto the owner's background: as text
// in the skin's colour and font, or as a (tiled) bitmap held with STM_SETIMAGE.
class CSkinStatic : public CStatic {
  public:
    explicit CSkinStatic(bool tile) : tile_(tile) {}
    ~CSkinStatic() override = default;

    void setColors(uint32_t first, uint32_t second, uint32_t third);
    COLORREF textColor() const { return colors_[1]; }
    // Takes ownership of the font.
    void setFont(HFONT font);
    HFONT font() const { return font_.get(); }
    // Sets the text and has the owner repaint the area under the control.
    void setText(const std::string& text);
    void invalidateParentArea() const;
    // Draws the control onto the owner's device context at its place in the owner.
    bool paintOn(HDC dc, HWND parent) const;
    bool isBitmapStatic() const { return (style() & SS_TYPEMASK) == SS_BITMAP; }

  protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool tile_;
    COLORREF colors_[3] = {0, 0, 0};
    ScopedFont font_;
};
