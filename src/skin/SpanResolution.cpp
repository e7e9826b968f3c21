#include "skin/SpanResolution.h"

#include <algorithm>
#include <limits>

namespace {
int32_t clamp32(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Arithmetic in 64 bits so that absurd skin values cannot overflow.
Span resolveWide(int64_t s, int64_t e, int64_t total) {
    if (s == -1) {
        if (e == -1) return {0, clamp32(total)};
        if (e < -1) {
            int64_t start = total / 2 - (total + e) / 2;
            return {clamp32(start), clamp32(total + e)};
        }
        int64_t start = total / 2 - e / 2;
        return {clamp32(start), clamp32(start + e)};
    }
    if (s < -1) {
        if (e == -1) return {0, clamp32(total)};
        if (e < -1) return {0, clamp32(total + e)};
        return {clamp32(total + s), clamp32(total + s + e)};
    }
    if (e == -1) return {clamp32(s), clamp32(total)};
    if (e < -1) return {clamp32(s), clamp32(total + e)};
    return {clamp32(s), clamp32(s + e)};
}
} // namespace

Span resolveSpan(int32_t startCode, int32_t extentCode, int32_t total) {
    return resolveWide(startCode, extentCode, total);
}

PixelRect resolvePosition(const LayoutRect& codes, int32_t width, int32_t height) {
    Span horizontal = resolveSpan(codes.first, codes.third, width);
    Span vertical = resolveSpan(codes.second, codes.fourth, height);
    return {horizontal.start, vertical.start, horizontal.end, vertical.end};
}
