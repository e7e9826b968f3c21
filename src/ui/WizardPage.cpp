#include "ui/WizardPage.h"

#include "config/ProcessStore.h"

CWizardPage::~CWizardPage() {
    // The element list's controls go before the page window that holds them.
    elements_.reset();
}

bool CWizardPage::createIn(HWND frame) {
    if (!create(frame)) return false;
    SetParent(handle(), frame);
    return true;
}

void CWizardPage::startElements() {
    elements_ = std::make_unique<CManagedElementList>(section_, handle());
}

void CWizardPage::setElementText(const std::string& element, const std::string& text) {
    if (!elements_) return;
    if (CTextElement* found = elements_->findText(element)) found->control().setText(text);
}

std::string CWizardPage::elementText(const std::string& element) const {
    if (!elements_) return {};
    CTextElement* found = elements_->findText(element);
    return found ? found->control().text() : std::string();
}

std::string CWizardPage::skinText(const std::string& key) const {
    return getLayoutSectionValue(section_, key);
}

bool CWizardPage::onMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_ERASEBKGND || !elements_) return false;
    if (!elements_->paintElements(reinterpret_cast<HDC>(wParam))) return false;
    result = 1;
    return true;
}
