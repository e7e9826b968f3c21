#include "skin/SkinCheckBox.h"

#include "platform/Handles.h"

void CSkinCheckBox::setCheck(int state) {
    send(BM_SETCHECK, static_cast<WPARAM>(state));
}

bool CSkinCheckBox::reflectCommand(UINT notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    setCheck(ticked_ ? BST_UNCHECKED : BST_CHECKED);
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
    // A tick inside the border: down from the left third, then up to the top right.
    RECT mark = box;
    InflateRect(&mark, -3, -3);
    const int width = mark.right - mark.left, height = mark.bottom - mark.top;
    if (width < 4 || height < 4) return;
    const POINT tick[3] = {{mark.left + 1, mark.top + height / 2},
                           {mark.left + width * 2 / 5, mark.bottom - 2},
                           {mark.right - 2, mark.top + 1}};
    ScopedPen pen(CreatePen(PS_SOLID, 2, markColor_));
    SelectGuard selected(dc, pen.get());
    Polyline(dc, tick, 3);
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
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button turns a quick second click into a double-click notification
        // and no click: taken as a press, every click of the user counts.
        return callDefault(WM_LBUTTONDOWN, wParam, lParam);
    case BM_GETCHECK:
        return ticked_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK: {
        const bool ticked = wParam != BST_UNCHECKED;
        if (ticked != ticked_) {
            ticked_ = ticked;
            invalidate(true);
        }
        return 0;
    }
    case BM_GETSTATE:
        return (callDefault(message, wParam, lParam) & ~LRESULT{BST_CHECKED | BST_INDETERMINATE}) |
               (ticked_ ? BST_CHECKED : BST_UNCHECKED);
    default:
        return callDefault(message, wParam, lParam);
    }
}
