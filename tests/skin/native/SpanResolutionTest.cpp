#include <gtest/gtest.h>

#include "skin/SpanResolution.h"

// Every row of the position table, with total 600 (and odd totals for the halving rows).
TEST(ResolveSpan, StartMinusOneRows) {
    EXPECT_EQ(resolveSpan(-1, -1, 600), (Span{0, 600}));
    EXPECT_EQ(resolveSpan(-1, -100, 600), (Span{300 - 250, 500}));
    EXPECT_EQ(resolveSpan(-1, -100, 601), (Span{300 - 250, 501}));
    EXPECT_EQ(resolveSpan(-1, 200, 600), (Span{200, 400}));
    EXPECT_EQ(resolveSpan(-1, 201, 601), (Span{300 - 100, 401}));
}

TEST(ResolveSpan, StartBelowMinusOneRows) {
    EXPECT_EQ(resolveSpan(-120, -1, 600), (Span{0, 600}));
    EXPECT_EQ(resolveSpan(-120, -50, 600), (Span{0, 550}));
    EXPECT_EQ(resolveSpan(-120, 100, 600), (Span{480, 580}));
}

TEST(ResolveSpan, StartZeroOrMoreRows) {
    EXPECT_EQ(resolveSpan(10, -1, 600), (Span{10, 600}));
    EXPECT_EQ(resolveSpan(10, -30, 600), (Span{10, 570}));
    EXPECT_EQ(resolveSpan(10, 100, 600), (Span{10, 110}));
    EXPECT_EQ(resolveSpan(0, 0, 600), (Span{0, 0}));
}

TEST(ResolveSpan, HalvesTruncateTowardZero) {
    // (T + e) / 2 with a negative sum truncates toward zero, not downward.
    EXPECT_EQ(resolveSpan(-1, -605, 600), (Span{300 - (-5 / 2), -5}));
    EXPECT_EQ(resolveSpan(-1, 3, 0), (Span{-1, 2}));
}

TEST(ResolveSpan, ExtremeCodesSaturateInsteadOfOverflowing) {
    Span span = resolveSpan(2147483647, 2147483647, 600);
    EXPECT_EQ(span.start, 2147483647);
    EXPECT_EQ(span.end, 2147483647);
    span = resolveSpan(-2147483647 - 1, 100, 600);
    EXPECT_EQ(span.start, -2147483647 - 1 + 600);
}

TEST(ResolvePosition, EdgeCasesOfASixHundredByFourHundredWindow) {
    EXPECT_EQ(resolvePosition({10, 20, 100, 30}, 600, 400), (PixelRect{10, 20, 110, 50}));
    EXPECT_EQ(resolvePosition({-1, -1, -1, -1}, 600, 400), (PixelRect{0, 0, 600, 400}));
    EXPECT_EQ(resolvePosition({-1, 5, 200, 20}, 600, 400), (PixelRect{200, 5, 400, 25}));
    EXPECT_EQ(resolvePosition({-120, -40, 100, 30}, 600, 400), (PixelRect{480, 360, 580, 390}));
}
