#include "skin/TilePlan.h"

#include <algorithm>

namespace {
// The tiles of one axis, counted from the area's start, that meet [visibleStart, visibleEnd).
struct AxisTiles {
    int64_t first = 0;
    int64_t end = 0;
};

int64_t floorDiv(int64_t value, int64_t divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

AxisTiles visibleTiles(int64_t tile, int64_t start, int64_t end, int64_t visibleStart, int64_t visibleEnd) {
    const int64_t count = (end - start + tile - 1) / tile;
    return {std::max<int64_t>(0, floorDiv(visibleStart - start, tile)),
            std::min(count, floorDiv(visibleEnd - start - 1, tile) + 1)};
}
} // namespace

TilePlan planTiles(int32_t tileWidth, int32_t tileHeight, const PixelRect& area, const PixelRect& visible) {
    TilePlan plan;
    if (tileWidth <= 0 || tileHeight <= 0 || area.right <= area.left || area.bottom <= area.top) return plan;
    const AxisTiles columns = visibleTiles(tileWidth, area.left, area.right, visible.left, visible.right);
    const AxisTiles rows = visibleTiles(tileHeight, area.top, area.bottom, visible.top, visible.bottom);
    if (columns.end <= columns.first || rows.end <= rows.first) return plan;

    // Every value below lies within one tile of the visible rectangle, so it fits 32 bits again.
    const int64_t left = area.left + columns.first * tileWidth;
    const int64_t top = area.top + rows.first * tileHeight;
    const int64_t right = area.left + columns.end * tileWidth;
    const int64_t bottom = area.top + rows.end * tileHeight;
    plan.columns = columns.end - columns.first;
    plan.rows = rows.end - rows.first;
    plan.originX = static_cast<int32_t>(left);
    plan.originY = static_cast<int32_t>(top);
    plan.fill = {static_cast<int32_t>(std::max<int64_t>(left, visible.left)),
                 static_cast<int32_t>(std::max<int64_t>(top, visible.top)),
                 static_cast<int32_t>(std::min<int64_t>(right, visible.right)),
                 static_cast<int32_t>(std::min<int64_t>(bottom, visible.bottom))};
    return plan;
}
