#include "app/Wizards.h"

#include <memory>

#include "ui/ArchivAssistentDlg.h"
#include "ui/FavAssistentDlg.h"

void runWizardModal(RunMode mode) {
    std::unique_ptr<CAssistentFrame> wizard;
    switch (mode) {
    case RunMode::Favorites:
        wizard = std::make_unique<CFavAssistentDlg>();
        break;
    case RunMode::Archive:
        wizard = std::make_unique<CArchivAssistentDlg>();
        break;
    case RunMode::None:
        return;
    }
    wizard->doModal();
}
