#pragma once
#include <functional>

#include "app/RunMode.h"
#include "app/Wizards.h"
#include "platform/Host.h"
#include "ui/ProgramHost.h"

// Runs the wizard of a run mode modally, between opening and closing the shared store.
using WizardRunner = std::function<void(RunMode)>;

// The application object: the start-up sequence and the run modes. While it lives, its host
// answers the questions and shows the messages: the program's own unless another is handed in.
class CImportExportApp {
  public:
    explicit CImportExportApp(WizardRunner runner = runWizardModal);
    CImportExportApp(WizardRunner runner, Host& host);
    CImportExportApp(const CImportExportApp&) = delete;
    CImportExportApp& operator=(const CImportExportApp&) = delete;

    // Start-up; always returns false, so the process ends when it returns.
    bool InitInstance();

  private:
    ProgramHost programHost_;
    WizardRunner runWizard_;
    HostScope hostScope_;
};

// The fixed message shown when the suite's "CurrentUser" is missing (Windows-1252).
extern const char* const kMissingCurrentUserMessage;
