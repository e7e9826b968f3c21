#include "ui/Wizards.h"

#include <memory>

#include "ui/FavAssistentDlg.h"

void runWizardModal(RunMode mode) {
    switch (mode) {
    case RunMode::Favorites: {
        auto wizard = std::make_unique<CFavAssistentDlg>();
        wizard->doModal();
        break;
    }
    case RunMode::Archive: // the page archive wizard plugs in here
    case RunMode::None:
        break;
    }
}
