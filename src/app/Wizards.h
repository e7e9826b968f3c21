#pragma once
#include "app/RunMode.h"

// Constructs the wizard frame of a run mode, runs it modally and destroys it.
void runWizardModal(RunMode mode);
