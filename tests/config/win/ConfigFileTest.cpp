#include <gtest/gtest.h>

#include "config/Blowfish.h"
#include "config/ConfigFile.h"
#include "config/IniFile.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "support/TestSupport.h"

namespace {
std::string enciphered(std::string text) {
    encipherContent(text);
    return text;
}
} // namespace

TEST(ConfigFile, ReadsPlainAndEncipheredFiles) {
    TempDir dir;
    const std::string text = "[S]\r\nk=\"Zur\xFC"
                             "ck\"\r\n";
    writeTextFile(dir.file("plain.ini"), text);
    writeTextFile(dir.file("secret.ini"), enciphered(text));
    bool encrypted = true;
    EXPECT_EQ(readFile(dir.file("plain.ini"), &encrypted), text);
    EXPECT_FALSE(encrypted);
    EXPECT_EQ(readFile(dir.file("secret.ini"), &encrypted), text);
    EXPECT_TRUE(encrypted);
    EXPECT_FALSE(isEncryptedFile(dir.file("plain.ini")));
    EXPECT_TRUE(isEncryptedFile(dir.file("secret.ini")));
    EXPECT_FALSE(isEncryptedFile(dir.file("missing.ini")));

    // Content decides, never the name: a form feed makes a plain file "enciphered".
    writeTextFile(dir.file("formfeed.txt"), "[S]\r\n\fk=\"v\"\r\n");
    EXPECT_TRUE(isEncryptedFile(dir.file("formfeed.txt")));
    EXPECT_NE(readFile(dir.file("formfeed.txt")), "[S]\r\n\fk=\"v\"\r\n");
}

TEST(ConfigFile, ReadFailureNamesTheFileInGerman) {
    MessageCapture messages;
    TempDir dir;
    EXPECT_FALSE(readFile(dir.file("none.ini")).has_value());
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].rfind("Fehler beim \xD6"
                                        "ffnen der Datei:\n\"" +
                                            dir.file("none.ini") + "\"\n\n",
                                        0),
              0u);
    EXPECT_EQ(messages.titles()[0], "ImportExport");
}

TEST(ConfigFile, WritesEncipheredAndReplacesOnlyAfterACompleteWrite) {
    TempDir dir;
    std::string path = dir.file("user.ini");
    std::string content = "[A]\r\nk=\"1\"\r\n";
    std::string buffer = content;
    ASSERT_TRUE(writeFile(path, buffer));
    EXPECT_EQ(readTextFile(path), enciphered(content));

    // A read-only file is still replaced.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    std::string second = "[B]\r\nk=\"2\"\r\n";
    buffer = second;
    ASSERT_TRUE(writeFile(path, buffer));
    EXPECT_EQ(readFile(path), second);

    // While another program holds the file, the write fails and the old file stays intact,
    // and no temporary file is left behind.
    {
        ScopedHandle holder(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        MessageCapture messages;
        buffer = "[C]\r\nk=\"3\"\r\n";
        EXPECT_FALSE(writeFile(path, buffer));
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_EQ(messages.texts()[0].rfind("Fehler beim Schreiben in die Datei:\n\"" + path + "\"", 0), 0u);
    }
    EXPECT_EQ(readFile(path), second);
    WIN32_FIND_DATAA data;
    int files = 0;
    ScopedFind find(FindFirstFileA(dir.file("*").c_str(), &data));
    do files += !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileA(find.get(), &data));
    EXPECT_EQ(files, 1);
}

TEST(ConfigFile, RefusesDocumentsOverTheLimit) {
    TempDir dir;
    std::string path = dir.file("user.ini");
    std::string small = "[A]\r\nk=\"1\"\r\n", buffer = small;
    ASSERT_TRUE(writeFile(path, buffer));
    MessageCapture messages;
    buffer = std::string(1048576, 'x');
    EXPECT_FALSE(writeFile(path, buffer));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find(path), std::string::npos);
    EXPECT_EQ(readFile(path), small);
    buffer = std::string(1048575, 'x');
    EXPECT_TRUE(writeFile(path, buffer));
}

TEST(IniFile, ReadsAFileAndSavesItEncipheredWithoutExcludedSections) {
    TempDir dir;
    std::string path = dir.file("plain.ini");
    writeTextFile(path, "[Layout_X]\r\na=\"1\"\r\n[User]\r\nb=\"2\"\r\n");
    CIniFile ini(path);
    ASSERT_TRUE(ini.parseIniFile(false));
    EXPECT_EQ(ini.getValue("user", "b", "d"), "2");
    EXPECT_EQ(ini.getValue("User", "B", "d"), "d");
    EXPECT_EQ(ini.getValue("", "ignored", "d"), "Layout_X\tUser");
    ini.markSections("Layout");
    EXPECT_FALSE(ini.setValue("User", "_hidden", "3")); // the reader would skip its line
    ini.setValue("User", "c", "3");
    ASSERT_TRUE(ini.saveIniFile());
    EXPECT_TRUE(isEncryptedFile(path));
    EXPECT_EQ(readFile(path), "[User]\r\nb=\"2\"\r\nc=\"3\"\r\n");

    MessageCapture messages;
    CIniFile missing(dir.file("missing.ini"));
    EXPECT_FALSE(missing.parseIniFile(false));
    EXPECT_EQ(messages.texts().size(), 1u);
    CIniFile noFile;
    EXPECT_FALSE(noFile.saveIniFile());
}

TEST(IniFile, ExpandsPlaceholdersFromTheRegistry) {
    const char* shell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    RegistryValueGuard personal(HKEY_CURRENT_USER, shell, "Personal", std::string("D:\\Eigene"));
    RegistryValueGuard appData(HKEY_CURRENT_USER, shell, "AppData", std::string("D:\\AppData"));
    RegistryValueGuard user(HKEY_CURRENT_USER, "Software\\Quendal\\Quendal_Software_5\\Browser", "CurrentUser",
                            std::string("usr0042"));
    TempDir dir;
    std::string path = dir.file("x.ini");
    writeTextFile(path, "[S]\r\np=\"%PERSONAL%\\a\"\r\nu=\"%CURRENTUSER%.ini\"\r\nn=\"50% %APPDATA%\"\r\n");
    CIniFile ini(path); // constructing a document makes the next expanding parse read the values
    ASSERT_TRUE(ini.parseIniFile(true));
    EXPECT_EQ(ini.getValue("S", "p", ""), "D:\\Eigene\\a");
    EXPECT_EQ(ini.getValue("S", "u", ""), "usr0042.ini");
    EXPECT_EQ(ini.getValue("S", "n", ""), "50% %APPDATA%");
}
