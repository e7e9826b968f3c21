#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "TestHostDialog.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "skin/SkinBitmap.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"

namespace {
void put16(std::string& s, size_t at, uint16_t v) {
    std::memcpy(&s[at], &v, 2);
}
void put32(std::string& s, size_t at, uint32_t v) {
    std::memcpy(&s[at], &v, 4);
}

// A 24-bit bottom-up file with the given info header size (40, or 108 for a version 4 header).
std::string bmpFile(int width, int height, const std::vector<COLORREF>& topDown, uint32_t headerSize = 40) {
    uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
    uint32_t offset = 14 + headerSize;
    std::string file(offset + stride * height, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<uint32_t>(file.size()));
    put32(file, 10, offset);
    put32(file, 14, headerSize);
    put32(file, 18, static_cast<uint32_t>(width));
    put32(file, 22, static_cast<uint32_t>(height));
    put16(file, 26, 1);
    put16(file, 28, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = topDown[static_cast<size_t>(y) * width + x];
            size_t at = offset + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3;
            file[at] = static_cast<char>(GetBValue(c));
            file[at + 1] = static_cast<char>(GetGValue(c));
            file[at + 2] = static_cast<char>(GetRValue(c));
        }
    return file;
}

COLORREF pixelOf(HBITMAP bitmap, int x, int y) {
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), bitmap);
    return GetPixel(dc.get(), x, y);
}

// A 32-bit bitmap painted by the caller.
ScopedBitmap paintedBitmap(int width, int height, COLORREF fill,
                           const std::function<void(PixelCanvas&)>& paint = {}) {
    PixelCanvas canvas(width, height, fill);
    if (paint) paint(canvas);
    WindowDc screen(nullptr);
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    ScopedMemoryDc dc(CreateCompatibleDC(screen.get()));
    SelectGuard select(dc.get(), bitmap.get());
    BitBlt(dc.get(), 0, 0, width, height, canvas.dc(), 0, 0, SRCCOPY);
    return bitmap;
}

void fill(PixelCanvas& canvas, RECT rect, COLORREF color) {
    ScopedBrush brush(CreateSolidBrush(color));
    FillRect(canvas.dc(), &rect, brush.get());
}

std::vector<RECT> regionRects(HRGN region) {
    DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> data(size);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (!size || !GetRegionData(region, size, header)) return {};
    auto* rects = reinterpret_cast<RECT*>(header->Buffer);
    return std::vector<RECT>(rects, rects + header->rdh.nCount);
}
} // namespace

TEST(LoadSkinBitmap, OwnReaderLoadsA24BitFileWithItsSizeAndColours) {
    TempDir dir;
    std::string file = bmpFile(
        3, 2,
        {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(1, 2, 3), RGB(9, 8, 7), RGB(255, 255, 255)});
    ASSERT_TRUE(writeWholeFile(dir.file("skin.bmp"), file.data(), file.size(), false, false));
    int width = 0, height = 0;
    ScopedBitmap bitmap(loadSkinBitmap(dir.file("skin.bmp"), &width, &height));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(pixelOf(bitmap.get(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(pixelOf(bitmap.get(), 2, 0), RGB(0, 0, 255));
    EXPECT_EQ(pixelOf(bitmap.get(), 1, 1), RGB(9, 8, 7));
}

TEST(LoadSkinBitmap, MissingDamagedAndTruncatedFilesGiveNoBitmap) {
    TempDir dir;
    EXPECT_FALSE(loadSkinBitmap(dir.file("missing.bmp")));
    std::string file = bmpFile(8, 8, std::vector<COLORREF>(64, RGB(1, 2, 3)));
    std::string truncated = file.substr(0, file.size() - 10);
    ASSERT_TRUE(writeWholeFile(dir.file("short.bmp"), truncated.data(), truncated.size(), false, false));
    EXPECT_FALSE(loadSkinBitmap(dir.file("short.bmp")));
    std::string damaged = file;
    put32(damaged, 22, 100000); // far more rows than stored
    ASSERT_TRUE(writeWholeFile(dir.file("damaged.bmp"), damaged.data(), damaged.size(), false, false));
    EXPECT_FALSE(loadSkinBitmap(dir.file("damaged.bmp")));
}

TEST(LoadSkinBitmap, OnlyALowerCaseBmpPathUsesTheOwnReader) {
    // A version 4 header is refused by the own reader but read by the picture loader.
    TempDir dir;
    std::string file = bmpFile(4, 4, std::vector<COLORREF>(16, RGB(0, 128, 255)), 108);
    ASSERT_TRUE(writeWholeFile(dir.file("v4.bmp"), file.data(), file.size(), false, false));
    ASSERT_TRUE(writeWholeFile(dir.file("v4.BMP"), file.data(), file.size(), false, false));
    EXPECT_FALSE(loadSkinBitmap(dir.file("v4.bmp")));
    int width = 0, height = 0;
    ScopedBitmap picture(loadSkinBitmap(dir.file("v4.BMP"), &width, &height));
    ASSERT_TRUE(picture);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 4);
    EXPECT_EQ(pixelOf(picture.get(), 1, 1), RGB(0, 128, 255));
    EXPECT_FALSE(loadPicture(dir.file("none.gif")));
}

TEST(DrawBitmap, TilesWholeTilesPastTheRectangleOrCopiesOnceCut) {
    ScopedBitmap tile = paintedBitmap(10, 10, RGB(0, 200, 0));
    PixelCanvas tiled(40, 40);
    EXPECT_TRUE(drawBitmap(tiled.dc(), tile.get(), 0, 0, 25, 25, true));
    EXPECT_EQ(tiled.countColor(RECT{0, 0, 30, 30}, RGB(0, 200, 0)), 900);
    EXPECT_EQ(tiled.pixel(30, 30), RGB(255, 0, 255));
    EXPECT_EQ(tiled.pixel(35, 5), RGB(255, 0, 255));

    PixelCanvas once(40, 40);
    EXPECT_TRUE(drawBitmap(once.dc(), tile.get(), 5, 5, 10, 12, false));
    EXPECT_EQ(once.countColor(RECT{0, 0, 40, 40}, RGB(0, 200, 0)), 5 * 7);
    EXPECT_FALSE(drawBitmap(once.dc(), nullptr, 0, 0, 10, 10, true));
}

// The tiles stay on their grid from the element's corner, however far the element reaches; a 1 x 1
// tile fills a page in one paint.
TEST(DrawBitmap, TilesStayOnTheirGridForAnyTileAndExtent) {
    const COLORREF green = RGB(0, 200, 0), blue = RGB(0, 0, 200), magenta = RGB(255, 0, 255);
    ScopedBitmap tile = paintedBitmap(3, 2, green, [](PixelCanvas& c) { SetPixel(c.dc(), 1, 1, blue); });
    PixelCanvas canvas(40, 30);
    EXPECT_TRUE(drawBitmap(canvas.dc(), tile.get(), -4, 3, 2000000000, 2000000000, true));
    int wrong = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const COLORREF expected = y < 3 ? magenta : ((x + 4) % 3 == 1 && (y - 3) % 2 == 1) ? blue : green;
            if (canvas.pixel(x, y) != expected) ++wrong;
        }
    EXPECT_EQ(wrong, 0);

    ScopedBitmap dot = paintedBitmap(1, 1, green);
    PixelCanvas page(600, 400);
    EXPECT_TRUE(drawBitmap(page.dc(), dot.get(), 0, 0, 600, 420, true));
    EXPECT_EQ(page.countColor(RECT{0, 0, 600, 400}, green), 600 * 400);
}

TEST(CreateRegionFromBitmap, BlackSquareCoversTheSquareWhiteIsEmpty) {
    ScopedBitmap black = paintedBitmap(16, 16, RGB(0, 0, 0));
    ScopedRegion region(createRegionFromBitmap(black.get(), 0, 0, 16, 16));
    ASSERT_TRUE(region);
    // Sixteen one-row runs that the system unites into the square.
    ScopedRegion square(CreateRectRgn(0, 0, 16, 16));
    EXPECT_TRUE(EqualRgn(region.get(), square.get()));

    ScopedBitmap white = paintedBitmap(16, 16, RGB(255, 255, 255));
    ScopedRegion empty(createRegionFromBitmap(white.get(), 0, 0, 16, 16));
    ASSERT_TRUE(empty);
    RECT box{};
    EXPECT_EQ(GetRgnBox(empty.get(), &box), NULLREGION);
    EXPECT_FALSE(createRegionFromBitmap(nullptr, 0, 0, 16, 16));
}

TEST(CreateRegionFromBitmap, ThresholdAndCoordinatesOfThePart) {
    ScopedBitmap bitmap = paintedBitmap(20, 4, RGB(255, 255, 255), [](PixelCanvas& c) {
        SetPixel(c.dc(), 12, 1, RGB(200, 200, 100)); // blue below 127: outline
        SetPixel(c.dc(), 13, 1, RGB(127, 127, 127)); // transparent
        SetPixel(c.dc(), 14, 1, RGB(126, 255, 255)); // outline
        SetPixel(c.dc(), 2, 1, RGB(0, 0, 0));        // outside the part
    });
    ScopedRegion region(createRegionFromBitmap(bitmap.get(), 10, 0, 10, 4));
    std::vector<RECT> rects = regionRects(region.get());
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_TRUE(sameRect(rects[0], RECT{2, 1, 3, 2}));
    EXPECT_TRUE(sameRect(rects[1], RECT{4, 1, 5, 2}));
}

TEST(CreateRegionFromBitmap, ManyRunsAreUnitedAcrossPartialRegions) {
    // A checkerboard gives 64 x 32 = 2048 runs, more than one partial region holds.
    ScopedBitmap board = paintedBitmap(64, 64, RGB(255, 255, 255), [](PixelCanvas& c) {
        for (int y = 0; y < 64; ++y)
            for (int x = (y % 2); x < 64; x += 2)
                SetPixel(c.dc(), x, y, RGB(0, 0, 0));
    });
    ScopedRegion region(createRegionFromBitmap(board.get(), 0, 0, 64, 64));
    ASSERT_TRUE(region);
    EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(region.get(), 1, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 63, 63));
    EXPECT_FALSE(PtInRegion(region.get(), 62, 63));
    EXPECT_EQ(regionRects(region.get()).size(), 2048u);
}

TEST(DrawBitmapPart, CopiesOneFrameThroughTheClipRegion) {
    ScopedBitmap strip = paintedBitmap(30, 10, RGB(255, 0, 0), [](PixelCanvas& c) {
        fill(c, RECT{10, 0, 20, 10}, RGB(0, 0, 255));
    });
    ScopedRegion clip(CreateRectRgn(2, 2, 8, 8));
    PixelCanvas canvas(20, 20, RGB(255, 255, 255));
    drawBitmapPart(canvas.dc(), strip.get(), 10, 10, 10, clip.get());
    EXPECT_EQ(canvas.countColor(RECT{0, 0, 20, 20}, RGB(0, 0, 255)), 36);
    EXPECT_EQ(canvas.pixel(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(canvas.countColor(RECT{0, 0, 20, 20}, RGB(255, 0, 0)), 0);
    // The clip region is removed again afterwards.
    EXPECT_EQ(GetClipRgn(canvas.dc(), clip.get()), 0);
}
