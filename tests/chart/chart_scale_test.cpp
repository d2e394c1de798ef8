#include "chart/chart_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "recording_surface.h"

using namespace korzenik;

TEST(ChartScale, XSquaredMinusFourOnMinusThreeToThreeAndReversed) {
    int flag = 0;
    const ChartScale s = computeChartScale(-3.f, 3.f, 1, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(s.range, 6.f);
    EXPECT_EQ(s.xStep, 0.012244898f);
    EXPECT_EQ(s.max, 5.f);
    EXPECT_EQ(s.min, -4.f);
    EXPECT_EQ(s.ySpan, 9.f);
    EXPECT_EQ(s.yUnit, 0.020270269f);
    EXPECT_EQ(s.originX, 506.f);
    EXPECT_EQ(s.originY, 306.66666f);
    EXPECT_EQ(rowOf(s, 5.0), 60.0);           // max at the top, min at the bottom
    EXPECT_EQ(toPixel(rowOf(s, -4.0)), 504);  // 504.00002: yUnit is rounded
    EXPECT_EQ(columnOf(s, 0.0), 506.0);
    EXPECT_EQ(scaleOf(0.f, 3.f, 1).originX, 261.f);

    // Reversed: the samples run from start down to end, and originX still marks the abscissa 0.
    const ChartScale r = scaleOf(3.f, -3.f, 1);
    EXPECT_EQ(r.range, -6.f);
    EXPECT_EQ(r.xStep, -0.012244898f);
    EXPECT_EQ(r.originX, 506.f);
    EXPECT_EQ(r.max, 5.f);
    EXPECT_EQ(r.min, -4.f);
}

TEST(ChartScale, NoFunctionOrEmptyIntervalLeavesRowsOrColumnsWithoutPixels) {
    int flag = 0;
    const ChartScale none = computeChartScale(-1.f, 2.f, 0, flag);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(none.max, 1.f);
    EXPECT_EQ(none.min, 1.f);
    EXPECT_EQ(none.yUnit, 0.f);
    EXPECT_FALSE(pixelRowOf(none, 1.0));
    EXPECT_EQ(pixelColumnOf(none, 0.0), 424);

    const ChartScale empty = scaleOf(2.f, 2.f, 3);
    EXPECT_EQ(empty.xStep, 0.f);
    EXPECT_FALSE(std::isfinite(empty.originX));
    EXPECT_FALSE(pixelColumnOf(empty, 2.0));
    EXPECT_FALSE(pixelRowOf(empty, 0.0));
}

// A real becomes a pixel by truncation toward zero; a value without a 32-bit integer part has no
// pixel at all.
TEST(ToPixel, TruncatesTowardZeroWithinThe32BitRange) {
    EXPECT_EQ(toPixel(306.66666), 306);
    EXPECT_EQ(toPixel(-2.7), -2);
    EXPECT_EQ(toPixel(-0.9), 0);
    EXPECT_EQ(toPixel(2147483647.9), 2147483647);
    EXPECT_EQ(toPixel(-2147483648.9), -2147483647 - 1);
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {2147483648.0, -2147483649.0, 1e300, inf, -inf, std::nan("")}) {
        EXPECT_FALSE(toPixel(v)) << v;
    }
}

TEST(ClearChart, PaintsTheFrameAndAThreePixelMarginWhite) {
    EXPECT_EQ(recorded([](DrawingSurface& s) { clearChart(s); }),
              (Calls{{SurfaceCall::Op::FillSolidRect, 258, 57, 496, 450, kWhite}}));
}
