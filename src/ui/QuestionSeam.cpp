#include "ui/QuestionSeam.h"

#include "ui/MessageBoxDlg.h"

namespace {
QuestionHandler& currentHandler() {
    static QuestionHandler handler;
    return handler;
}

// The skinned message box of the message key, run modally.
QuestionAnswer skinnedMessageBox(const std::string& messageKey, const std::string& insertText) {
    CMessageBoxDlg dialog(messageKey, insertText);
    int button = static_cast<int>(dialog.doModal());
    return QuestionAnswer{button, dialog.checkState() == 1};
}
} // namespace

QuestionAnswer askQuestion(const std::string& messageKey, const std::string& insertText) {
    if (const QuestionHandler& handler = currentHandler()) return handler(messageKey, insertText);
    return skinnedMessageBox(messageKey, insertText);
}

QuestionHandler setQuestionHandler(QuestionHandler handler) {
    QuestionHandler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}
