#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The chaining value (initialisation vector) of the block chaining; (0, 0) for every file.
struct ChainingValue {
    uint32_t c0 = 0;
    uint32_t c1 = 0;
};

// The program's variant of Blowfish: published tables and structure, but its own F function and
// key-word forming. Blocks are two big-endian 32-bit words; buffers are processed in chained
// 8-byte blocks and a tail of fewer than 8 bytes stays in clear.
class CBlowfish {
  public:
    void initKey(std::string_view key); // key must not be empty
    void encryptBlock(uint32_t& left, uint32_t& right) const;
    void decryptBlock(uint32_t& left, uint32_t& right) const;
    void encryptBuffer(unsigned char* data, size_t length, ChainingValue& chain) const;
    void decryptBuffer(unsigned char* data, size_t length, ChainingValue& chain) const;

  private:
    uint32_t f(uint32_t x) const;
    uint32_t p_[18];
    uint32_t s_[4][256];
};

// The fixed key of every enciphered configuration file.
constexpr std::string_view kConfigCipherKey = "MaplewoodCastleKeys";

// A whole file's content as the readers and writers treat it: a fresh cipher keyed with the
// fixed key, chaining from (0, 0), in place.
void encipherContent(unsigned char* data, size_t length);
void decipherContent(unsigned char* data, size_t length);
inline void encipherContent(std::string& content) {
    encipherContent(reinterpret_cast<unsigned char*>(content.data()), content.size());
}
inline void decipherContent(std::string& content) {
    decipherContent(reinterpret_cast<unsigned char*>(content.data()), content.size());
}
