// The frame behaviour under its own modal loop: keys, the close paths and the messages of the
// suite.
#include "WizardFixture.h"

#include "support/GuiInput.h"
#include "app/Wizards.h"
#include "toolkit/MainWindow.h"
#include "ui/FavAssistentDlg.h"

namespace {
using Step = ModalDriver::Step;

class FrameClosing : public WizardTest {
  protected:
    // Runs the favorites wizard modally with the steps; the last step must end it.
    void run(std::vector<Step> steps) {
        ModalDriver driver(std::move(steps));
        EXPECT_EQ(wizard.doModal(), IDCANCEL);
    }
    // Presses a key on a control of the visible page.
    static Step keyOnPage(int id, WPARAM code) {
        return [id, code](HWND frame) {
            HWND page = GetWindow(frame, GW_CHILD);
            for (; page && !(GetDlgItem(page, id) && IsWindowVisible(page));
                 page = GetWindow(page, GW_HWNDNEXT)) {
            }
            if (!page) return false;
            SetFocus(GetDlgItem(page, id));
            gui::pressKey(static_cast<WORD>(code));
            return true;
        };
    }
    static Step key(WPARAM code) {
        return [code](HWND frame) {
            pressKey(frame, code);
            return true;
        };
    }
    static Step stillOpen(int page, CFavAssistentDlg& wizard) {
        return [page, &wizard](HWND frame) {
            pumpMessages(100);
            EXPECT_TRUE(IsWindow(frame));
            EXPECT_EQ(wizard.currentPage(), page);
            return true;
        };
    }
    CFavAssistentDlg wizard;
};
} // namespace

TEST_F(FrameClosing, EnterAndEscapeInsideAPageDoNothingCancelCloses) {
    run({keyOnPage(IDC_PAGE1_IMPORT, VK_RETURN), keyOnPage(IDC_PAGE1_EXPORT, VK_ESCAPE), stillOpen(1, wizard),
         [](HWND frame) {
             EXPECT_EQ(getMainWindow(), frame); // the owner of the message boxes
             clickButton(frame, IDC_FRAME_NEXT);
             return true;
         },
         keyOnPage(IDC_FAV_FILENAME, VK_RETURN), keyOnPage(IDC_FAV_FILENAME, VK_ESCAPE), stillOpen(2, wizard),
         [](HWND frame) {
             clickButton(frame, IDCANCEL);
             return true;
         }});
    EXPECT_EQ(state.count(), 1);
    EXPECT_EQ(getMainWindow(), nullptr);
}

TEST_F(FrameClosing, CloseBoxAndEscapeOnAFrameButtonRunTheClosingPath) {
    run({[](HWND frame) {
        // The close box: the point of the caption that the window reports as such.
        RECT window{};
        GetWindowRect(frame, &window);
        const int y = window.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
        for (int x = window.right - 2; x > window.left; --x)
            if (SendMessageA(frame, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                gui::clickAt({x, y});
                return true;
            }
        ADD_FAILURE() << "no close box";
        DestroyWindow(frame);
        return true;
    }});
    EXPECT_EQ(state.count(), 1);

    CFavAssistentDlg second;
    ModalDriver driver({[](HWND frame) {
                            SetFocus(GetDlgItem(frame, IDCANCEL));
                            return true;
                        },
                        key(VK_ESCAPE)});
    EXPECT_EQ(second.doModal(), IDCANCEL);
    EXPECT_EQ(state.count(), 2);
}

TEST_F(FrameClosing, ConsoleDisconnectClosesAndTheModalMessageAnswers) {
    run({[](HWND frame) {
             const LRESULT answer = SendMessageA(frame, CAssistentFrame::modalMessage(), 0, 0);
             EXPECT_TRUE(GetFocus() == frame || IsChild(frame, GetFocus())); // the dialog hands it on
             EXPECT_NE(answer, 0);
             return true;
         },
         [](HWND frame) {
             PostMessageA(frame, 0x02B1 /* WM_WTSSESSION_CHANGE */, 1 /* console connect */, 0);
             return true;
         },
         stillOpen(1, wizard),
         [](HWND frame) {
             PostMessageA(frame, 0x02B1, 2 /* WTS_CONSOLE_DISCONNECT */, 0);
             return true;
         }});
    EXPECT_EQ(state.count(), 1);
}

TEST_F(FrameClosing, RunWizardModalRunsTheWizardOfEachMode) {
    for (RunMode mode : {RunMode::Favorites, RunMode::Archive}) {
        std::string caption;
        ModalDriver driver({[&caption](HWND frame) {
            caption = text(frame);
            clickButton(frame, IDCANCEL);
            return true;
        }});
        runWizardModal(mode);
        EXPECT_EQ(caption, mode == RunMode::Favorites ? "Favoriten importieren und exportieren"
                                                      : "Seitenarchiv importieren und exportieren");
    }
    EXPECT_EQ(state.count(), 2);
    runWizardModal(RunMode::None); // nothing to show, nothing to wait for
    EXPECT_EQ(state.count(), 2);
}
