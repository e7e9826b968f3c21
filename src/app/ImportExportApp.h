#pragma once
#include <functional>

#include "app/RunMode.h"

// The application object: the start-up sequence and the run modes.
class CImportExportApp {
  public:
    // Start-up (the skinned message box answers the questions from here on); always returns
    // false, so the process ends when it returns.
    bool InitInstance();
};

// Runs the wizard of a run mode modally, between opening and closing the shared store.
// Tests replace it (an empty runner restores the program's own wizards).
using WizardRunner = std::function<void(RunMode)>;
WizardRunner setWizardRunner(WizardRunner runner);

// The fixed message shown when the suite's "CurrentUser" is missing (Windows-1252).
extern const char* const kMissingCurrentUserMessage;
