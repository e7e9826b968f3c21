#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/Handles.h"
#include "skin/LayoutParsing.h"
#include "skin/SkinButton.h"
#include "skin/SkinCheckBox.h"
#include "skin/SkinStatic.h"

// One skinned item of a dialog: an existing control (window, button, check box) or a control
// the element list made for it (picture, text). Its settings come from the skin entry named
// after the element in the list's layout section.
class CManagedElement {
  public:
    enum Kind { window = 0, picture = 1, button = 2, text = 3, checkBox = 4 };

    CManagedElement(Kind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
    virtual ~CManagedElement() = default;
    CManagedElement(const CManagedElement&) = delete;
    CManagedElement& operator=(const CManagedElement&) = delete;

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    const LayoutRect& position() const { return position_; }
    virtual HWND controlWindow() const = 0;
    // The skinned static that paints this element onto the background, if it is one.
    virtual const CSkinStatic* paintedStatic() const { return nullptr; }

    // Reads the element's entry of section "Layout_" + listName; false when it is missing or bad.
    bool loadSettings(const std::string& listName);

  protected:
    virtual bool loadKindSettings(SettingsCursor& cursor) = 0;

  private:
    Kind kind_;
    std::string name_;
    LayoutRect position_;
};

class CWindowElement : public CManagedElement {
  public:
    CWindowElement(std::string name, HWND control)
        : CManagedElement(window, std::move(name)), control_(control) {}
    HWND controlWindow() const override { return control_; }

  protected:
    bool loadKindSettings(SettingsCursor&) override { return true; }

  private:
    HWND control_;
};

class CPictureElement : public CManagedElement {
  public:
    CPictureElement(std::string name, std::unique_ptr<CSkinStatic> control)
        : CManagedElement(picture, std::move(name)), control_(std::move(control)) {}
    HWND controlWindow() const override { return control_->handle(); }
    const CSkinStatic* paintedStatic() const override { return control_.get(); }
    const std::string& bitmapFile() const { return bitmapFile_; }
    HBITMAP bitmap() const { return bitmap_.get(); }

  protected:
    bool loadKindSettings(SettingsCursor& cursor) override;

  private:
    // The bitmap outlives the control that shows it.
    ScopedBitmap bitmap_;
    std::string bitmapFile_;
    std::unique_ptr<CSkinStatic> control_;
};

// A button entry: caption, bitmap file, tooltip. Bound to a skinned button, or to any other
// control (which then only gets the caption: bitmaps and tooltips need a skinned button).
class CButtonElement : public CManagedElement {
  public:
    CButtonElement(std::string name, CSkinButton* skinButton, HWND control)
        : CManagedElement(button, std::move(name)), skinButton_(skinButton), control_(control) {}
    HWND controlWindow() const override { return control_; }
    const std::string& caption() const { return caption_; }
    HBITMAP bitmap() const { return bitmap_.get(); }

  protected:
    bool loadKindSettings(SettingsCursor& cursor) override;

  private:
    CSkinButton* skinButton_;
    HWND control_;
    std::string caption_;
    std::string bitmapFile_;
    std::string toolTip_;
    ScopedBitmap bitmap_;
};

class CTextElement : public CManagedElement {
  public:
    CTextElement(std::string name, std::unique_ptr<CSkinStatic> control)
        : CManagedElement(text, std::move(name)), control_(std::move(control)) {}
    HWND controlWindow() const override { return control_->handle(); }
    const CSkinStatic* paintedStatic() const override { return control_.get(); }
    CSkinStatic& control() { return *control_; }
    const std::string& storedText() const { return text_; }
    void setStoredText(std::string text) { text_ = std::move(text); }

  protected:
    bool loadKindSettings(SettingsCursor& cursor) override;

  private:
    std::unique_ptr<CSkinStatic> control_;
    std::string text_;
};

class CCheckBoxElement : public CManagedElement {
  public:
    CCheckBoxElement(std::string name, CSkinCheckBox& control)
        : CManagedElement(checkBox, std::move(name)), control_(control) {}
    HWND controlWindow() const override { return control_.handle(); }
    const std::string& caption() const { return caption_; }

  protected:
    bool loadKindSettings(SettingsCursor& cursor) override;

  private:
    CSkinCheckBox& control_;
    std::string caption_;
};

// Shows a layout error of the skin: format with its "%s" replaced by name.
void showFormatted(const char* format, const std::string& name);
