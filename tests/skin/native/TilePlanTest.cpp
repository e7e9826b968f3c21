#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <utility>

#include "skin/TilePlan.h"

namespace {
// Pixel -> tile pixel it shows, inside the visible rectangle.
using Painted = std::map<std::pair<int, int>, std::pair<int, int>>;

int wrap(int value, int size) {
    return ((value % size) + size) % size;
}

// Every tile copied whole, one by one, from the area's top-left corner.
Painted tileByTile(int tileWidth, int tileHeight, const PixelRect& area, const PixelRect& visible) {
    Painted painted;
    for (int y = 0; y < area.bottom - area.top; y += tileHeight)
        for (int x = 0; x < area.right - area.left; x += tileWidth)
            for (int ty = 0; ty < tileHeight; ++ty)
                for (int tx = 0; tx < tileWidth; ++tx) {
                    const int px = area.left + x + tx, py = area.top + y + ty;
                    if (px >= visible.left && px < visible.right && py >= visible.top && py < visible.bottom)
                        painted[{px, py}] = {tx, ty};
                }
    return painted;
}

// The plan carried out: one tile, or the fill with the tile as pattern from the origin.
Painted byPlan(int tileWidth, int tileHeight, const TilePlan& plan, const PixelRect& visible) {
    Painted painted;
    if (plan.columns == 0 || plan.rows == 0) return painted;
    PixelRect target = plan.fill;
    if (plan.columns * plan.rows == 1)
        target = {std::max(plan.originX, visible.left), std::max(plan.originY, visible.top),
                  std::min(plan.originX + tileWidth, visible.right),
                  std::min(plan.originY + tileHeight, visible.bottom)};
    for (int py = target.top; py < target.bottom; ++py)
        for (int px = target.left; px < target.right; ++px)
            painted[{px, py}] = {wrap(px - plan.originX, tileWidth), wrap(py - plan.originY, tileHeight)};
    return painted;
}
} // namespace

TEST(TilePlan, PaintsWhatCopyingEveryTileWouldPaint) {
    const PixelRect visibles[] = {{0, 0, 40, 30}, {7, 3, 23, 19}, {-5, -5, 12, 9}, {26, 0, 40, 30}};
    const PixelRect areas[] = {{0, 0, 25, 25}, {3, 2, 4, 3}, {-4, 5, 33, 17}, {5, 5, 5, 20}};
    const std::pair<int, int> tiles[] = {{10, 10}, {1, 1}, {3, 7}, {50, 40}};
    for (const auto& visible : visibles)
        for (const auto& area : areas)
            for (const auto& [width, height] : tiles)
                EXPECT_EQ(byPlan(width, height, planTiles(width, height, area, visible), visible),
                          tileByTile(width, height, area, visible))
                    << width << "x" << height << " over " << area.left << "," << area.top << "-" << area.right
                    << "," << area.bottom << " seen " << visible.left << "," << visible.top << "-"
                    << visible.right << "," << visible.bottom;
}

TEST(TilePlan, TheLastTilesReachPastTheArea) {
    // A 10 x 10 tile over 25 x 25: nine tiles, the outer ones reaching to 30.
    EXPECT_EQ(planTiles(10, 10, {0, 0, 25, 25}, {0, 0, 100, 100}), (TilePlan{3, 3, 0, 0, {0, 0, 30, 30}}));
    // A tile larger than the area: one copy, whole.
    EXPECT_EQ(planTiles(600, 400, {10, 20, 110, 70}, {0, 0, 800, 600}),
              (TilePlan{1, 1, 10, 20, {10, 20, 610, 420}}));
}

TEST(TilePlan, AOnePixelTileOverAnyExtentIsOneFillOfTheVisiblePart) {
    // 1 x 1 over a page: about 250,000 tiles, one fill.
    EXPECT_EQ(planTiles(1, 1, {0, 0, 600, 420}, {0, 0, 600, 400}),
              (TilePlan{600, 400, 0, 0, {0, 0, 600, 400}}));
    // An absurd extent costs no more than the visible rectangle, without overflow.
    const TilePlan absurd = planTiles(1, 1, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 640, 480});
    EXPECT_EQ(absurd, (TilePlan{640, 480, 0, 0, {0, 0, 640, 480}}));
    const TilePlan far =
        planTiles(7, 5, {-2000000000, -2000000000, 2000000000, 2000000000}, {3, 4, 640, 480});
    EXPECT_EQ(far.fill, (PixelRect{3, 4, 640, 480}));
    EXPECT_EQ((far.originX + 2000000000) % 7, 0); // on the tile grid, within one tile of the visible part
    EXPECT_GT(far.originX, 3 - 7);
    EXPECT_LE(far.originX, 3);
    EXPECT_EQ((far.originY + 2000000000) % 5, 0);
}

TEST(TilePlan, NothingToDrawGivesNoTiles) {
    const PixelRect visible{0, 0, 100, 100};
    EXPECT_EQ(planTiles(0, 10, {0, 0, 50, 50}, visible).columns, 0);
    EXPECT_EQ(planTiles(10, 10, {0, 0, 0, 50}, visible).columns, 0);
    EXPECT_EQ(planTiles(10, 10, {200, 0, 300, 50}, visible).columns, 0);
    EXPECT_EQ(planTiles(10, 10, {-50, 0, -10, 50}, visible).columns, 0);
}
