#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// One horizontal run of outline pixels: (left, top)-(right, top + 1), right exclusive.
struct RunRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const RunRect&) const = default;
};

// A mask pixel is transparent when its blue, green and red values are all at least 127.
bool isTransparentPixel(uint8_t blue, uint8_t green, uint8_t red);

// Scans a 32-bit pixel buffer (blue, green, red, unused per pixel; rows of stride bytes) from
// the top row down and each row from the left, collecting the runs of non-transparent pixels.
// bottomUp says that the first stored row is the bottom row of the image. A buffer too small
// for the geometry gives no runs.
std::vector<RunRect> scanRowRuns(const uint8_t* pixels, size_t size, int32_t width, int32_t height,
                                 size_t stride, bool bottomUp);
