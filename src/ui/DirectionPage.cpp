#include "ui/DirectionPage.h"

#include "ui/ResourceIds.h"

CDirectionPage::~CDirectionPage() = default;

bool CDirectionPage::onInitDialog() {
    importBox_.subclassItem(handle(), IDC_PAGE1_IMPORT);
    exportBox_.subclassItem(handle(), IDC_PAGE1_EXPORT);
    undoBox_.subclassItem(handle(), IDC_PAGE1_UNDO);
    const auto changed = [this] {
        if (changed_) changed_();
    };
    importBox_.onClick([this] { return choose(Choice::import); }, changed);
    exportBox_.onClick([this] { return choose(Choice::exportTo); }, changed);
    undoBox_.onClick([this] { return choose(Choice::undo); }, changed);

    startElements();
    elements()->addPictureElement("Background");
    elements()->addCheckBoxElement("CheckBoxImport", importBox_);
    elements()->addCheckBoxElement("CheckBoxExport", exportBox_);
    elements()->addCheckBoxElement("CheckBoxUndo", undoBox_);
    elements()->addTextElement("Title");
    elements()->addTextElement("Description");
    elements()->addTextElement("TextUndo");
    elements()->loadLayout(false);

    importBox_.setCheck(1);
    offerUndo("");
    return true;
}

void CDirectionPage::offerUndo(const std::string& line) {
    const bool offered = !line.empty() && !skinText("CheckBoxUndo").empty();
    if (!offered && undoBox_.getCheck()) {
        undoBox_.setCheck(0);
        importBox_.setCheck(1);
        setElementText("Description", skinText("Description_Import"));
    }
    // The line is painted onto the page's background by the element list: its text is all it takes.
    setElementText("TextUndo", offered ? line : "");
    ShowWindow(undoBox_.handle(), offered ? SW_SHOW : SW_HIDE);
}

bool CDirectionPage::offersUndo() const {
    return IsWindowVisible(undoBox_.handle()) != FALSE;
}

CChoiceBox& CDirectionPage::choiceBox(Choice choice) {
    switch (choice) {
    case Choice::exportTo:
        return exportBox_;
    case Choice::undo:
        return undoBox_;
    case Choice::import:
        break;
    }
    return importBox_;
}

bool CDirectionPage::choose(Choice choice) {
    if (choiceBox(choice).getCheck()) return false;
    const char* description = choice == Choice::import     ? "Description_Import"
                              : choice == Choice::exportTo ? "Description_Export"
                                                           : "Description_Undo";
    setElementText("Description", skinText(description));
    for (Choice other : {Choice::import, Choice::exportTo, Choice::undo})
        if (other != choice) choiceBox(other).clearAndRedraw();
    return true;
}
