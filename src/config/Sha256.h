#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// SHA-256 (FIPS 180-4), for fingerprints of configuration content.
class Sha256 {
  public:
    Sha256();
    void add(std::string_view data);
    // The digest of everything added; the object must not be used afterwards.
    std::array<uint8_t, 32> finish();

  private:
    void compress(const uint8_t* block);

    uint32_t state_[8];
    uint8_t buffer_[64];
    size_t buffered_ = 0;
    uint64_t length_ = 0; // bytes added
};

// The digest of data as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view data);
