#include <gtest/gtest.h>

#include <vector>

#include "skin/RowRuns.h"

namespace {
struct Image {
    int32_t width, height;
    std::vector<uint8_t> pixels;
    Image(int32_t w, int32_t h, uint8_t fill)
        : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, fill) {}
    void set(int32_t x, int32_t y, uint8_t b, uint8_t g, uint8_t r) {
        uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    std::vector<RunRect> runs(bool bottomUp = false) const {
        return scanRowRuns(pixels.data(), pixels.size(), width, height, static_cast<size_t>(width) * 4,
                           bottomUp);
    }
};
} // namespace

TEST(RowRuns, AllBlackSquareGivesOneRunPerRowAllWhiteGivesNone) {
    std::vector<RunRect> black = Image(16, 16, 0).runs();
    ASSERT_EQ(black.size(), 16u);
    for (int32_t y = 0; y < 16; ++y)
        EXPECT_EQ(black[y], (RunRect{0, y, 16, y + 1}));
    EXPECT_TRUE(Image(16, 16, 255).runs().empty());
}

TEST(RowRuns, ThresholdIs127OnBlueGreenAndRed) {
    Image image(4, 1, 255);
    image.set(0, 0, 100, 200, 200); // blue below 127: outline
    image.set(1, 0, 127, 127, 127); // all at 127: transparent
    image.set(2, 0, 200, 126, 200);
    image.set(3, 0, 200, 200, 126);
    EXPECT_EQ(image.runs(), (std::vector<RunRect>{{0, 0, 1, 1}, {2, 0, 4, 1}}));
    EXPECT_TRUE(isTransparentPixel(127, 127, 127));
    EXPECT_FALSE(isTransparentPixel(100, 200, 200));
}

TEST(RowRuns, RunsEndAtTransparentPixelsAndBottomUpBuffersScanFromTheTopImageRow) {
    Image image(6, 2, 255);
    image.set(0, 0, 0, 0, 0);
    image.set(1, 0, 0, 0, 0);
    image.set(3, 0, 0, 0, 0);
    image.set(5, 1, 0, 0, 0);
    EXPECT_EQ(image.runs(), (std::vector<RunRect>{{0, 0, 2, 1}, {3, 0, 4, 1}, {5, 1, 6, 2}}));
    // The same buffer read as bottom-up: its first stored row is the bottom image row.
    EXPECT_EQ(image.runs(true), (std::vector<RunRect>{{5, 0, 6, 1}, {0, 1, 2, 2}, {3, 1, 4, 2}}));
}

TEST(RowRuns, PaddedRowsAndShortBuffersAreHandled) {
    std::vector<uint8_t> padded(2 * 12, 255);
    padded[0] = padded[1] = padded[2] = 0;                // (0, 0)
    padded[12 + 4] = padded[12 + 5] = padded[12 + 6] = 0; // (1, 1)
    padded[8] = padded[9] = padded[10] = 0;               // padding byte of row 0: never read as a pixel
    EXPECT_EQ(scanRowRuns(padded.data(), padded.size(), 2, 2, 12, false),
              (std::vector<RunRect>{{0, 0, 1, 1}, {1, 1, 2, 2}}));
    EXPECT_TRUE(scanRowRuns(padded.data(), padded.size() - 1, 2, 2, 12, false).empty());
    EXPECT_TRUE(scanRowRuns(padded.data(), padded.size(), 4, 2, 12, false).empty());
    EXPECT_TRUE(scanRowRuns(nullptr, 0, 1, 1, 4, false).empty());
}
