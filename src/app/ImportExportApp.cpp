#include "app/ImportExportApp.h"

#include <windows.h>

#include <commctrl.h>

#include "app/OleSession.h"
#include "config/ProcessStore.h"
#include "platform/Host.h"
#include "platform/ProgramPaths.h"
#include "platform/Registry.h"
#include "platform/Trace.h"

const char* const kMissingCurrentUserMessage =
    "Eine notwendige Konfiguration f\xFC"
    "r den Quendal Browser (\"CurrentUser\"), welche durch den Benutzermanager angelegt wird, "
    "fehlt.\nBitte starten Sie den Browser erneut.";

CImportExportApp::CImportExportApp(WizardRunner runner)
    : runWizard_(std::move(runner)), hostScope_(programHost_) {}

CImportExportApp::CImportExportApp(WizardRunner runner, Host& host)
    : runWizard_(std::move(runner)), hostScope_(host) {}

bool CImportExportApp::InitInstance() {
    COleSession ole; // from start-up to the end of the wizard
    // The process's store, for the skin lookups from the first message on; opened below, closed
    // on every path.
    ProcessStore store;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    const char* commandLine = GetCommandLineA();
    trace("Commandline option: '%s'\n", commandLine);
    setupPaths();

    std::string user = readRegistryString(HKEY_CURRENT_USER, std::string("Software\\") + getSuitePath(),
                                          "CurrentUser", "");
    if (user.empty()) {
        host().tell(kMissingCurrentUserMessage);
        return false;
    }

    RunMode mode = selectRunMode(commandLine ? commandLine : "");
    if (mode == RunMode::None) return false;
    store->open(); // the wizard runs even when the store could not be opened
    runWizard_(mode);
    return false;
}
