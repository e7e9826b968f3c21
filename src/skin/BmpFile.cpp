#include "skin/BmpFile.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kFileHeaderSize = 14;
constexpr int64_t kMaxDimension = 16384;
constexpr uint64_t kMaxPixelBytes = 64u * 1024 * 1024;
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionBitFields = 3;

uint16_t read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
void write16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
void write32(std::string& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

std::optional<DecodedBmp> fail(BmpError* error, BmpError reason) {
    if (error) *error = reason;
    return std::nullopt;
}

bool isSupportedFormat(uint16_t bitCount, uint32_t compression) {
    if (compression == kCompressionBitFields) return bitCount == 16 || bitCount == 32;
    if (compression != kCompressionRgb) return false;
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}
} // namespace

uint64_t bmpRowStride(int64_t width, uint32_t bitCount) {
    if (width <= 0 || width > kMaxDimension || bitCount == 0 || bitCount > 32) return 0;
    uint64_t bits = static_cast<uint64_t>(width) * bitCount;
    return (bits + 31) / 32 * 4;
}

std::optional<DecodedBmp> decodeBmp(const uint8_t* data, size_t size, BmpError* error) {
    if (error) *error = BmpError::none;
    if (!data || size < kFileHeaderSize) return fail(error, BmpError::truncated);
    if (read16(data) != 0x4D42) return fail(error, BmpError::notDib);
    const uint32_t fileSize = read32(data + 2);
    const uint32_t dataOffset = read32(data + 10);

    if (size < kFileHeaderSize + DecodedBmp::kInfoHeaderSize) return fail(error, BmpError::truncated);
    const uint8_t* info = data + kFileHeaderSize;
    if (read32(info) != DecodedBmp::kInfoHeaderSize) return fail(error, BmpError::unsupportedHeader);

    DecodedBmp bmp;
    bmp.width = static_cast<int32_t>(read32(info + 4));
    bmp.height = static_cast<int32_t>(read32(info + 8));
    bmp.bitCount = read16(info + 14);
    const uint32_t compression = read32(info + 16);
    const uint32_t coloursUsed = read32(info + 32);
    if (!isSupportedFormat(bmp.bitCount, compression) || read16(info + 12) != 1 || coloursUsed > 256)
        return fail(error, BmpError::unsupportedFormat);

    const int64_t rows = bmp.height < 0 ? -static_cast<int64_t>(bmp.height) : bmp.height;
    const uint64_t stride = bmpRowStride(bmp.width, bmp.bitCount);
    if (stride == 0 || rows == 0 || rows > kMaxDimension || stride * rows > kMaxPixelBytes)
        return fail(error, BmpError::badGeometry);

    // The pixel data runs from the data offset to the size the file header claims; it must
    // lie inside the file and hold every row the header promises.
    if (fileSize < dataOffset || dataOffset < kFileHeaderSize + DecodedBmp::kInfoHeaderSize)
        return fail(error, BmpError::truncated);
    const uint64_t pixelBytes = fileSize - dataOffset;
    if (fileSize > size || pixelBytes < stride * rows) return fail(error, BmpError::truncated);

    // The colour table is whatever follows the header, 1024 bytes of it, zero where the file
    // has less.
    bmp.header.assign(DecodedBmp::kInfoHeaderSize + DecodedBmp::kColourTableSize, 0);
    size_t tableAvailable = std::min<size_t>(size - kFileHeaderSize, bmp.header.size());
    std::memcpy(bmp.header.data(), info, tableAvailable);
    // The image size field must not promise more than the buffer holds.
    const uint32_t imageSize = static_cast<uint32_t>(stride * rows);
    std::memcpy(bmp.header.data() + 20, &imageSize, sizeof imageSize);

    bmp.pixels.assign(data + dataOffset, data + dataOffset + stride * rows);
    return bmp;
}

std::optional<DecodedBmp> decodeBmp(const std::string& bytes, BmpError* error) {
    return decodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), error);
}

std::string encodeBmp24(int32_t width, int32_t height, const std::vector<uint8_t>& topDownBgra) {
    const uint64_t stride = bmpRowStride(width, 24);
    if (stride == 0 || height <= 0 || topDownBgra.size() < static_cast<uint64_t>(width) * height * 4)
        return {};
    const uint32_t dataSize = static_cast<uint32_t>(stride * height);
    std::string out;
    out.reserve(54 + dataSize);
    out += "BM";
    write32(out, 54 + dataSize);
    write32(out, 0);
    write32(out, 54);
    write32(out, 40);
    write32(out, static_cast<uint32_t>(width));
    write32(out, static_cast<uint32_t>(height));
    write16(out, 1);
    write16(out, 24);
    write32(out, 0);
    write32(out, dataSize);
    write32(out, 2835);
    write32(out, 2835);
    write32(out, 0);
    write32(out, 0);
    for (int32_t row = height - 1; row >= 0; --row) {
        const uint8_t* source = topDownBgra.data() + static_cast<size_t>(row) * width * 4;
        for (int32_t x = 0; x < width; ++x)
            out.append(reinterpret_cast<const char*>(source + x * 4), 3);
        out.append(stride - static_cast<size_t>(width) * 3, '\0');
    }
    return out;
}
