#pragma once
#include <functional>
#include <string>

#include "ui/ChoiceBox.h"
#include "ui/WizardPage.h"

// Page 1 of both wizards: import or export, and where the wizard offers it the undo of the last
// import; the boxes act as a radio group.
class CDirectionPage : public CWizardPage {
  public:
    CDirectionPage(int templateId, std::string section) : CWizardPage(templateId, std::move(section)) {}
    ~CDirectionPage() override;

    // The direction is what the boxes show: a box ticked from outside counts as well.
    bool isImport() const { return importBox_.getCheck(); }
    bool isExport() const { return exportBox_.getCheck(); }
    bool isUndo() const { return undoBox_.getCheck(); }

    // Offers the choice "undo the last import" with a line naming that import; an empty line, or
    // a skin without the choice's elements, leaves it out.
    void offerUndo(const std::string& line);
    bool offersUndo() const;
    // Runs after every change of the choice.
    void onChoiceChanged(std::function<void()> handler) { changed_ = std::move(handler); }

  protected:
    bool onInitDialog() override;

  private:
    enum class Choice { import, exportTo, undo };
    bool choose(Choice choice);
    CChoiceBox& choiceBox(Choice choice);

    CChoiceBox importBox_;
    CChoiceBox exportBox_;
    CChoiceBox undoBox_;
    std::function<void()> changed_;
};
