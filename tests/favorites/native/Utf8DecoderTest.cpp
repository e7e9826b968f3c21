#include <gtest/gtest.h>

#include <string>

#include "favorites/Utf8Decoder.h"

namespace {
struct Decoded {
    int result;
    std::u16string text;
};

Decoded decode(const std::string& bytes, size_t capacity = 64) {
    std::u16string output(capacity + 1, u'\xFFFF');
    size_t units = capacity;
    int result = decodeUtf8(reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<long>(bytes.size()), output.data(), units);
    if (result != kUtf8Success) return {result, {}};
    EXPECT_EQ(output[units], u'\xFFFF') << "wrote past the reported units";
    return {result, output.substr(0, units)};
}
} // namespace

TEST(DecodeUtf8, DecodesAllSequenceLengths) {
    Decoded ascii = decode("Hallo");
    EXPECT_EQ(ascii.result, kUtf8Success);
    EXPECT_EQ(ascii.text, u"Hallo");
    EXPECT_EQ(decode("f\xC3\xBCr").text, u"f\u00FCr");
    EXPECT_EQ(decode("\xE2\x82\xAC").text, u"\u20AC");
    EXPECT_EQ(decode("\xF0\x9F\x98\x80").text, u"\U0001F600");
    EXPECT_EQ(decode("\xF4\x8F\xBF\xBF").text, std::u16string({0xDBFF, 0xDFFF}));
    EXPECT_EQ(decode("\xC2\x80").text, u"\u0080");
    EXPECT_EQ(decode("\xE0\xA0\x80").text, u"\u0800");
    // The low half of the surrogate range passes as a three-byte form.
    EXPECT_EQ(decode("\xED\xB0\x80").text, std::u16string(1, char16_t(0xDC00)));
}

TEST(DecodeUtf8, ReportsEachKindOfInvalidInput) {
    std::u16string output(8, 0);
    size_t units = 8;
    EXPECT_EQ(decodeUtf8(reinterpret_cast<const unsigned char*>("x"), 0, output.data(), units),
              kUtf8EmptyInput);
    EXPECT_EQ(decodeUtf8(reinterpret_cast<const unsigned char*>("x"), -5, output.data(), units),
              kUtf8EmptyInput);
    EXPECT_EQ(units, 8u);

    EXPECT_EQ(decode("a\x80").result, kUtf8InvalidByte);
    EXPECT_EQ(decode("\xBF").result, kUtf8InvalidByte);
    EXPECT_EQ(decode("\xC3\x28").result, kUtf8InvalidByte);
    EXPECT_EQ(decode("\xE2\x82\xC0").result, kUtf8InvalidByte);
    EXPECT_EQ(decode("\xC1\xBF").result, kUtf8Overlong);
    EXPECT_EQ(decode("\xC0\x80").result, kUtf8Overlong);
    EXPECT_EQ(decode("\xE0\x9F\xBF").result, kUtf8Overlong);
    EXPECT_EQ(decode("\xED\xA0\x80").result, kUtf8HighSurrogate);
    EXPECT_EQ(decode("\xED\xAF\xBF").result, kUtf8HighSurrogate);
    EXPECT_EQ(decode("\xF0\x8F\xBF\xBF").result, kUtf8InvalidPlane);
    EXPECT_EQ(decode("\xF4\x90\x80\x80").result, kUtf8InvalidPlane);
    EXPECT_EQ(decode("\xF7\xBF\xBF\xBF").result, kUtf8InvalidPlane);
    EXPECT_EQ(decode("\xF8\x80\x80\x80\x80").result, kUtf8InvalidLead);
    EXPECT_EQ(decode("\xFF").result, kUtf8InvalidLead);
    EXPECT_EQ(decode("ab\xC3").result, kUtf8Truncated);
    EXPECT_EQ(decode("\xE2\x82").result, kUtf8Truncated);
    EXPECT_EQ(decode("\xF0\x9F\x98").result, kUtf8Truncated);
}

TEST(DecodeUtf8, StopsWhenTheOutputIsFull) {
    EXPECT_EQ(decode("abc", 3).text, u"abc");
    EXPECT_EQ(decode("abcd", 3).result, kUtf8OutputFull);
    EXPECT_EQ(decode("\xC3\xBC\xC3\xBC", 1).result, kUtf8OutputFull);
    // A surrogate pair needs two free units.
    EXPECT_EQ(decode("a\xF0\x9F\x98\x80", 2).result, kUtf8OutputFull);
    EXPECT_EQ(decode("a\xF0\x9F\x98\x80", 3).text, u"a\U0001F600");
    EXPECT_EQ(decode("x", 0).result, kUtf8OutputFull);
}
