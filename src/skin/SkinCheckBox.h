#pragma once
#include "toolkit/SubclassedWindow.h"

// A check box that draws its own square box with a tick; it keeps its state itself and
// toggles on its own click notification, which then does not reach the owner's handlers.
// It answers BM_GETCHECK, BM_SETCHECK and BM_GETSTATE as a standard check box does, so that
// whoever asks the control (dialog data exchange, assistive tools) sees what it shows.
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
