#include "app/ImportExportApp.h"

#include <windows.h>

#include <commctrl.h>

#include "app/OleSession.h"
#include "app/Wizards.h"
#include "config/ProcessStore.h"
#include "platform/MessageSeam.h"
#include "platform/ProgramPaths.h"
#include "platform/QuestionSeam.h"
#include "platform/Registry.h"
#include "platform/Trace.h"
#include "ui/MessageBoxDlg.h"

const char* const kMissingCurrentUserMessage =
    "Eine notwendige Konfiguration f\xFC"
    "r den Quendal Browser (\"CurrentUser\"), welche durch den Benutzermanager angelegt wird, "
    "fehlt.\nBitte starten Sie den Browser erneut.";

namespace {
WizardRunner& wizardRunner() {
    static WizardRunner runner;
    return runner;
}

void runWizard(RunMode mode) {
    if (const WizardRunner& runner = wizardRunner())
        runner(mode);
    else
        runWizardModal(mode);
}
} // namespace

WizardRunner setWizardRunner(WizardRunner runner) {
    WizardRunner previous = std::move(wizardRunner());
    wizardRunner() = std::move(runner);
    return previous;
}

bool CImportExportApp::InitInstance() {
    COleSession ole; // from start-up to the end of the wizard
    // The process's store, for the skin lookups from the first message on; opened below, closed
    // on every path.
    ProcessStore store;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The question seam lies below every layer that asks; the skinned message box plugs in here.
    setQuestionHandler(runMessageBox);

    const char* commandLine = GetCommandLineA();
    trace("Commandline option: '%s'\n", commandLine);
    setupPaths();

    std::string user = readRegistryString(HKEY_CURRENT_USER, std::string("Software\\") + getSuitePath(),
                                          "CurrentUser", "");
    if (user.empty()) {
        showMessage(kMissingCurrentUserMessage);
        return false;
    }

    RunMode mode = selectRunMode(commandLine ? commandLine : "");
    if (mode == RunMode::None) return false;
    store->open(); // the wizard runs even when the store could not be opened
    runWizard(mode);
    return false;
}
