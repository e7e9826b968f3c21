#include "ui/Wizards.h"

void runWizardModal(RunMode mode) {
    switch (mode) {
    case RunMode::Favorites: // the favorites wizard plugs in here
    case RunMode::Archive:   // the page archive wizard plugs in here
    case RunMode::None:
        break;
    }
}
