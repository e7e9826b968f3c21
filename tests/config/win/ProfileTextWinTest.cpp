#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "config/ProfileText.h"
#include "platform/FileSystem.h"
#include "support/TestSupport.h"

namespace {
// The names in a list of zero-terminated names, as the profile functions return them.
std::vector<std::string> namesIn(const std::vector<char>& buffer) {
    std::vector<std::string> names;
    for (const char* name = buffer.data(); *name; name += std::strlen(name) + 1)
        names.emplace_back(name);
    return names;
}

std::vector<std::string> profileNames(const char* section, const std::string& path) {
    std::vector<char> buffer(1 << 16, '\0');
    if (section)
        GetPrivateProfileStringA(section, nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                 path.c_str());
    else
        GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
    return namesIn(buffer);
}

std::string profileValue(const std::string& section, const std::string& key, const std::string& path) {
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer), path.c_str());
    return buffer;
}

// Every value of the file, and the lookups asked for besides, as the profile functions give them.
void expectSameAnswers(const std::string& path,
                       const std::vector<std::pair<std::string, std::string>>& asked) {
    CProfileText text(readWholeFile(path).value_or(std::string()));
    size_t compared = 0;
    for (const std::string& section : profileNames(nullptr, path))
        for (const std::string& key : profileNames(section.c_str(), path)) {
            EXPECT_EQ(text.value(section, key), profileValue(section, key, path)) << section << " / " << key;
            ++compared;
        }
    for (const auto& [section, key] : asked)
        EXPECT_EQ(text.value(section, key), profileValue(section, key, path)) << section << " / " << key;
    EXPECT_GT(compared + asked.size(), 10u);
}
} // namespace

// The skin lookups read the skin file once; they must answer what the profile functions answer.
TEST(ProfileText, AnswersAsTheProfileFunctionsForTheDefaultSkin) {
    expectSameAnswers(testExecutableDirectory() + "Skin0000.ini",
                      {{"layout", "favimportexportassistent"}, {"Layout", "Missing"}, {"Missing", "Layout"}});
}

TEST(ProfileText, AnswersAsTheProfileFunctionsForOddLines) {
    TempDir dir;
    const std::string path = dir.file("odd.ini");
    writeTextFile(path, "Before=1\r\n[A]\r\n  Title =  \"Seiten archiv\"  \r\n\tSingle='x'\r\nHalf=\"x\r\n"
                        "Mixed=\"x'\r\nLone=\"\r\nEmpty=\r\nInner=a\"b\"\r\nKey=first\r\nkey=second\r\n"
                        "Bare\r\nBare=value\r\n[a]\r\nOther=x\r\n[B]x]\r\nK=v\r\n[\xC4nderung]\r\n\xC4=1\r\n"
                        "[Long]\r\nLong=" +
                            std::string(300, 'L') + "\r\nQuoted=\"" + std::string(254, 'q') +
                            "\"\r\nEdge=\"" + std::string(255, 'e') + "\"\r\n");
    expectSameAnswers(path, {{"A", "Title"},
                             {" a ", " title "},
                             {"A", "Bare"},
                             {"A", "Other"},
                             {"B]x", "K"},
                             {"", "Before"},
                             {"\xE4nderung", "\xE4"},
                             {"Long", "Long"},
                             {"Long", "Quoted"},
                             {"Long", "Edge"}});
}
