#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A bitmap file taken apart for drawing: the 40-byte information header followed by a colour
// table of exactly 1024 bytes (whatever the bit depth; bit-field masks live at its start), and
// the pixel data from the file's data offset. Only images whose pixel data is complete are
// accepted, so nothing that draws from this can read past a buffer.
struct DecodedBmp {
    static constexpr size_t kInfoHeaderSize = 40;
    static constexpr size_t kColourTableSize = 1024;
    int32_t width = 0;
    int32_t height = 0; // negative: rows stored top-down
    uint16_t bitCount = 0;
    std::vector<uint8_t> header; // information header + colour table
    std::vector<uint8_t> pixels;
};

// Reasons a file is refused; only the first two are the classic ones, the rest keep the
// decoder from handing incomplete or absurd data to the drawing code.
enum class BmpError {
    none,
    notDib,            // "Error:Unexpected file type, not a DIB\n"
    unsupportedHeader, // "Error:OS2 PM BMP Format not supported\n"
    truncated,
    badGeometry,
    unsupportedFormat,
};

std::optional<DecodedBmp> decodeBmp(const uint8_t* data, size_t size, BmpError* error = nullptr);
std::optional<DecodedBmp> decodeBmp(const std::string& bytes, BmpError* error = nullptr);

// Bytes of one stored row of an uncompressed image (rounded up to a multiple of 4), or 0 when
// the product does not fit.
uint64_t bmpRowStride(int64_t width, uint32_t bitCount);

// A 24-bit bottom-up bitmap file from 32-bit pixels (blue, green, red, unused), rows top-down.
std::string encodeBmp24(int32_t width, int32_t height, const std::vector<uint8_t>& topDownBgra);
