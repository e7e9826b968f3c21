#include "skin/ManagedElement.h"

#include <cstdio>

#include "config/ProcessStore.h"
#include "platform/Host.h"
#include "platform/ProgramPaths.h"
#include "platform/Trace.h"
#include "skin/SkinBitmap.h"

namespace {
// Owner-drawn and visible; unlike the classic 0x5000000B also a tab stop, so that every button
// can be reached from the keyboard.
constexpr LONG_PTR kOwnerDrawButtonStyle = 0x5001000B;
constexpr LONG_PTR kOwnerDrawCheckBoxStyle = 0x5001000B;

void hide(HWND control) {
    if (control) ShowWindow(control, SW_HIDE);
}
} // namespace

void showFormatted(const char* format, const std::string& name) {
    std::string text = format;
    if (size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, name);
    host().tell(text);
}

bool CManagedElement::loadSettings(const std::string& listName) {
    const std::string value = getLayoutSectionValue(listName, name_);
    if (value.empty()) {
        hide(controlWindow());
        trace("Error: element settings not found for element '%s'", name_.c_str());
        return false;
    }
    SettingsCursor cursor(value);
    bool end = false;
    cursor.nextToken(end); // the lead field is not used
    if (!parseRect(cursor, position_)) {
        showFormatted("Error: invalid position for element '%s'", name_);
        return false;
    }
    return loadKindSettings(cursor);
}

bool CPictureElement::loadKindSettings(SettingsCursor& cursor) {
    bool end = false;
    bitmapFile_ = cursor.nextToken(end);
    if (end) {
        showFormatted("Error: no bitmap file name specified for picture element '%s'", name());
        return false;
    }
    bitmap_ = loadSkinBitmap(getProgramDirectory() + bitmapFile_);
    if (bitmap_ && control_->exists())
        control_->send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_.get()));
    return true;
}

bool CButtonElement::loadKindSettings(SettingsCursor& cursor) {
    bool end = false;
    caption_ = cursor.nextToken(end);
    bitmapFile_ = cursor.nextToken(end);
    toolTip_ = cursor.nextToken(end);
    if (end) {
        showFormatted("Error: no bitmap file name specified for button element '%s'", name());
        return false;
    }
    if (skinButton_) bitmap_ = loadSkinBitmap(getProgramDirectory() + bitmapFile_);
    if (!control_ || !IsWindow(control_)) return true;
    if (skinButton_) {
        if (bitmap_) {
            SetWindowLongPtrA(control_, GWL_STYLE, kOwnerDrawButtonStyle);
            skinButton_->setBitmap(bitmap_.get());
        }
        if (!toolTip_.empty()) skinButton_->setToolTipText(toolTip_);
    }
    SetWindowTextA(control_, caption_.c_str());
    return true;
}

bool CTextElement::loadKindSettings(SettingsCursor& cursor) {
    bool end = false;
    std::string field = cursor.nextToken(end);
    if (end) {
        trace("Error: no bitmap file name specified for picture element '%s'", name().c_str());
        return false;
    }
    text_ = unescapeText(field);
    if (control_->exists()) control_->setText(text_);
    return true;
}

bool CCheckBoxElement::loadKindSettings(SettingsCursor& cursor) {
    bool end = false;
    caption_ = cursor.nextToken(end);
    if (end) {
        hide(control_.handle());
        trace("Error: no caption specified for check box element '%s'", name().c_str());
        return false;
    }
    if (control_.exists()) {
        control_.setStyle(kOwnerDrawCheckBoxStyle);
        control_.setText(caption_);
    }
    return true;
}
