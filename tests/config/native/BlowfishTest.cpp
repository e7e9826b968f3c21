#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "config/Blowfish.h"
#include "config/BlowfishTables.h"

namespace {
// A literal rendering of the variant, step by step with its exchanges, to check the unrolled
// and interleaved production code against.
struct LiteralVariant {
    uint32_t p[18];
    uint32_t s[4][256];
    uint32_t f(uint32_t x) const {
        uint32_t a = x >> 24, b = (x >> 16) & 0xFF, c = (x >> 8) & 0xFF, d = x & 0xFF;
        return (s[3][a] + s[2][b]) ^ (s[1][c] + s[0][d]);
    }
    void crypt(uint32_t& l, uint32_t& r, const uint32_t (&order)[18]) const {
        for (int i = 0; i < 16; ++i) {
            l ^= order[i];
            r ^= f(l);
            std::swap(l, r);
        }
        std::swap(l, r);
        r ^= order[16];
        l ^= order[17];
    }
    void encrypt(uint32_t& l, uint32_t& r) const { crypt(l, r, p); }
    void decrypt(uint32_t& l, uint32_t& r) const {
        uint32_t reversed[18];
        for (int i = 0; i < 18; ++i) reversed[i] = p[17 - i];
        crypt(l, r, reversed);
    }
    explicit LiteralVariant(const std::string& key) {
        std::copy(&kBlowfishInitialP[0], &kBlowfishInitialP[18], p);
        for (int k = 0; k < 4; ++k) std::copy(&kBlowfishInitialS[k][0], &kBlowfishInitialS[k][256], s[k]);
        size_t at = 0;
        for (int i = 0; i < 18; ++i) {
            uint32_t w = 0;
            for (int b = 0; b < 4; ++b) {
                w = (w | static_cast<unsigned char>(key[at])) << 8;
                at = (at + 1) % key.size();
            }
            p[i] ^= w;
        }
        uint32_t l = 0, r = 0;
        for (int i = 0; i < 18; i += 2) encrypt(l, r), p[i] = l, p[i + 1] = r;
        for (auto& box : s)
            for (int j = 0; j < 256; j += 2) encrypt(l, r), box[j] = l, box[j + 1] = r;
    }
};

// The published algorithm over the same tables: its known answers prove the tables.
uint32_t publishedF(const uint32_t (&s)[4][256], uint32_t x) {
    return ((s[0][x >> 24] + s[1][(x >> 16) & 0xFF]) ^ s[2][(x >> 8) & 0xFF]) + s[3][x & 0xFF];
}

std::pair<uint32_t, uint32_t> publishedEncrypt(const unsigned char* key, size_t keyLength, uint32_t l, uint32_t r) {
    uint32_t p[18];
    static uint32_t s[4][256];
    std::copy(&kBlowfishInitialP[0], &kBlowfishInitialP[18], p);
    for (int k = 0; k < 4; ++k) std::copy(&kBlowfishInitialS[k][0], &kBlowfishInitialS[k][256], s[k]);
    size_t at = 0;
    for (auto& word : p) {
        uint32_t w = 0;
        for (int b = 0; b < 4; ++b) w = (w << 8) | key[at], at = (at + 1) % keyLength;
        word ^= w;
    }
    auto encrypt = [&](uint32_t& xl, uint32_t& xr) {
        for (int i = 0; i < 16; ++i) {
            xl ^= p[i];
            xr ^= publishedF(s, xl);
            std::swap(xl, xr);
        }
        std::swap(xl, xr);
        xr ^= p[16];
        xl ^= p[17];
    };
    uint32_t a = 0, b = 0;
    for (int i = 0; i < 18; i += 2) encrypt(a, b), p[i] = a, p[i + 1] = b;
    for (auto& box : s)
        for (int j = 0; j < 256; j += 2) encrypt(a, b), box[j] = a, box[j + 1] = b;
    encrypt(l, r);
    return {l, r};
}

std::string randomBytes(size_t length, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(length, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}
} // namespace

TEST(BlowfishTables, AreThePublishedOnes) {
    const unsigned char zeros[8] = {};
    EXPECT_EQ(publishedEncrypt(zeros, 8, 0, 0), std::make_pair(0x4EF99745u, 0x6198DD78u));
    const unsigned char ones[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(publishedEncrypt(ones, 8, 0xFFFFFFFF, 0xFFFFFFFF), std::make_pair(0x51866FD5u, 0xB85ECB8Au));
    const unsigned char key[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(publishedEncrypt(key, 8, 0x11111111, 0x11111111), std::make_pair(0x61F9C380u, 0x2281B096u));
}

TEST(Blowfish, BlocksMatchTheLiteralVariant) {
    for (std::string key : {std::string(kConfigCipherKey), std::string("k"), std::string(72, 'x')}) {
        CBlowfish cipher;
        cipher.initKey(key);
        LiteralVariant literal(key);
        std::mt19937 random(7);
        for (int i = 0; i < 200; ++i) {
            uint32_t l = random(), r = random();
            uint32_t el = l, er = r, ll = l, lr = r;
            cipher.encryptBlock(el, er);
            literal.encrypt(ll, lr);
            ASSERT_EQ(el, ll) << key;
            ASSERT_EQ(er, lr) << key;
            cipher.decryptBlock(el, er);
            EXPECT_EQ(el, l);
            EXPECT_EQ(er, r);
        }
    }
}

TEST(Blowfish, LongKeysTakeFurtherPassesUntilTheWalkReturns) {
    // A 73-byte key is not used up in one pass: its schedule differs from its first 72 bytes'.
    std::string key = randomBytes(73, 3);
    key[0] = 'a';
    CBlowfish longKey, cut;
    longKey.initKey(key);
    cut.initKey(key.substr(0, 72));
    uint32_t a = 1, b = 2, c = 1, d = 2;
    longKey.encryptBlock(a, b);
    cut.encryptBlock(c, d);
    EXPECT_NE(std::make_pair(a, b), std::make_pair(c, d));
}

TEST(Blowfish, BufferChainsBlocksAndKeepsTheTailInClear) {
    std::string plain = randomBytes(13, 1);
    std::string data = plain;
    encipherContent(data);
    EXPECT_NE(data.substr(0, 8), plain.substr(0, 8));
    EXPECT_EQ(data.substr(8), plain.substr(8));

    std::string seven = randomBytes(7, 2), copy = seven;
    encipherContent(copy);
    EXPECT_EQ(copy, seven);
    decipherContent(copy);
    EXPECT_EQ(copy, seven);

    // Chaining: block i of the output is E(P_i xor C_{i-1}) with C_{-1} = (0, 0).
    LiteralVariant literal{std::string(kConfigCipherKey)};
    std::string text = randomBytes(64 + 5, 4), enciphered = text;
    encipherContent(enciphered);
    uint32_t c0 = 0, c1 = 0;
    for (size_t offset = 0; offset + 8 <= text.size(); offset += 8) {
        auto word = [](const std::string& s, size_t at) {
            return (uint32_t(uint8_t(s[at])) << 24) | (uint32_t(uint8_t(s[at + 1])) << 16) |
                   (uint32_t(uint8_t(s[at + 2])) << 8) | uint8_t(s[at + 3]);
        };
        uint32_t l = word(text, offset) ^ c0, r = word(text, offset + 4) ^ c1;
        literal.encrypt(l, r);
        ASSERT_EQ(word(enciphered, offset), l);
        ASSERT_EQ(word(enciphered, offset + 4), r);
        c0 = l, c1 = r;
    }
}

TEST(Blowfish, RoundTripsAnyLengthAndOneChangedByteChangesEveryLaterBlock) {
    for (size_t length : {0u, 1u, 8u, 31u, 32u, 33u, 100u, 4099u}) {
        std::string plain = randomBytes(length, static_cast<unsigned>(length)), data = plain;
        encipherContent(data);
        decipherContent(data);
        EXPECT_EQ(data, plain) << length;
    }
    std::string a = randomBytes(80 + 3, 9), b = a;
    b[20] ^= 1; // in block 2
    encipherContent(a);
    encipherContent(b);
    EXPECT_EQ(a.substr(0, 16), b.substr(0, 16));
    for (size_t block = 2; block < 10; ++block) EXPECT_NE(a.substr(block * 8, 8), b.substr(block * 8, 8));
    EXPECT_EQ(a.substr(80), b.substr(80));
}
