#pragma once
#include <memory>
#include <string>
#include <vector>

#include "support/GuiInput.h"
#include "skin/ManagedElementList.h"
#include "toolkit/Dialog.h"
#include "ui/ResourceIds.h"

// A modeless dialog from the message box template (buttons 1, 2, 6, 7 and check box 1007) that
// hosts skinned controls and an element list for the tests. Commands that reach the dialog are
// recorded; the background is painted by the list.
class TestHostDialog : public CDialog {
  public:
    TestHostDialog() : CDialog(IDD_MESSAGE_BOX) {}
    ~TestHostDialog() override = default;

    // Created shown and active, so that the mouse and the keyboard reach its controls.
    bool open() {
        if (!create(nullptr) || !handle()) return false;
        ShowWindow(handle(), SW_SHOW);
        SetForegroundWindow(handle());
        gui::waitForIdle();
        return true;
    }
    CManagedElementList& newList(const std::string& name) {
        list = std::make_unique<CManagedElementList>(name, handle());
        return *list;
    }
    void addTemplateControls() {
        list->addButtonElement("Ok", ok);
        list->addButtonElement("Cancel", cancel);
        list->addButtonElement("Yes", yes);
        list->addButtonElement("No", no);
        list->addCheckBoxElement("CheckBox", check);
    }
    RECT controlRect(int id) const {
        RECT rect{};
        HWND control = GetDlgItem(handle(), id);
        GetWindowRect(control, &rect);
        MapWindowPoints(HWND_DESKTOP, handle(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    CSkinButton ok{5, false}, cancel{5, false}, yes{5, false}, no{5, false};
    CSkinCheckBox check;
    std::unique_ptr<CManagedElementList> list;
    std::vector<int> commands;

  protected:
    bool onInitDialog() override {
        ok.subclassItem(handle(), IDOK);
        cancel.subclassItem(handle(), IDCANCEL);
        yes.subclassItem(handle(), IDYES);
        no.subclassItem(handle(), IDNO);
        check.subclassItem(handle(), IDC_MESSAGE_CHECKBOX);
        return true;
    }
    bool onCommand(int id, int, HWND) override {
        commands.push_back(id);
        return true;
    }
    bool onMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message != WM_ERASEBKGND || !list || !list->paintElements(reinterpret_cast<HDC>(wParam)))
            return false;
        result = 1;
        return true;
    }
};

inline bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
