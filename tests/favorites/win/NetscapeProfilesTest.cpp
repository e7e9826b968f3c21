#include "support/FavoritesFixture.h"

#include "favorites/NetscapeProfiles.h"

namespace {
const char* const kNavigator = "Software\\Netscape\\Netscape Navigator";
const std::string kUsers = std::string(kNavigator) + "\\biff\\users";
const char* const kMachineNavigator = "SOFTWARE\\Netscape\\Netscape Navigator";
// Netscape Navigator is a 32-bit program: its machine keys live in the 32-bit view.
constexpr REGSAM k32BitView = KEY_WOW64_32KEY;

// Netscape Navigator's keys of the prefix, written by the test and removed afterwards.
class NetscapeRegistry : public FavoritesTest {
  protected:
    NetscapeRegistry() { removeNetscape(); }
    ~NetscapeRegistry() override { removeNetscape(); }
    static void removeNetscape() {
        deleteRegistryTree(HKEY_CURRENT_USER, "Software\\Netscape");
        deleteRegistryTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape", k32BitView);
        deleteRegistryTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape", KEY_WOW64_64KEY);
    }
    static void user(const std::string& name, const std::string& server = {},
                     const std::string& popstate = {}) {
        setRegistryString(HKEY_CURRENT_USER, kUsers + "\\" + name, "email", name + "@example.org");
        if (!server.empty())
            setRegistryString(HKEY_CURRENT_USER, kUsers + "\\" + name, "defaultServer", server);
        if (!popstate.empty())
            setRegistryString(HKEY_CURRENT_USER, kUsers + "\\" + name + "\\servers\\" + server,
                              "popstatePath", popstate);
    }
    RegistryValueGuard programFiles{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                    "ProgramFilesDir", std::string("C:\\Programme"), k32BitView};
};
} // namespace

TEST_F(NetscapeRegistry, NothingInstalledGivesEmptyAnswers) {
    EXPECT_EQ(getNetscapeVersion(), "");
    EXPECT_EQ(getNetscapeCurrentUser(), "");
    EXPECT_EQ(getNetscapeInstallDirectory(), "");
    std::vector<std::string> users{"kept"};
    EXPECT_FALSE(getNetscapeUserList(users));
    EXPECT_EQ(users, std::vector<std::string>{"kept"});
    EXPECT_EQ(getUserBookmarkPath("anna"), "");
    EXPECT_EQ(resolveBookmarkPath("anna"), "");
    EXPECT_EQ(resolveBookmarkPath("default"), "C:\\Programme\\Netscape\\Users\\default\\bookmark.htm");
}

TEST_F(NetscapeRegistry, ReadsVersionUsersAndTheirBookmarkFiles) {
    setRegistryString(HKEY_LOCAL_MACHINE, kMachineNavigator, "CurrentVersion", "4.79 (de)", k32BitView);
    setRegistryString(HKEY_CURRENT_USER, std::string(kNavigator) + "\\biff", "CurrentUser", "anna");
    setRegistryString(HKEY_CURRENT_USER, std::string(kNavigator) + "\\Main", "Install Directory",
                      "C:\\Programme\\Netscape\\Communicator");
    user("anna", "pop.example.org", "C:\\Netscape\\Users\\anna\\mail\\popstate.dat");
    user("bernd", "mail.example.org");
    user("carla");
    user("default");

    EXPECT_EQ(getNetscapeVersion(), "4.79 (de)");
    EXPECT_EQ(getNetscapeCurrentUser(), "anna");
    EXPECT_EQ(getNetscapeInstallDirectory(), "C:\\Programme\\Netscape\\Communicator");
    std::vector<std::string> users;
    ASSERT_TRUE(getNetscapeUserList(users));
    EXPECT_EQ(users, (std::vector<std::string>{"anna", "bernd", "carla", "default"}));

    EXPECT_EQ(getUserBookmarkPath("anna"), "C:\\Netscape\\Users\\anna\\bookmark.htm");
    // A default server without a mail state file: no other fallback.
    EXPECT_EQ(getUserBookmarkPath("bernd"), "");
    EXPECT_EQ(getUserBookmarkPath("carla"), "C:\\Programme\\Netscape\\Users\\carla\\bookmark.htm");
    EXPECT_EQ(resolveBookmarkPath("default"), "C:\\Programme\\Netscape\\Users\\default\\bookmark.htm");
    EXPECT_EQ(resolveBookmarkPath("bernd"), "");
}

TEST_F(NetscapeRegistry, InstallDirectoryWithoutBackslash) {
    setRegistryString(HKEY_CURRENT_USER, std::string(kNavigator) + "\\Main", "Install Directory",
                      "Communicator");
    EXPECT_EQ(getUserBookmarkPath("anna"), "\\Users\\anna\\bookmark.htm");
}

TEST_F(NetscapeRegistry, NoProgramFilesFolderNoDefaultFile) {
    RegistryValueGuard none(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                            "ProgramFilesDir", std::nullopt, k32BitView);
    EXPECT_EQ(getDefaultBookmarkPath(), "");
    EXPECT_EQ(resolveBookmarkPath("default"), "");
}

// What a 32-bit installer writes (reg.exe in its 32-bit view) is found; the 64-bit view alone,
// where no 32-bit program writes, is not looked at.
TEST_F(NetscapeRegistry, MachineKeysComeFromThe32BitView) {
    setRegistryString(HKEY_LOCAL_MACHINE, kMachineNavigator, "CurrentVersion", "64", KEY_WOW64_64KEY);
    RegistryValueGuard programFiles64(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                      "ProgramFilesDir", std::string("C:\\Programme64"), KEY_WOW64_64KEY);
    EXPECT_EQ(getNetscapeVersion(), "");
    EXPECT_EQ(getDefaultBookmarkPath(), "C:\\Programme\\Netscape\\Users\\default\\bookmark.htm");

    ASSERT_EQ(runProcess("reg add \"HKLM\\SOFTWARE\\Netscape\\Netscape Navigator\" /v CurrentVersion "
                         "/d \"4.79 (de)\" /reg:32 /f"),
              0);
    EXPECT_EQ(getNetscapeVersion(), "4.79 (de)");
}
