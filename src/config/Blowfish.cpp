#include "config/Blowfish.h"

#include <cstring>

#include "config/BlowfishTables.h"

namespace {
uint32_t loadBigEndian(const unsigned char* bytes) {
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
}

void storeBigEndian(unsigned char* bytes, uint32_t value) {
    bytes[0] = static_cast<unsigned char>(value >> 24);
    bytes[1] = static_cast<unsigned char>(value >> 16);
    bytes[2] = static_cast<unsigned char>(value >> 8);
    bytes[3] = static_cast<unsigned char>(value);
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
        uint32_t l[4], r[4], cl[4], cr[4];
        for (int k = 0; k < 4; ++k) {
            cl[k] = l[k] = loadBigEndian(data + offset + 8 * k);
            cr[k] = r[k] = loadBigEndian(data + offset + 8 * k + 4);
        }
        for (int i = 17; i > 1; i -= 2) {
            for (int k = 0; k < 4; ++k) {
                l[k] ^= p_[i];
                r[k] ^= f(l[k]) ^ p_[i - 1];
                l[k] ^= f(r[k]);
            }
        }
        uint32_t previousLeft = chain.c0, previousRight = chain.c1;
        for (int k = 0; k < 4; ++k) {
            uint32_t left = r[k] ^ p_[0] ^ previousLeft;
            uint32_t right = l[k] ^ p_[1] ^ previousRight;
            storeBigEndian(data + offset + 8 * k, left);
            storeBigEndian(data + offset + 8 * k + 4, right);
            previousLeft = cl[k];
            previousRight = cr[k];
        }
        chain.c0 = previousLeft;
        chain.c1 = previousRight;
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
