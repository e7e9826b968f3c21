#pragma once
#include <functional>
#include <string>

// Every question and skinned message of the operations and wizards goes through askQuestion:
// message key and insert text in, button code (1 OK, 2 Cancel, 6 Yes, 7 No) and check box
// state out. The program installs the skinned message box at start-up, nvtool its command-line
// answers and tests a scripted handler, so that nothing ever blocks; without a handler every
// question is answered Cancel.
struct QuestionAnswer {
    int button = 2;
    bool checked = false;
};

using QuestionHandler =
    std::function<QuestionAnswer(const std::string& messageKey, const std::string& insertText)>;

QuestionAnswer askQuestion(const std::string& messageKey, const std::string& insertText);
// Installs a handler and returns the previous one; an empty handler removes it.
QuestionHandler setQuestionHandler(QuestionHandler handler);
