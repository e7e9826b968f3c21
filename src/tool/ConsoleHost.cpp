#include "tool/ConsoleHost.h"

#include <cstdio>

#include "tool/Commands.h"

QuestionAnswer ConsoleHost::ask(const std::string& messageKey, const std::string& insertText) {
    const char* answered = answer_.button == kButtonYes ? "Yes" : "No";
    if (withPage_)
        std::fprintf(stderr, "nvtool: question %s \"%s\" answered %s%s\n", messageKey.c_str(),
                     insertText.c_str(), answered, answer_.checked ? " for all" : "");
    else
        std::fprintf(stderr, "nvtool: question %s answered %s\n", messageKey.c_str(), answered);
    return answer_;
}

void ConsoleHost::tell(const std::string& text, const std::string&) {
    std::fprintf(stderr, "nvtool: %s\n", oneLine(text).c_str());
}
