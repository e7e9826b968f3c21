#include "ui/MessageBoxDlg.h"

#include <cstdio>
#include <vector>

#include "ui/ResourceIds.h"

namespace {
// The push buttons in the order of the dialog template, which is their tab order.
constexpr int kButtonOrder[] = {IDOK, IDCANCEL, IDYES, IDNO};

// printf-style formatting of the whole message with the insert text as its only argument. A
// skin text with any other conversion than one "%s" is not handed to the formatter (it would
// read arguments that do not exist); its "%s" places are filled and the rest stays as written.
std::string formatMessage(const std::string& text, const std::string& insert) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        char next = text[i + 1];
        if (next == 's')
            out += insert;
        else if (next == '%')
            out.push_back('%');
        else {
            out.push_back('%');
            continue;
        }
        ++i;
    }
    return out;
}
} // namespace

CMessageBoxDlg::CMessageBoxDlg(std::string section, std::string insertText, HWND owner)
    : CDialog(IDD_MESSAGE_BOX, owner), section_(std::move(section)), insertText_(std::move(insertText)) {}

CMessageBoxDlg::~CMessageBoxDlg() = default;

bool CMessageBoxDlg::onInitDialog() {
    okButton_.subclassItem(handle(), IDOK);
    cancelButton_.subclassItem(handle(), IDCANCEL);
    yesButton_.subclassItem(handle(), IDYES);
    noButton_.subclassItem(handle(), IDNO);
    checkBox_.subclassItem(handle(), IDC_MESSAGE_CHECKBOX);

    elements_ = std::make_unique<CManagedElementList>(section_, handle());
    elements_->addPictureElement("BackgroundBitmap");
    elements_->addTextElement("Message");
    elements_->addButtonElement("Cancel", cancelButton_);
    elements_->addButtonElement("Ok", okButton_);
    elements_->addButtonElement("Yes", yesButton_);
    elements_->addButtonElement("No", noButton_);
    elements_->addCheckBoxElement("CheckBox", checkBox_);
    elements_->loadLayout(false);
    elements_->applyLayout();

    show(false);
    invalidate(true);
    centerOver(GetWindow(handle(), GW_OWNER));
    insertIntoMessage();
    show(true);
    return true;
}

void CMessageBoxDlg::insertIntoMessage() {
    CTextElement* message = elements_->findText("Message");
    if (!message || message->storedText().find("%s") == std::string::npos) return;
    message->setStoredText(formatMessage(message->storedText(), insertText_));
    message->control().setText(message->storedText());
}

void CMessageBoxDlg::finish(int code) {
    checkState_ = checkBox_.getCheck() ? 1 : 0;
    endDialog(code);
}

bool CMessageBoxDlg::onCommand(int id, int notifyCode, HWND) {
    if (notifyCode != BN_CLICKED) return false;
    if (id == IDOK || id == IDCANCEL || id == IDYES || id == IDNO) {
        finish(id);
        return true;
    }
    return false;
}

bool CMessageBoxDlg::onMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_ERASEBKGND || !elements_) return false;
    if (!elements_->paintElements(reinterpret_cast<HDC>(wParam))) return false;
    result = 1;
    return true;
}

int CMessageBoxDlg::enterButton() const {
    const HWND focus = GetFocus();
    int first = 0;
    for (int id : kButtonOrder) {
        HWND button = GetDlgItem(handle(), id);
        if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) continue;
        if (button == focus) return id;
        if (!first) first = id;
    }
    return first ? first : IDOK;
}

bool CMessageBoxDlg::preTranslateMessage(MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.wParam == VK_RETURN) {
        finish(enterButton());
        return true;
    }
    if (message.wParam == VK_ESCAPE) {
        finish(IDCANCEL);
        return true;
    }
    return false;
}

QuestionAnswer runMessageBox(const std::string& messageKey, const std::string& insertText) {
    CMessageBoxDlg dialog(messageKey, insertText);
    int button = static_cast<int>(dialog.doModal());
    return QuestionAnswer{button, dialog.checkState() == 1};
}
