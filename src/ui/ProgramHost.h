#pragma once
#include "platform/Host.h"

// The program's host: the skinned message box answers the questions, plain messages are system
// message boxes, and files are chosen in the system's open-file dialog.
class ProgramHost : public Host {
  public:
    QuestionAnswer ask(const std::string& messageKey, const std::string& insertText) override;
    void tell(const std::string& text, const std::string& title) override;
    using Host::tell;
    bool chooseFiles(const FileChooserRequest& request, std::vector<std::string>& files) override;
};
