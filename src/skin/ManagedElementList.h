#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/ManagedElement.h"
#include "skin/SpanResolution.h"

// The skinned elements of one dialog or page: reads the window entry (key name of section
// "Layout") and every element's entry (section "Layout_" + name), applies them to the
// controls, places the elements for the window's client size and paints pictures and texts
// onto the window's background in one copy.
class CManagedElementList {
  public:
    CManagedElementList(std::string name, HWND window) : name_(std::move(name)), window_(window) {}
    virtual ~CManagedElementList() = default;
    CManagedElementList(const CManagedElementList&) = delete;
    CManagedElementList& operator=(const CManagedElementList&) = delete;

    void addWindowElement(const std::string& name, HWND control);
    void addButtonElement(const std::string& name, CSkinButton& button);
    // A control that is not a skinned button (it gets only the caption).
    void addButtonElement(const std::string& name, HWND control);
    void addCheckBoxElement(const std::string& name, CSkinCheckBox& checkBox);
    // Creates the picture control; returns it (nullptr when no window could be created).
    CSkinStatic* addPictureElement(const std::string& name);
    CSkinStatic* addTextElement(const std::string& name);

    void loadLayout(bool leaveWindow);
    void applyLayout();
    void placeInRect(const RECT& container, bool move);
    void placeElements(int width, int height);
    bool paintElements(HDC dc);

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    const LayoutRect& rectangle() const { return rect_; }
    HWND window() const { return window_; }
    CManagedElement* find(const std::string& elementName) const;
    CTextElement* findText(const std::string& elementName) const;

  private:
    std::unique_ptr<CSkinStatic> createStatic(DWORD style, bool tile) const;
    void applyStyleGuide(const std::string& elementName, CSkinStatic& control) const;

    std::string name_;
    HWND window_;
    std::string caption_;
    LayoutRect rect_;
    std::vector<std::unique_ptr<CManagedElement>> elements_;
};
