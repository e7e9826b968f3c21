#include "skin/SkinCheckBox.h"

#include "platform/Handles.h"

void CSkinCheckBox::setCheck(int state) {
    ticked_ = state != 0;
    send(BM_SETCHECK, static_cast<WPARAM>(state));
}

bool CSkinCheckBox::reflectCommand(UINT notifyCode) {
    // A quick second click arrives as a double-click notification; it toggles as well, so
    // that every click of the user counts.
    if (notifyCode != BN_CLICKED && notifyCode != BN_DOUBLECLICKED) return false;
    setCheck(ticked_ ? 0 : 1);
    invalidate(true);
    return true;
}

bool CSkinCheckBox::drawItem(const DRAWITEMSTRUCT& item) {
    RECT client = clientRect();
    RECT box = client;
    box.right = box.left + (client.bottom - client.top);
    if (item.itemAction & ODA_DRAWENTIRE) {
        UINT flags = ticked_ ? DFCS_CHECKED : 0;
        if (!isEnabled()) flags |= DFCS_INACTIVE;
        SetBkColor(item.hDC, boxColor_);
        drawBox(item.hDC, box, flags | DFCS_TRANSPARENT);
    } else if (item.itemAction & ODA_SELECT) {
        drawBox(item.hDC, box, ticked_ ? DFCS_CHECKED : 0);
    }
    const bool highlighted = (item.itemState & (ODS_FOCUS | ODS_SELECTED)) != 0;
    drawCaption(item.hDC, client, box.right - box.left, highlighted);
    return true;
}

void CSkinCheckBox::drawBox(HDC dc, const RECT& box, UINT flags) const {
    if (flags & DFCS_INACTIVE) {
        RECT frame = box;
        DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONCHECK | flags);
        return;
    }
    ScopedBrush fill(CreateSolidBrush(boxColor_));
    FillRect(dc, &box, fill.get());
    {
        ScopedPen black(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        SelectGuard pen(dc, black.get());
        MoveToEx(dc, box.left, box.bottom - 1, nullptr);
        LineTo(dc, box.left, box.top);
        LineTo(dc, box.right, box.top);
    }
    {
        ScopedPen white(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        SelectGuard pen(dc, white.get());
        MoveToEx(dc, box.right - 1, box.top + 1, nullptr);
        LineTo(dc, box.right - 1, box.bottom - 1);
        LineTo(dc, box.left, box.bottom - 1);
    }
    if (!(flags & DFCS_CHECKED)) return;
    RECT cross = box;
    InflateRect(&cross, -3, -3);
    ScopedPen mark(CreatePen(PS_SOLID, 2, markColor_));
    SelectGuard pen(dc, mark.get());
    MoveToEx(dc, cross.left, cross.top, nullptr);
    LineTo(dc, cross.right - 1, cross.bottom - 1);
    MoveToEx(dc, cross.right - 1, cross.top, nullptr);
    LineTo(dc, cross.left, cross.bottom - 1);
}

void CSkinCheckBox::drawCaption(HDC dc, const RECT& client, int boxWidth, bool highlighted) const {
    RECT rect = client;
    rect.left += boxWidth + 6;
    COLORREF previousColor = SetTextColor(dc, highlighted ? focusColor_ : markColor_);
    int previousMode = SetBkMode(dc, TRANSPARENT);
    std::string caption = text();
    DrawTextA(dc, caption.c_str(), -1, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(dc, previousMode);
    SetTextColor(dc, previousColor);
}

LRESULT CSkinCheckBox::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return TRUE;
    return callDefault(message, wParam, lParam);
}
