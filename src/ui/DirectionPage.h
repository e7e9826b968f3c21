#pragma once
#include "ui/ChoiceBox.h"
#include "ui/WizardPage.h"

// Page 1 of both wizards: import or export, two boxes that act as a radio pair.
class CDirectionPage : public CWizardPage {
  public:
    CDirectionPage(int templateId, std::string section) : CWizardPage(templateId, std::move(section)) {}
    ~CDirectionPage() override;

    // The direction is what the boxes show: a box ticked from outside counts as well.
    bool isImport() const { return importBox_.getCheck(); }
    bool isExport() const { return exportBox_.getCheck(); }

  protected:
    bool onInitDialog() override;

  private:
    bool choose(bool import);

    CChoiceBox importBox_;
    CChoiceBox exportBox_;
};
