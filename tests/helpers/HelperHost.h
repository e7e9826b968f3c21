#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/Host.h"

// The host of a helper program, installed while it lives: each message goes to the printer,
// every question is answered No, and no file is ever chosen.
class HelperHost : public Host {
  public:
    explicit HelperHost(std::function<void(const std::string& text)> print)
        : print_(std::move(print)), scope_(*this) {}

    QuestionAnswer ask(const std::string&, const std::string&) override { return {kButtonNo, false}; }
    void tell(const std::string& text, const std::string&) override { print_(text); }
    using Host::tell;
    bool chooseFiles(const FileChooserRequest&, std::vector<std::string>&) override { return false; }

  private:
    std::function<void(const std::string& text)> print_;
    HostScope scope_;
};
