#pragma once
#include "toolkit/SubclassedWindow.h"

// A check box that draws its own square box with a cross; it keeps its state itself and
// toggles on its own click notification, which then does not reach the owner's handlers.
class CSkinCheckBox : public CButton {
  public:
    CSkinCheckBox() = default;
    ~CSkinCheckBox() override = default;

    void setCheck(int state);
    bool getCheck() const { return ticked_; }

    bool drawItem(const DRAWITEMSTRUCT& item) override;
    bool reflectCommand(UINT notifyCode) override;

  protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void drawBox(HDC dc, const RECT& box, UINT flags) const;
    void drawCaption(HDC dc, const RECT& client, int boxWidth, bool highlighted) const;

    bool ticked_ = false;
    COLORREF boxColor_ = RGB(255, 255, 255);
    COLORREF markColor_ = RGB(0, 0, 0);
    COLORREF focusColor_ = RGB(0, 0, 0);
};
