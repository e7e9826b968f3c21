#pragma once
#include "toolkit/Window.h"

// A control whose messages pass through this object first: template controls are subclassed
// with subclass(), controls made by code with create(). The dialog routes owner-draw requests
// and the control's own notifications (reflected commands) back to it.
class CSubclassedWindow : public CWindow {
  public:
    CSubclassedWindow() = default;
    ~CSubclassedWindow() override;

    bool subclass(HWND control);
    bool subclassItem(HWND dialog, int id) { return subclass(GetDlgItem(dialog, id)); }
    // Creates a child control owned by this object (destroyed with it) and subclasses it.
    bool create(const char* className, DWORD style, HWND parent, int id, const char* text = "");
    void unsubclass();

    static CSubclassedWindow* fromHandle(HWND window);

    // Called by the owning dialog; true when handled.
    virtual bool drawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    virtual bool reflectCommand(UINT /*notifyCode*/) { return false; }
    virtual bool reflectNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // Sees every message the modal loop takes for this window before it is dispatched.
    virtual bool preTranslateMessage(MSG& /*message*/) { return false; }

  protected:
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT callDefault(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK staticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC previous_ = nullptr;
    bool ownsWindow_ = false;
};

// Thin wrappers that name what the dialogs use them for.
class CButton : public CSubclassedWindow {
  public:
    int getCheckState() const { return static_cast<int>(send(BM_GETCHECK)); }
};

class CStatic : public CSubclassedWindow {};
