#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "support/TestSupport.h"

namespace {
// The host beneath every test: no test can open a modal system message box or file dialog.
// Unexpected questions, messages and file dialogs are reported as failures of the test that
// caused them.
class NoModalWindows : public Host {
  public:
    QuestionAnswer ask(const std::string& messageKey, const std::string&) override {
        ADD_FAILURE() << "unexpected question: " << messageKey;
        return QuestionAnswer{IDCANCEL, false};
    }
    void tell(const std::string& text, const std::string&) override {
        ADD_FAILURE() << "unexpected message box: " << text;
    }
    bool chooseFiles(const FileChooserRequest& request, std::vector<std::string>&) override {
        ADD_FAILURE() << "unexpected file dialog: " << request.title;
        return false;
    }
};

class NoModalMessages : public testing::EmptyTestEventListener {
  public:
    void OnTestStart(const testing::TestInfo&) override { scope_.emplace(host_); }
    void OnTestEnd(const testing::TestInfo&) override { scope_.reset(); }

  private:
    NoModalWindows host_;
    std::optional<HostScope> scope_;
};
// With NV_TEST_TRACE naming a file, every test's start is appended to it: when a run hangs,
// its last line names the test that hangs.
class TraceTestStarts : public testing::EmptyTestEventListener {
  public:
    void OnTestStart(const testing::TestInfo& info) override {
        char path[MAX_PATH] = {};
        if (!GetEnvironmentVariableA("NV_TEST_TRACE", path, sizeof(path))) return;
        if (FILE* file = std::fopen(path, "a")) {
            std::fprintf(file, "%s.%s\n", info.test_suite_name(), info.name());
            std::fclose(file);
        }
    }
};
} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new NoModalMessages);
    testing::UnitTest::GetInstance()->listeners().Append(new TraceTestStarts);
    return RUN_ALL_TESTS();
}
