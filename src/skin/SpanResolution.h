#pragma once
#include <cstdint>

#include "skin/LayoutParsing.h"

// Position codes of the skin: a start of 0 or more is a distance from the left (top) edge, -1
// centres, other negative starts count from the right (bottom) edge; an extent of 0 or more is
// a width (height), -1 stretches to the far edge, other negative extents end that far before it.
struct Span {
    int32_t start = 0;
    int32_t end = 0;
    bool operator==(const Span&) const = default;
};

Span resolveSpan(int32_t startCode, int32_t extentCode, int32_t total);

struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const PixelRect&) const = default;
};

// Horizontal codes (first, third) against width, vertical codes (second, fourth) against height.
PixelRect resolvePosition(const LayoutRect& codes, int32_t width, int32_t height);
