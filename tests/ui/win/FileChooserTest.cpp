#include <gtest/gtest.h>

#include "support/GuiTestSupport.h"
#include "ui/FileChooser.h"
#include "ui/ProgramHost.h"

// The system's open-file dialog itself, as the program's host opens it: its library is loaded
// when the dialog is asked for, the dialog opens, and Escape cancels it without a choice.
TEST(FileChooser, TheSystemDialogOpensAndEscapeCancelsIt) {
    ProgramHost program;
    HostScope programScope(program);
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
