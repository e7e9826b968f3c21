#pragma once
#include "platform/Host.h"

// A test's host while it lives: installed on construction, the previous host back on
// destruction. What a test host does not take over goes on to the host it replaced, so that test
// hosts nest (a question script beside a message capture, both above the test main's guard).
class TestHost : public Host {
  public:
    TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    QuestionAnswer ask(const std::string& messageKey, const std::string& insertText) override;
    void tell(const std::string& text, const std::string& title) override;
    using Host::tell;
    bool chooseFiles(const FileChooserRequest& request, std::vector<std::string>& files) override;

  private:
    Host& previous_;
    HostScope scope_;
};
