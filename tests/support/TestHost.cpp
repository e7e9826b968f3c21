#include "support/TestHost.h"

TestHost::TestHost() : previous_(host()), scope_(*this) {}

QuestionAnswer TestHost::ask(const std::string& messageKey, const std::string& insertText) {
    return previous_.ask(messageKey, insertText);
}

void TestHost::tell(const std::string& text, const std::string& title) {
    previous_.tell(text, title);
}

bool TestHost::chooseFiles(const FileChooserRequest& request, std::vector<std::string>& files) {
    return previous_.chooseFiles(request, files);
}
