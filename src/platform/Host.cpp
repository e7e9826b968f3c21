#include "platform/Host.h"

#include <windows.h>

static_assert(kButtonOk == IDOK && kButtonCancel == IDCANCEL && kButtonYes == IDYES && kButtonNo == IDNO);

namespace {
class UnattendedHost : public Host {
  public:
    QuestionAnswer ask(const std::string&, const std::string&) override { return QuestionAnswer{}; }
    void tell(const std::string& text, const std::string& title) override { showSystemMessage(text, title); }
    bool chooseFiles(const FileChooserRequest&, std::vector<std::string>&) override { return false; }
};

Host*& installedHost() {
    static UnattendedHost unattended;
    static Host* installed = &unattended;
    return installed;
}
} // namespace

Host& host() {
    return *installedHost();
}

HostScope::HostScope(Host& installed) : previous_(installedHost()) {
    installedHost() = &installed;
}

HostScope::~HostScope() {
    installedHost() = previous_;
}

void showSystemMessage(const std::string& text, const std::string& title) {
    MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_TASKMODAL);
}
