#include "FavoritesFixture.h"

#include "favorites/NetscapeProfiles.h"

namespace {
const char* const kNavigator = "Software\\Netscape\\Netscape Navigator";
const std::string kUsers = std::string(kNavigator) + "\\biff\\users";

// Netscape Navigator's keys of the prefix, written by the test and removed afterwards.
class NetscapeRegistry : public FavoritesTest {
  protected:
    NetscapeRegistry() {
        deleteRegistryTree(HKEY_CURRENT_USER, "Software\\Netscape");
        deleteRegistryTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape");
    }
    ~NetscapeRegistry() override {
        deleteRegistryTree(HKEY_CURRENT_USER, "Software\\Netscape");
        deleteRegistryTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape");
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
                                    "ProgramFilesDir", std::string("C:\\Programme")};
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
    setRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape\\Netscape Navigator", "CurrentVersion",
                      "4.79 (de)");
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
                            "ProgramFilesDir", std::nullopt);
    EXPECT_EQ(getDefaultBookmarkPath(), "");
    EXPECT_EQ(resolveBookmarkPath("default"), "");
}
