#include <gtest/gtest.h>

#include "platform/Handles.h"
#include "platform/Registry.h"
#include "support/TestSupport.h"

namespace {
const char* const kTestKey = "Software\\NvTests\\Registry";
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

void setValue(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ScopedRegKey owned(key);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
}

class RegistryTest : public testing::Test {
  protected:
    void TearDown() override { deleteRegistryTree(HKEY_CURRENT_USER, "Software\\NvTests"); }
};
} // namespace

TEST_F(RegistryTest, ReadsOnlyStringValuesUnexpanded) {
    setValue("text", REG_SZ, "Hallo", 6);
    setValue("expand", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    DWORD number = 5;
    setValue("number", REG_DWORD, &number, sizeof(number));
    std::string big(2000, 'b');
    setValue("big", REG_SZ, big.c_str(), static_cast<DWORD>(big.size() + 1));
    EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, kTestKey, "text", "d"), "Hallo");
    EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, kTestKey, "expand", "d"), "%TEMP%\\x");
    EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, kTestKey, "number", "d"), "d");
    EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, kTestKey, "big", "d"), "d");
    EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, kTestKey, "missing", "d"), "d");
    EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, "Software\\NvTests\\Nothing", "text", "d"), "d");
}

TEST_F(RegistryTest, ListsSubKeysInEnumerationOrder) {
    std::vector<std::string> names{"keep"};
    EXPECT_FALSE(getRegistrySubKeys("", HKEY_CURRENT_USER, names));
    EXPECT_FALSE(getRegistrySubKeys("Software\\NvTests\\Missing", HKEY_CURRENT_USER, names));
    EXPECT_EQ(names.size(), 1u);
    for (const char* user : {"anna", "bert", "default"})
        setRegistryString(HKEY_CURRENT_USER, std::string(kTestKey) + "\\users\\" + user, "x", "1");
    ASSERT_TRUE(getRegistrySubKeys(std::string(kTestKey) + "\\users", HKEY_CURRENT_USER, names));
    EXPECT_EQ(names, (std::vector<std::string>{"keep", "anna", "bert", "default"}));
}

TEST(ShellFolders, DefaultsWhenValuesAreMissing) {
    RegistryValueGuard personal(HKEY_CURRENT_USER, kShellFolders, "Personal", std::nullopt);
    RegistryValueGuard appData(HKEY_CURRENT_USER, kShellFolders, "AppData", std::nullopt);
    RegistryValueGuard favorites(HKEY_CURRENT_USER, kShellFolders, "Favorites", std::nullopt);
    EXPECT_EQ(getPersonalFolder(), "c:\\");
    EXPECT_EQ(getAppDataFolder(), "c:\\");
    EXPECT_EQ(getFavoritesFolder(), "");
    RegistryValueGuard set(HKEY_CURRENT_USER, kShellFolders, "Favorites", std::string("C:\\Fav"));
    EXPECT_EQ(getFavoritesFolder(), "C:\\Fav");
}
