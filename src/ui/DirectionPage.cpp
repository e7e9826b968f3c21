#include "ui/DirectionPage.h"

#include "ui/ResourceIds.h"

CDirectionPage::~CDirectionPage() = default;

bool CDirectionPage::onInitDialog() {
    importBox_.subclassItem(handle(), IDC_PAGE1_IMPORT);
    exportBox_.subclassItem(handle(), IDC_PAGE1_EXPORT);
    importBox_.onClick([this] { return choose(true); });
    exportBox_.onClick([this] { return choose(false); });

    startElements();
    elements()->addPictureElement("Background");
    elements()->addCheckBoxElement("CheckBoxImport", importBox_);
    elements()->addCheckBoxElement("CheckBoxExport", exportBox_);
    elements()->addTextElement("Title");
    elements()->addTextElement("Description");
    elements()->loadLayout(false);

    importBox_.setCheck(1);
    return true;
}

bool CDirectionPage::choose(bool import) {
    if ((import ? importBox_ : exportBox_).getCheck()) return false;
    setElementText("Description", skinText(import ? "Description_Import" : "Description_Export"));
    (import ? exportBox_ : importBox_).clearAndRedraw();
    return true;
}
