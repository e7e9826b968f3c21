#include <gtest/gtest.h>

#include "app/ImportExportApp.h"
#include "platform/Host.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"

namespace {
const char* const kSuiteKey = "Software\\Quendal\\Quendal_Software_5\\Browser";

const char* oleState() {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    return CoGetApartmentType(&type, &qualifier) == S_OK && (type == APTTYPE_STA || type == APTTYPE_MAINSTA)
               ? "on"
               : "off";
}

// Runs the start-up sequence in a child process with switches on its command line; its output.
std::string runStartUp(const std::string& switches) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, sizeof(module));
    SetEnvironmentVariableA("NV_CHILD", "startup");
    std::string output;
    runProcess(std::string("\"") + module + "\" --gtest_filter=StartUp.ChildRunsTheStartUpSequence " +
                   switches,
               &output);
    SetEnvironmentVariableA("NV_CHILD", nullptr);
    return output;
}
} // namespace

TEST(StartUp, MissingCurrentUserShowsTheFixedMessageAndNoWizard) {
    RegistryValueGuard user(HKEY_CURRENT_USER, kSuiteKey, "CurrentUser", std::nullopt);
    MessageCapture messages;
    int wizards = 0;
    EXPECT_FALSE(CImportExportApp([&](RunMode) { ++wizards; }, messages).InitInstance());
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "Eine notwendige Konfiguration f\xFC"
                                   "r den Quendal Browser (\"CurrentUser\"), welche durch den "
                                   "Benutzermanager angelegt wird, fehlt.\nBitte starten Sie den Browser erneut.");
    EXPECT_EQ(wizards, 0);

    RegistryValueGuard empty(HKEY_CURRENT_USER, kSuiteKey, "CurrentUser", std::string());
    EXPECT_FALSE(CImportExportApp([&](RunMode) { ++wizards; }, messages).InitInstance());
    EXPECT_EQ(messages.texts().size(), 2u);
}

TEST(StartUp, PlugsTheSkinnedMessageBoxIntoTheQuestionSeam) {
    // A user, so that the start-up shows nothing; the test's command line selects no wizard.
    RegistryValueGuard user(HKEY_CURRENT_USER, kSuiteKey, "CurrentUser", std::string("usr0001"));
    CImportExportApp app;
    EXPECT_FALSE(app.InitInstance());
    SkinInStore skin;
    skin.addDefaultSkin();
    QuestionAnswer answer;
    {
        ModalDriver driver({[](HWND box) {
            clickButton(box, IDYES);
            return true;
        }});
        answer = host().ask("MessageBoxArchivReplace", "Reisen\\Rom.htm");
    }
    EXPECT_EQ(answer.button, IDYES); // the test's own handler would have answered Cancel
}

TEST(StartUp, WithACurrentUserTheCommandLineSelectsNothingHere) {
    // The test's own command line holds neither switch: no wizard runs and nothing is shown.
    RegistryValueGuard user(HKEY_CURRENT_USER, kSuiteKey, "CurrentUser", std::string("usr0001"));
    int wizards = 0;
    TestHost guarded; // a message or question would fail the test
    EXPECT_FALSE(CImportExportApp([&](RunMode) { ++wizards; }, guarded).InitInstance());
    EXPECT_EQ(wizards, 0);
}

// The child side of the next test: the start-up sequence with this process's command line.
TEST(StartUp, ChildRunsTheStartUpSequence) {
    if (!isChildRole("startup")) GTEST_SKIP() << "runs as a child process only";
    MessageCapture quiet;
    CImportExportApp(
        [](RunMode mode) { std::printf("wizard %d, OLE %s\n", static_cast<int>(mode), oleState()); }, quiet)
        .InitInstance();
    std::printf("after the start-up, OLE %s\n", oleState());
}

TEST(StartUp, TheCommandLineSelectsTheRunModeBySubstring) {
    RegistryValueGuard user(HKEY_CURRENT_USER, kSuiteKey, "CurrentUser", std::string("usr0001"));
    auto run = [&](const std::string& switches) {
        std::string output = runStartUp(switches);
        size_t at = output.find("wizard ");
        return at == std::string::npos ? std::string("none") : output.substr(at + 7, 1);
    };
    EXPECT_EQ(run("-Favorites"), "1");
    EXPECT_EQ(run("-Archiv -Favorites"), "1");
    EXPECT_EQ(run("-Archive"), "2");
    EXPECT_EQ(run("-favorites"), "none");
    EXPECT_EQ(run(""), "none");
}

// The OLE picture loader of the skin images needs OLE on the GUI thread; Windows, unlike Wine,
// refuses to load without it.
TEST(StartUp, OleIsInitialisedForTheWizardAndReleasedAtTheEnd) {
    RegistryValueGuard user(HKEY_CURRENT_USER, kSuiteKey, "CurrentUser", std::string("usr0001"));
    std::string output = runStartUp("-Archiv");
    EXPECT_NE(output.find("wizard 2, OLE on"), std::string::npos) << output;
    EXPECT_NE(output.find("after the start-up, OLE off"), std::string::npos) << output;
}
