#include "platform/QuestionSeam.h"

namespace {
QuestionHandler& currentHandler() {
    static QuestionHandler handler;
    return handler;
}
} // namespace

QuestionAnswer askQuestion(const std::string& messageKey, const std::string& insertText) {
    if (const QuestionHandler& handler = currentHandler()) return handler(messageKey, insertText);
    return QuestionAnswer{};
}

QuestionHandler setQuestionHandler(QuestionHandler handler) {
    QuestionHandler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}
