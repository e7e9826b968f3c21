#include <gtest/gtest.h>

#include <stdexcept>

#include "skin/SkinButton.h"
#include "support/GuiTestSupport.h"
#include "TestHostDialog.h"
#include "platform/Handles.h"
#include "toolkit/CaptureTracker.h"
#include "toolkit/Dialog.h"
#include "toolkit/MainWindow.h"

namespace {
// A modal dialog whose first Yes click throws out of its handler.
class ThrowingDialog : public CDialog {
  public:
    explicit ThrowingDialog(HWND owner) : CDialog(IDD_MESSAGE_BOX, owner) {}
    int initCalls = 0;

  protected:
    bool onInitDialog() override {
        ++initCalls;
        return true;
    }
    bool onCommand(int id, int, HWND) override {
        if (id == IDYES && !thrown_) {
            thrown_ = true;
            throw std::runtime_error("handler failed");
        }
        if (id == IDNO) {
            endDialog(77);
            return true;
        }
        return false;
    }

  private:
    bool thrown_ = false;
};
} // namespace

TEST(ToolkitDialog, ModalRunDisablesTheOwnerAndSurvivesAnExceptionInAHandler) {
    TestHostDialog owner;
    ASSERT_TRUE(owner.open());
    ShowWindow(owner.handle(), SW_SHOWNA);
    ThrowingDialog dialog(owner.handle());
    bool ownerEnabledDuringRun = true;
    INT_PTR result = 0;
    {
        ModalDriver driver({[&](HWND box) {
                                ownerEnabledDuringRun = IsWindowEnabled(owner.handle()) != FALSE;
                                EXPECT_EQ(GetWindow(box, GW_OWNER), owner.handle());
                                clickButton(box, IDYES); // throws inside the dialog procedure
                                return true;
                            },
                            [](HWND box) {
                                clickButton(box, IDNO);
                                return true;
                            }});
        result = dialog.doModal();
    }
    EXPECT_EQ(result, 77);
    EXPECT_EQ(dialog.initCalls, 1);
    EXPECT_FALSE(ownerEnabledDuringRun);
    EXPECT_TRUE(IsWindowEnabled(owner.handle()));
    EXPECT_EQ(dialog.handle(), nullptr);
}

TEST(ToolkitDialog, WithoutOwnerTheMainWindowOwnsTheDialog) {
    TestHostDialog main;
    ASSERT_TRUE(main.open());
    setMainWindow(main.handle());
    ThrowingDialog dialog(nullptr);
    HWND ownerSeen = nullptr;
    {
        ModalDriver driver({[&](HWND box) {
            ownerSeen = GetWindow(box, GW_OWNER);
            pressKey(box, VK_ESCAPE);
            return true;
        }});
        EXPECT_EQ(dialog.doModal(), IDCANCEL);
    }
    setMainWindow(nullptr);
    EXPECT_EQ(ownerSeen, main.handle());
}

TEST(ToolkitDialog, ModelessEndDestroysAndControlWrappersLetGoOfTheirWindows) {
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    HWND window = host.handle();
    HWND button = GetDlgItem(window, IDOK);
    {
        CSkinButton extra(5, false);
        EXPECT_FALSE(extra.subclass(button)); // already bound to host.ok
        host.ok.unsubclass();
        EXPECT_TRUE(extra.subclass(button));
        EXPECT_EQ(CSubclassedWindow::fromHandle(button), &extra);
    }
    EXPECT_EQ(CSubclassedWindow::fromHandle(button), nullptr);
    SetWindowTextA(button, "noch da"); // the window works without its wrapper
    EXPECT_TRUE(IsWindow(button));
    host.endDialog(IDOK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(host.handle(), nullptr);
}

namespace {
// A control that answers its own notifications.
class NotifiedControl : public CSubclassedWindow {
  public:
    UINT seenCode = 0;
    bool reflectNotify(NMHDR& header, LRESULT& result) override {
        seenCode = header.code;
        result = 42;
        return header.code == 1234u;
    }
};
} // namespace

TEST(ToolkitDialog, NotificationsGoToTheSendingControlFirst) {
    TestHostDialog host;
    ASSERT_TRUE(host.open());
    host.ok.unsubclass();
    NotifiedControl control;
    ASSERT_TRUE(control.subclass(GetDlgItem(host.handle(), IDOK)));
    NMHDR header{control.handle(), IDOK, 1234u};
    // The dialog manager returns the handler's result as the message result.
    EXPECT_EQ(SendMessageA(host.handle(), WM_NOTIFY, IDOK, reinterpret_cast<LPARAM>(&header)), 42);
    header.code = 99u;
    SendMessageA(host.handle(), WM_NOTIFY, IDOK, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(control.seenCode, 99u);
}

TEST(ToolkitCapture, TrackingEndsWhenAnotherWindowTakesTheCaptureAndLeavesItThere) {
    ScopedWindow tracked(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                         nullptr, GetModuleHandleA(nullptr), nullptr));
    ScopedWindow other(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50, nullptr,
                                       nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(tracked && other);
    PostMessageA(tracked.get(), WM_APP, 0, 0);
    int afterLoss = 0;
    {
        CCaptureTracker capture(tracked.get());
        EXPECT_TRUE(capture.held());
        MSG message{};
        while (capture.nextMessage(message)) {
            if (message.message == WM_APP) {
                SetCapture(other.get());
                PostMessageA(tracked.get(), WM_APP + 1, 0, 0);
            } else if (message.message == WM_APP + 1 && ++afterLoss) {
                break; // the loop went on without the capture
            }
        }
    }
    EXPECT_EQ(afterLoss, 0);
    EXPECT_EQ(GetCapture(), other.get());
    ReleaseCapture();
    MSG left{};
    while (PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&left);
}
