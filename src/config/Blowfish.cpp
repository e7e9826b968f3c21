#include "config/Blowfish.h"

#include <cstring>

#include "config/BlowfishTables.h"

namespace {
inline uint32_t loadBigEndian(const unsigned char* bytes) {
    uint32_t value;
    std::memcpy(&value, bytes, sizeof(value));
    return __builtin_bswap32(value);
}

inline void storeBigEndian(unsigned char* bytes, uint32_t value) {
    value = __builtin_bswap32(value);
    std::memcpy(bytes, &value, sizeof(value));
}
} // namespace

inline uint32_t CBlowfish::f(uint32_t x) const {
    return (s_[3][x >> 24] + s_[2][(x >> 16) & 0xFF]) ^ (s_[1][(x >> 8) & 0xFF] + s_[0][x & 0xFF]);
}

void CBlowfish::initKey(std::string_view key) {
    std::memcpy(p_, kBlowfishInitialP, sizeof(p_));
    std::memcpy(s_, kBlowfishInitialS, sizeof(s_));
    if (key.empty()) return;

    size_t position = 0;
    bool returned = false;
    do {
        for (uint32_t& word : p_) {
            uint32_t keyWord = 0;
            for (int byte = 0; byte < 4; ++byte) {
                keyWord = (keyWord | static_cast<unsigned char>(key[position])) << 8;
                if (++position == key.size()) {
                    position = 0;
                    returned = true;
                }
            }
            word ^= keyWord;
        }
    } while (!returned);

    uint32_t left = 0, right = 0;
    for (int i = 0; i < 18; i += 2) {
        encryptBlock(left, right);
        p_[i] = left;
        p_[i + 1] = right;
    }
    for (auto& box : s_) {
        for (int j = 0; j < 256; j += 2) {
            encryptBlock(left, right);
            box[j] = left;
            box[j + 1] = right;
        }
    }
}

void CBlowfish::encryptBlock(uint32_t& left, uint32_t& right) const {
    uint32_t l = left, r = right;
    for (int i = 0; i < 16; i += 2) {
        l ^= p_[i];
        r ^= f(l);
        r ^= p_[i + 1];
        l ^= f(r);
    }
    // The rounds' exchanges are folded into the pairs; the last one is undone, so the halves
    // leave crossed over.
    left = r ^ p_[17];
    right = l ^ p_[16];
}

void CBlowfish::decryptBlock(uint32_t& left, uint32_t& right) const {
    uint32_t l = left, r = right;
    for (int i = 17; i > 1; i -= 2) {
        l ^= p_[i];
        r ^= f(l);
        r ^= p_[i - 1];
        l ^= f(r);
    }
    left = r ^ p_[0];
    right = l ^ p_[1];
}

void CBlowfish::encryptBuffer(unsigned char* data, size_t length, ChainingValue& chain) const {
    for (size_t offset = 0; offset + 8 <= length; offset += 8) {
        uint32_t left = loadBigEndian(data + offset) ^ chain.c0;
        uint32_t right = loadBigEndian(data + offset + 4) ^ chain.c1;
        encryptBlock(left, right);
        chain.c0 = left;
        chain.c1 = right;
        storeBigEndian(data + offset, left);
        storeBigEndian(data + offset + 4, right);
    }
}

void CBlowfish::decryptBuffer(unsigned char* data, size_t length, ChainingValue& chain) const {
    size_t offset = 0;
    // Blocks decipher independently of each other: four at a time keep the pipeline busy.
    for (; offset + 32 <= length; offset += 32) {
        unsigned char* block = data + offset;
        const uint32_t c0l = loadBigEndian(block), c0r = loadBigEndian(block + 4);
        const uint32_t c1l = loadBigEndian(block + 8), c1r = loadBigEndian(block + 12);
        const uint32_t c2l = loadBigEndian(block + 16), c2r = loadBigEndian(block + 20);
        const uint32_t c3l = loadBigEndian(block + 24), c3r = loadBigEndian(block + 28);
        uint32_t l0 = c0l, r0 = c0r, l1 = c1l, r1 = c1r, l2 = c2l, r2 = c2r, l3 = c3l, r3 = c3r;
        for (int i = 17; i > 1; i -= 2) {
            const uint32_t pa = p_[i], pb = p_[i - 1];
            l0 ^= pa, l1 ^= pa, l2 ^= pa, l3 ^= pa;
            r0 ^= f(l0) ^ pb, r1 ^= f(l1) ^ pb, r2 ^= f(l2) ^ pb, r3 ^= f(l3) ^ pb;
            l0 ^= f(r0), l1 ^= f(r1), l2 ^= f(r2), l3 ^= f(r3);
        }
        const uint32_t p0 = p_[0], p1 = p_[1];
        storeBigEndian(block, r0 ^ p0 ^ chain.c0);
        storeBigEndian(block + 4, l0 ^ p1 ^ chain.c1);
        storeBigEndian(block + 8, r1 ^ p0 ^ c0l);
        storeBigEndian(block + 12, l1 ^ p1 ^ c0r);
        storeBigEndian(block + 16, r2 ^ p0 ^ c1l);
        storeBigEndian(block + 20, l2 ^ p1 ^ c1r);
        storeBigEndian(block + 24, r3 ^ p0 ^ c2l);
        storeBigEndian(block + 28, l3 ^ p1 ^ c2r);
        chain.c0 = c3l;
        chain.c1 = c3r;
    }
    for (; offset + 8 <= length; offset += 8) {
        uint32_t cipherLeft = loadBigEndian(data + offset);
        uint32_t cipherRight = loadBigEndian(data + offset + 4);
        uint32_t left = cipherLeft, right = cipherRight;
        decryptBlock(left, right);
        storeBigEndian(data + offset, left ^ chain.c0);
        storeBigEndian(data + offset + 4, right ^ chain.c1);
        chain.c0 = cipherLeft;
        chain.c1 = cipherRight;
    }
}

namespace {
const CBlowfish& configCipher() {
    // The key schedule depends only on the fixed key: run it once per process.
    static const CBlowfish cipher = [] {
        CBlowfish keyed;
        keyed.initKey(kConfigCipherKey);
        return keyed;
    }();
    return cipher;
}
} // namespace

void encipherContent(unsigned char* data, size_t length) {
    ChainingValue chain;
    configCipher().encryptBuffer(data, length, chain);
}

void decipherContent(unsigned char* data, size_t length) {
    ChainingValue chain;
    configCipher().decryptBuffer(data, length, chain);
}
