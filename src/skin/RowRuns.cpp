#include "skin/RowRuns.h"

bool isTransparentPixel(uint8_t blue, uint8_t green, uint8_t red) {
    return blue >= 127 && green >= 127 && red >= 127;
}

std::vector<RunRect> scanRowRuns(const uint8_t* pixels, size_t size, int32_t width, int32_t height,
                                 size_t stride, bool bottomUp) {
    std::vector<RunRect> runs;
    if (!pixels || width <= 0 || height <= 0 || stride < static_cast<size_t>(width) * 4) return runs;
    if (size / stride < static_cast<size_t>(height)) return runs;
    for (int32_t y = 0; y < height; ++y) {
        const size_t storedRow = bottomUp ? static_cast<size_t>(height - 1 - y) : static_cast<size_t>(y);
        const uint8_t* row = pixels + storedRow * stride;
        int32_t x = 0;
        while (x < width) {
            while (x < width && isTransparentPixel(row[x * 4], row[x * 4 + 1], row[x * 4 + 2]))
                ++x;
            const int32_t start = x;
            while (x < width && !isTransparentPixel(row[x * 4], row[x * 4 + 1], row[x * 4 + 2]))
                ++x;
            if (x > start) runs.push_back({start, y, x, y + 1});
        }
    }
    return runs;
}
