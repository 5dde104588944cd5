// The chart's arithmetic against numbers worked out by hand.
#include <chrono>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "chart/ChartMath.h"

using namespace chart;

TEST(ChartMath, NextStepWalksOneTwoFive) {
    EXPECT_EQ(NextStep(1), 2);
    EXPECT_EQ(NextStep(1.5), 2);
    EXPECT_EQ(NextStep(2), 5);
    EXPECT_EQ(NextStep(7), 10);
    EXPECT_EQ(NextStep(20), 50);
    EXPECT_DOUBLE_EQ(NextStep(0.3), 0.5);
    EXPECT_DOUBLE_EQ(NextStep(0.05), 0.1);
    // Nothing to climb from: returned unchanged, so callers can stop.
    EXPECT_EQ(NextStep(0), 0);
    EXPECT_EQ(NextStep(-3), -3);
    EXPECT_EQ(NextStep(std::numeric_limits<double>::infinity()),
              std::numeric_limits<double>::infinity());
}

TEST(ChartMath, LabelStepOfTheResultFormAxes) {
    // Left axis -1.1 … 1.1: IRange 2.2 starts at 1 and keeps it for two labels or more.
    EXPECT_EQ(CalcIncrement(2.2, 0, 2, 10), 1);
    EXPECT_EQ(CalcIncrement(2.2, 0, 3, 10), 1);
    EXPECT_EQ(CalcIncrement(2.2, 0, 1, 10), 2); // Round(1.1) = 1
    // Bottom axis 0 … 31: 1, then 2 (Round(15.5) = 16 by ties to even), 5, 10.
    EXPECT_EQ(CalcIncrement(31, 0, 31, 10), 1);
    EXPECT_EQ(CalcIncrement(31, 0, 20, 10), 2);
    EXPECT_EQ(CalcIncrement(31, 0, 15, 10), 5);
    EXPECT_EQ(CalcIncrement(31, 0, 5, 10), 10);
    // A user increment is a lower bound.
    EXPECT_EQ(CalcIncrement(31, 3, 20, 10), 3);
    EXPECT_EQ(CalcIncrement(31, 3, 5, 10), 10);
    // Below 1 the search starts at 1e-12 and climbs.
    EXPECT_NEAR(CalcIncrement(0.5, 0, 5, 10), 0.1, 1e-15);
    // No room, or no separation: the smallest step, or the start.
    EXPECT_EQ(CalcIncrement(31, 0, 0, 10), kMinIncrement);
    EXPECT_EQ(CalcIncrement(31, 0, 5, 0), 1);
}

TEST(ChartMath, LabelStepEndsForHostileInput) {
    auto start = std::chrono::steady_clock::now();
    // A subnormal increment stays unchanged under NextStep's scaling forever; NaN and infinite
    // ranges never give a small enough quotient.
    EXPECT_EQ(CalcIncrement(2.2, std::numeric_limits<double>::denorm_min(), 2, 10), 1);
    EXPECT_GE(CalcIncrement(std::numeric_limits<double>::infinity(), 0, 5, 10), kMinIncrement);
    EXPECT_GE(CalcIncrement(std::nan(""), 0, 5, 10), kMinIncrement);
    EXPECT_GE(CalcIncrement(1e308, 0, 5, 10), 1e307);
    EXPECT_GE(CalcIncrement(2.2, std::nan(""), 5, 10), kMinIncrement);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(ChartMath, MaxLabelsCount) {
    // 13-pixel labels + Round(1.3) separation = 14; Round(30 / 14) = 2.
    EXPECT_EQ(MaxLabelsCount(30, 13, 10), 2);
    EXPECT_EQ(MaxLabelsCount(47, 13, 10), 3);
    EXPECT_EQ(MaxLabelsCount(565, 12, 10), 43);
    EXPECT_EQ(MaxLabelsCount(565, 0, 10), 1);
    EXPECT_EQ(MaxLabelsCount(100, 10, 0), 10);
}

TEST(ChartMath, LabelValuesRunDownFromTheTop) {
    EXPECT_EQ(AxisLabelValues(-1.1, 1.1, 1, true, true), (std::vector<double>{1, 0, -1}));
    EXPECT_EQ(AxisLabelValues(0, 31, 5, true, true),
              (std::vector<double>{30, 25, 20, 15, 10, 5, 0}));
    EXPECT_EQ(AxisLabelValues(0, 31, 1, true, true).size(), 32u);
    EXPECT_EQ(AxisLabelValues(0, 31, 5, false, true).front(), 31);
    // Negative maxima: Trunc(-1.5) = -1 lies above the maximum and is stepped down first.
    EXPECT_EQ(AxisLabelValues(-5.5, -1.5, 1, true, true), (std::vector<double>{-2, -3, -4, -5}));
    // Exclusive bounds without labels on the axis.
    EXPECT_EQ(AxisLabelValues(0, 30, 10, true, false), (std::vector<double>{20, 10}));
    EXPECT_EQ(AxisLabelValues(3, 3, 1, true, true), (std::vector<double>{3}));
}

TEST(ChartMath, LabelValuesRefuseWhatCannotBeDrawn) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(AxisLabelValues(0, inf, 1, true, true).empty());
    EXPECT_TRUE(AxisLabelValues(-inf, 0, 1, true, true).empty());
    EXPECT_TRUE(AxisLabelValues(std::nan(""), 1, 1, true, true).empty());
    EXPECT_TRUE(AxisLabelValues(0, 1, 0, true, true).empty());
    EXPECT_TRUE(AxisLabelValues(0, 1, 1e-5, true, true).empty());       // 100000 labels
    EXPECT_TRUE(AxisLabelValues(1e300, 1e300, 1, true, true).empty());  // Trunc overflows
    EXPECT_TRUE(AxisLabelValues(3e9, 3e9 + 10, 1, true, true).empty()); // beyond 32 bits
    EXPECT_EQ(AxisLabelValues(0, 9999, 1, true, true).size(), 10000u);
    EXPECT_EQ(RoundLabelValue(1e300, 1), 1e300);
    EXPECT_EQ(RoundLabelValue(-1.5, 1), -1);
}

TEST(ChartMath, RoundPixelIsGuarded) {
    EXPECT_EQ(RoundPixel(2.5L), 2);
    EXPECT_EQ(RoundPixel(3.5L), 4);
    EXPECT_EQ(RoundPixel(-2.5L), -2);
    EXPECT_EQ(RoundPixel(1e300L), int32_t(kPixelLimit));
    EXPECT_EQ(RoundPixel(-std::numeric_limits<long double>::infinity()), -int32_t(kPixelLimit));
    EXPECT_EQ(RoundPixel(std::nanl(""), 17), 17);
}

TEST(ChartMath, MarginsOfTheWorkedExample) {
    // 631 × 71 bounds: 18.93 → 19 left and right, 2.84 → 3 top and bottom.
    EXPECT_EQ(MarginRect(TRect{0, 0, 631, 71}, 0, 3, 4, 3, 4), (TRect{19, 3, 612, 68}));
    EXPECT_EQ(MarginRect(TRect{10, 20, 110, 70}, 2, 3, 4, 3, 4), (TRect{15, 24, 105, 66}));
}

TEST(ChartMath, GradientOfOnePixelIsOneBandOfTheFirstColour) {
    auto bands = GradientBands(TRect{0, 0, 10, 1}, 0x123456, 0xABCDEF, gdTopBottom);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0].rect, (TRect{0, 0, 10, 1}));
    EXPECT_EQ(bands[0].color, 0x123456);
}

TEST(ChartMath, GradientTilesSmallRectanglesRowByRow) {
    // 10 rows: S = 11, N = 11, ten one-row bands from the bottom up.
    auto bands = GradientBands(TRect{0, 0, 5, 10}, 0xFFFFFF, 0x80FFFF, gdTopBottom);
    ASSERT_EQ(bands.size(), 10u);
    for (int t = 0; t < 10; ++t) {
        EXPECT_EQ(bands[size_t(t)].rect, (TRect{0, 9 - t, 5, 10 - t}));
        int blue = 255 + int(std::lround(-127.0 * t / 10)); // MulDiv(t, -127, 10)
        if (t == 5)
            blue = 255 - 64; // -63.5 rounds away from zero
        EXPECT_EQ(bands[size_t(t)].color, TColor(0xFFFF | (blue << 16))) << t;
    }
    // The result form's charts: 71 rows, top row band 70 = 255 - MulDiv(70, 127, 71) = 130.
    auto chart = GradientBands(TRect{0, 0, 631, 71}, 0xFFFFFF, 0x80FFFF, gdTopBottom);
    ASSERT_EQ(chart.size(), 71u);
    EXPECT_EQ(chart.back().rect, (TRect{0, 0, 631, 1}));
    EXPECT_EQ(chart.back().color, TColor(0x82FFFF));
    EXPECT_EQ(chart.front().color, TColor(0xFFFFFF));
}

TEST(ChartMath, GradientDirectionsAndEqualColours) {
    auto vertical = GradientBands(TRect{0, 0, 4, 3}, 0x000000, 0x0000FF, gdLeftRight);
    ASSERT_EQ(vertical.size(), 4u);
    EXPECT_EQ(vertical[0].rect, (TRect{3, 0, 4, 3})); // colour A at the right edge
    for (const auto& band : GradientBands(TRect{0, 0, 50, 50}, 0x336699, 0x336699, gdTopBottom))
        EXPECT_EQ(band.color, 0x336699);
    // Swapped corners are normalised.
    EXPECT_EQ(GradientBands(TRect{5, 10, 0, 0}, 1, 2, gdTopBottom).size(), 10u);
}

TEST(ChartMath, TallGradientFillsItsTopStrip) {
    // 400 rows: 255 bands reach MulDiv(255, 401, 256) = 399 rows; the last row takes the last
    // band's colour (blue 255 + MulDiv(254, -127, 255) = 128) instead of staying unpainted.
    auto bands = GradientBands(TRect{0, 0, 8, 400}, 0xFFFFFF, 0x80FFFF, gdTopBottom);
    ASSERT_EQ(bands.size(), 256u);
    std::vector<int> painted(400, 0);
    for (const auto& band : bands)
        for (int y = band.rect.top; y < band.rect.bottom; ++y)
            ++painted[size_t(y)];
    for (int y = 0; y < 400; ++y)
        EXPECT_EQ(painted[size_t(y)], 1) << y;
    EXPECT_EQ(bands.back().rect, (TRect{0, 0, 8, 1}));
    EXPECT_EQ(bands.back().color, TColor(0x80FFFF));
    EXPECT_EQ(bands[254].color, TColor(0x80FFFF));
}

TEST(ChartMath, SegmentClipping) {
    TDoubleRect box{0, 0, 100, 100};
    double x0 = -1e12, y0 = 10, x1 = 50, y1 = 10;
    ASSERT_TRUE(ClipSegment(x0, y0, x1, y1, box));
    EXPECT_EQ(x0, 0);
    EXPECT_EQ(y0, 10);
    EXPECT_EQ(x1, 50);
    x0 = 50, y0 = 50, x1 = 50, y1 = 1e15;
    ASSERT_TRUE(ClipSegment(x0, y0, x1, y1, box));
    EXPECT_EQ(y1, 100);
    x0 = -10, y0 = -10, x1 = -5, y1 = 200;
    EXPECT_FALSE(ClipSegment(x0, y0, x1, y1, box));
    x0 = 0, y0 = std::nan(""), x1 = 1, y1 = 1;
    EXPECT_FALSE(ClipSegment(x0, y0, x1, y1, box));
}
