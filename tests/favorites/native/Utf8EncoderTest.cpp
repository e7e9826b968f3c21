#include <gtest/gtest.h>

#include "favorites/Utf8Decoder.h"
#include "favorites/Utf8Encoder.h"

TEST(EncodeUtf8, EncodesAllSequenceLengths) {
    EXPECT_EQ(encodeUtf8(u""), "");
    EXPECT_EQ(encodeUtf8(u"Hallo\r\n"), "Hallo\r\n");
    EXPECT_EQ(encodeUtf8(u"\u007F\u0080\u00FC\u07FF"), "\x7F\xC2\x80\xC3\xBC\xDF\xBF");
    EXPECT_EQ(encodeUtf8(u"\u0800\u20AC\uFFFF"), "\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF");
    EXPECT_EQ(encodeUtf8(u"\U00010000\U0001F600\U0010FFFF"),
              "\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
}

TEST(EncodeUtf8, ReplacesASurrogateWithoutItsPartner) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(encodeUtf8(std::u16string{u'a', 0xD83D, u'b'}), "a" + replacement + "b");
    EXPECT_EQ(encodeUtf8(std::u16string{0xDE00, 0xD83D}), replacement + replacement);
}

TEST(EncodeUtf8, ReadsBackWithTheDecoder) {
    std::u16string all;
    for (char32_t codePoint = 1; codePoint < 0x110000; codePoint += 97) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
        if (codePoint < 0x10000) {
            all += static_cast<char16_t>(codePoint);
        } else {
            all += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            all += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        }
    }
    std::string bytes = encodeUtf8(all);
    std::u16string decoded(all.size(), u'\0');
    size_t units = decoded.size();
    ASSERT_EQ(decodeUtf8(reinterpret_cast<const unsigned char*>(bytes.data()),
                         static_cast<long>(bytes.size()), decoded.data(), units),
              kUtf8Success);
    EXPECT_EQ(decoded.substr(0, units), all);
}
