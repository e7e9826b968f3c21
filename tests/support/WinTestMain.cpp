#include <gtest/gtest.h>

#include <cstdio>

#include "support/TestSupport.h"

namespace {
// Makes sure no test can open a modal system message box: unexpected messages are recorded
// and reported as failures of the test that caused them.
class NoModalMessages : public testing::EmptyTestEventListener {
  public:
    void OnTestStart(const testing::TestInfo&) override {
        setMessageHandler([](const std::string& text, const std::string&) {
            ADD_FAILURE() << "unexpected message box: " << text;
        });
        setQuestionHandler([](const std::string& key, const std::string&) {
            ADD_FAILURE() << "unexpected question: " << key;
            return QuestionAnswer{2, false};
        });
    }
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
