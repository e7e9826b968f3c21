#include <gtest/gtest.h>

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
} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new NoModalMessages);
    return RUN_ALL_TESTS();
}
