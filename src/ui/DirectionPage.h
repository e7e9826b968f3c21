#pragma once
#include "ui/ChoiceBox.h"
#include "ui/WizardPage.h"

// Page 1 of both wizards: import or export, two boxes that act as a radio pair.
class CDirectionPage : public CWizardPage {
  public:
    CDirectionPage(int templateId, std::string section) : CWizardPage(templateId, std::move(section)) {}
    ~CDirectionPage() override;

    bool isImport() const { return import_; }
    bool isExport() const { return export_; }

  protected:
    bool onInitDialog() override;

  private:
    bool choose(bool import);

    bool import_ = true;
    bool export_ = false;
    CChoiceBox importBox_;
    CChoiceBox exportBox_;
};
