#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "skin/BmpFile.h"

namespace {
void put16(std::string& s, size_t at, uint16_t v) {
    std::memcpy(&s[at], &v, 2);
}
void put32(std::string& s, size_t at, uint32_t v) {
    std::memcpy(&s[at], &v, 4);
}

// A bottom-up file of the given depth with a palette of paletteEntries colours.
std::string makeBmp(int32_t width, int32_t height, uint16_t bits, uint32_t paletteEntries = 0) {
    uint32_t stride = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
    uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    uint32_t offset = 54 + paletteEntries * 4;
    std::string file(offset + stride * rows, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<uint32_t>(file.size()));
    put32(file, 10, offset);
    put32(file, 14, 40);
    put32(file, 18, static_cast<uint32_t>(width));
    put32(file, 22, static_cast<uint32_t>(height));
    put16(file, 26, 1);
    put16(file, 28, bits);
    put32(file, 46, paletteEntries);
    for (uint32_t i = 0; i < stride * rows; ++i)
        file[offset + i] = static_cast<char>(i * 7 + 1);
    return file;
}
} // namespace

TEST(DecodeBmp, TwentyFourBitFileKeepsHeaderTableAndExactPixelData) {
    std::string file = makeBmp(3, 2, 24);
    BmpError error;
    auto bmp = decodeBmp(file, &error);
    ASSERT_TRUE(bmp) << static_cast<int>(error);
    EXPECT_EQ(bmp->width, 3);
    EXPECT_EQ(bmp->height, 2);
    EXPECT_EQ(bmp->bitCount, 24);
    ASSERT_EQ(bmp->header.size(), 40u + 1024u);
    EXPECT_EQ(std::memcmp(bmp->header.data(), file.data() + 14, 40 - 20), 0);
    // The table after the header is what follows in the file (here the pixels), zero beyond.
    EXPECT_EQ(std::memcmp(bmp->header.data() + 40, file.data() + 54, 24), 0);
    EXPECT_EQ(bmp->header[40 + 24], 0);
    ASSERT_EQ(bmp->pixels.size(), 24u);
    EXPECT_EQ(std::memcmp(bmp->pixels.data(), file.data() + 54, 24), 0);
}

TEST(DecodeBmp, PalettedAndTopDownFilesDecode) {
    auto paletted = decodeBmp(makeBmp(5, 4, 8, 256));
    ASSERT_TRUE(paletted);
    EXPECT_EQ(paletted->pixels.size(), 8u * 4);
    auto oneBit = decodeBmp(makeBmp(33, 2, 1, 2));
    ASSERT_TRUE(oneBit);
    EXPECT_EQ(oneBit->pixels.size(), 16u);
    auto topDown = decodeBmp(makeBmp(2, -3, 32));
    ASSERT_TRUE(topDown);
    EXPECT_EQ(topDown->height, -3);
    EXPECT_EQ(topDown->pixels.size(), 24u);
}

TEST(DecodeBmp, RejectsForeignAndOs2Files) {
    BmpError error;
    std::string file = makeBmp(2, 2, 24);
    file[0] = 'P';
    EXPECT_FALSE(decodeBmp(file, &error));
    EXPECT_EQ(error, BmpError::notDib);
    file = makeBmp(2, 2, 24);
    put32(file, 14, 12);
    EXPECT_FALSE(decodeBmp(file, &error));
    EXPECT_EQ(error, BmpError::unsupportedHeader);
    put32(file, 14, 124); // a newer header is refused as well: its layout differs
    EXPECT_FALSE(decodeBmp(file, &error));
}

TEST(DecodeBmp, EveryTruncationOfAValidFileGivesNoBitmap) {
    std::string file = makeBmp(7, 5, 24);
    for (size_t length = 0; length < file.size(); ++length)
        EXPECT_FALSE(decodeBmp(reinterpret_cast<const uint8_t*>(file.data()), length)) << length;
    EXPECT_TRUE(decodeBmp(file));
}

TEST(DecodeBmp, HeaderFieldsThatPromiseMoreThanTheFileHoldsAreRefused) {
    BmpError error;
    std::string file = makeBmp(4, 4, 24);
    put32(file, 2, 40); // file size smaller than the data offset
    EXPECT_FALSE(decodeBmp(file, &error));
    EXPECT_EQ(error, BmpError::truncated);

    file = makeBmp(4, 4, 24);
    put32(file, 2, static_cast<uint32_t>(file.size() + 100)); // claims more than there is
    EXPECT_FALSE(decodeBmp(file, &error));

    file = makeBmp(4, 4, 24);
    put32(file, 22, 5); // one row more than stored
    EXPECT_FALSE(decodeBmp(file, &error));
    EXPECT_EQ(error, BmpError::truncated);

    file = makeBmp(4, 4, 24);
    put32(file, 10, 20); // data offset inside the headers
    EXPECT_FALSE(decodeBmp(file, &error));

    file = makeBmp(4, 4, 24);
    put32(file, 10, 0xFFFFFFF0u);
    EXPECT_FALSE(decodeBmp(file, &error));
}

TEST(DecodeBmp, AbsurdGeometryAndUnsupportedFormatsAreRefused) {
    BmpError error;
    std::string file = makeBmp(4, 4, 24);
    put32(file, 18, 0);
    EXPECT_FALSE(decodeBmp(file, &error));
    EXPECT_EQ(error, BmpError::badGeometry);
    put32(file, 18, 0x80000000u);
    EXPECT_FALSE(decodeBmp(file, &error));
    put32(file, 18, 4);
    put32(file, 22, 0);
    EXPECT_FALSE(decodeBmp(file, &error));
    put32(file, 22, 0x80000000u); // cannot be negated
    EXPECT_FALSE(decodeBmp(file, &error));

    file = makeBmp(4, 4, 8, 256);
    put32(file, 46, 1000); // more colours than the table holds
    EXPECT_FALSE(decodeBmp(file, &error));
    EXPECT_EQ(error, BmpError::unsupportedFormat);
    file = makeBmp(4, 4, 8, 256);
    put32(file, 30, 1); // run-length encoded
    EXPECT_FALSE(decodeBmp(file, &error));
    file = makeBmp(4, 4, 24);
    put16(file, 28, 7);
    EXPECT_FALSE(decodeBmp(file, &error));
}

TEST(EncodeBmp, WritesAFileTheDecoderReadsBackBottomUp) {
    std::vector<uint8_t> pixels = {10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0, 1, 2, 3, 0};
    std::string file = encodeBmp24(2, 2, pixels);
    auto bmp = decodeBmp(file);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->bitCount, 24);
    // Stored bottom-up: the first stored row is the second row of the image.
    EXPECT_EQ(bmp->pixels[0], 70);
    EXPECT_EQ(bmp->pixels[5], 3);
    EXPECT_EQ(bmp->pixels[8], 10);
    EXPECT_EQ(encodeBmp24(2, 2, {1, 2, 3}), "");
}
