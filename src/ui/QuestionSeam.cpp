#include "ui/QuestionSeam.h"

#include <windows.h>

#include "app/MessageSeam.h"
#include "config/SharedIni.h"

namespace {
QuestionHandler& currentHandler() {
    static QuestionHandler handler;
    return handler;
}

// Stand-in until the skinned message box is the default: a system message box with the
// section's message text (its "%s" filled in) and Yes/No buttons for questions.
QuestionAnswer plainMessageBox(const std::string& messageKey, const std::string& insertText) {
    std::string text = getLayoutSectionValue(messageKey, "Message");
    if (text.empty()) text = messageKey;
    if (size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, insertText);
    bool question = !getLayoutSectionValue(messageKey, "Yes").empty();
    int button = MessageBoxA(nullptr, text.c_str(), getAppTitle(), (question ? MB_YESNO : MB_OK) | MB_TASKMODAL);
    return QuestionAnswer{button, false};
}
} // namespace

QuestionAnswer askQuestion(const std::string& messageKey, const std::string& insertText) {
    if (const QuestionHandler& handler = currentHandler()) return handler(messageKey, insertText);
    return plainMessageBox(messageKey, insertText);
}

QuestionHandler setQuestionHandler(QuestionHandler handler) {
    QuestionHandler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}
