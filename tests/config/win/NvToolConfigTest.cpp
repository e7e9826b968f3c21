#include <gtest/gtest.h>

#include <random>

#include "config/Blowfish.h"
#include "support/TestSupport.h"

TEST(NvToolConfig, EncryptThenDecryptGivesAnyFileBack) {
    TempDir dir;
    std::mt19937 random(11);
    for (size_t length : {0u, 5u, 8u, 13u, 4096u, 100003u}) {
        std::string content(length, '\0');
        for (char& c : content) c = static_cast<char>(random());
        writeTextFile(dir.file("in.bin"), content);
        EXPECT_EQ(nvtool("config encrypt \"" + dir.file("in.bin") + "\" \"" + dir.file("enc.bin") + "\""), "0");
        std::string enciphered = content;
        encipherContent(enciphered);
        EXPECT_EQ(readTextFile(dir.file("enc.bin")), enciphered) << length;
        EXPECT_EQ(nvtool("config decrypt \"" + dir.file("enc.bin") + "\" \"" + dir.file("out.bin") + "\""), "0");
        EXPECT_EQ(readTextFile(dir.file("out.bin")), content) << length;
    }
}

TEST(NvToolConfig, ShowPrintsWhatTheParserReads) {
    TempDir dir;
    std::string longLine = "long=\"" + std::string(3070, 'x') + "\"";
    std::string text = "[Alpha]\r\nquote = \"a \"inner\" b\"\r\n_hidden=\"1\"\r\nplain=value\r\n[alpha]\r\n"
                       "quote=\"second\"\r\nnew=\"n\"\r\n[Beta]\nlf=\"only\"\n[Gamma]\r\ng=\"1\"\r\n" +
                       longLine + "\r\n[Delta]\r\nd=\"lost\"\r\n";
    writeTextFile(dir.file("plain.ini"), text);
    std::string output;
    EXPECT_EQ(nvtool("config show \"" + dir.file("plain.ini") + "\"", &output), "0");
    // "[Beta]\nlf=...\n[Gamma]" is one line, a header named Beta: g lands in Beta. The over-long
    // line ends the parse.
    const std::string expected = "[Alpha]\r\nquote=\"second\"\r\nnew=\"n\"\r\n[Beta]\r\ng=\"1\"\r\n";
    EXPECT_EQ(output, expected);

    std::string enciphered = text;
    encipherContent(enciphered);
    writeTextFile(dir.file("secret.ini"), enciphered);
    EXPECT_EQ(nvtool("config show \"" + dir.file("secret.ini") + "\"", &output), "0");
    EXPECT_EQ(output, expected);
}

TEST(NvToolConfig, UsageAndFailuresHaveTheirExitCodes) {
    TempDir dir;
    EXPECT_EQ(nvtool(""), "2");
    EXPECT_EQ(nvtool("config"), "2");
    EXPECT_EQ(nvtool("config show"), "2");
    EXPECT_EQ(nvtool("config encrypt a"), "2");
    EXPECT_EQ(nvtool("nonsense"), "2");
    EXPECT_EQ(nvtool("config show \"" + dir.file("missing.ini") + "\""), "1");
    EXPECT_EQ(nvtool("config decrypt \"" + dir.file("missing.ini") + "\" \"" + dir.file("o") + "\""), "1");
}
