#pragma once
#include "platform/Host.h"

// nvtool's host: never a window. Messages become lines on standard error; every question is
// answered with the command line's answer (No unless it says otherwise) and named there; no
// file is ever chosen.
class ConsoleHost : public Host {
  public:
    // With the page: the line names the question's insert text and a "for all" answer too.
    explicit ConsoleHost(QuestionAnswer answer = {kButtonNo, false}, bool withPage = false)
        : answer_(answer), withPage_(withPage) {}

    QuestionAnswer ask(const std::string& messageKey, const std::string& insertText) override;
    void tell(const std::string& text, const std::string& title) override;
    using Host::tell;
    bool chooseFiles(const FileChooserRequest&, std::vector<std::string>&) override { return false; }

  private:
    QuestionAnswer answer_;
    bool withPage_;
};
