#pragma once
#include <memory>
#include <string>

#include "skin/ManagedElementList.h"
#include "toolkit/Dialog.h"

// A page of a wizard frame: a modeless child dialog that lies in the frame's client area and
// paints its background through its own element list. Enter and Escape do nothing on a page.
class CWizardPage : public CDialog {
  public:
    CWizardPage(int templateId, std::string section) : CDialog(templateId), section_(std::move(section)) {}
    ~CWizardPage() override;

    // Creates the page hidden inside frame.
    bool createIn(HWND frame);
    CManagedElementList* elements() const { return elements_.get(); }
    const std::string& section() const { return section_; }
    // Sets the text of one of the page's text elements (and repaints its area).
    void setElementText(const std::string& element, const std::string& text);
    std::string elementText(const std::string& element) const;
    // The page's skin text of key.
    std::string skinText(const std::string& key) const;

  protected:
    void startElements();
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onOK() override {}
    void onCancel() override {}

  private:
    std::string section_;
    std::unique_ptr<CManagedElementList> elements_;
};
