#include <gtest/gtest.h>

#include "platform/Host.h"
#include "support/TestSupport.h"

// Hosts nest: the inner one takes what it overrides and passes the rest on, and when it goes the
// one before it is back.
TEST(Host, AScopedHostPassesOnWhatItLeavesAloneAndPutsThePreviousHostBack) {
    MessageCapture outer;
    {
        QuestionScript inner({IDYES, true});
        host().tell("while the script answers");
        const QuestionAnswer answer = host().ask("MessageBoxArchivReplace", "Rom");
        EXPECT_EQ(answer.button, IDYES);
        EXPECT_TRUE(answer.checked);
        ASSERT_EQ(inner.asked().size(), 1u);
        EXPECT_EQ(inner.asked()[0].insert, "Rom");
        {
            MessageCapture innermost;
            host().tell("innermost");
            EXPECT_EQ(innermost.texts(), std::vector<std::string>{"innermost"});
        }
    }
    host().tell("after the script");
    EXPECT_EQ(outer.texts(), (std::vector<std::string>{"while the script answers", "after the script"}));
    EXPECT_EQ(outer.titles()[1], "ImportExport");
}
