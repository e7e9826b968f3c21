#pragma once
#include <cstdint>

#include "skin/SpanResolution.h"

// A tiled picture as one paint draws it: whole tiles repeated from the area's top-left corner
// (the last column and row reach past the area), of which only those that meet the visible
// rectangle count. One copy of the tile when a single tile is seen, otherwise one fill with the
// tile as pattern: a paint costs the same for a 1x1 tile and for any extent a skin names.
struct TilePlan {
    int64_t columns = 0; // columns and rows of tiles that meet the visible rectangle;
    int64_t rows = 0;    // none: nothing to draw
    int32_t originX = 0; // top-left corner of the first of those tiles, on the tile grid
    int32_t originY = 0;
    PixelRect fill; // those tiles cut to the visible rectangle
    bool operator==(const TilePlan&) const = default;
};

TilePlan planTiles(int32_t tileWidth, int32_t tileHeight, const PixelRect& area, const PixelRect& visible);
