#include <gtest/gtest.h>

#include "support/GuiTestSupport.h"
#include "ui/FileChooser.h"

// The system's open-file dialog itself, not the tests' seam: its library is loaded when the
// dialog is asked for, the dialog opens, and Escape cancels it without a choice.
TEST(FileChooser, TheSystemDialogOpensAndEscapeCancelsIt) {
    SkinInStore skin;
    skin.addDefaultSkin();
    ModalDriver driver({[](HWND dialog) {
        pressKey(dialog, VK_ESCAPE);
        return true;
    }});
    std::vector<std::string> files{"kept"};
    EXPECT_FALSE(chooseFiles(files, "C:\\", false, true));
    EXPECT_EQ(files, std::vector<std::string>{"kept"});
}
