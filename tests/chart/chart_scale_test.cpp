#include "chart/chart_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chart/framebuffer.h"
#include "recording_surface.h"

using namespace korzenik;

TEST(ChartScale, XSquaredMinusFourOnMinusThreeToThree) {
    int flag = 0;
    const ChartScale s = computeChartScale(-3.f, 3.f, 1, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(s.start, -3.f);
    EXPECT_EQ(s.end, 3.f);
    EXPECT_EQ(s.range, 6.f);
    EXPECT_EQ(s.xStep, 0.012244898f);
    EXPECT_EQ(s.max, 5.f);
    EXPECT_EQ(s.min, -4.f);
    EXPECT_EQ(s.ySpan, 9.f);
    EXPECT_EQ(s.yUnit, 0.020270269f);
    EXPECT_EQ(s.originX, 506.f);
    EXPECT_EQ(s.originY, 306.66666f);
    EXPECT_EQ(rowOf(s, 5.0), 60.0);  // max at the top, min at the bottom
    EXPECT_EQ(toPixel(rowOf(s, -4.0)), 504);  // 504.00002: yUnit is rounded
    EXPECT_EQ(columnOf(s, 0.0), 506.0);
}

TEST(ChartScale, XSquaredMinusFourOnZeroToThree) {
    int flag = 0;
    const ChartScale s = computeChartScale(0.f, 3.f, 1, flag);
    EXPECT_EQ(s.xStep, 0.0061224489f);
    EXPECT_EQ(s.max, 5.f);
    EXPECT_EQ(s.min, -4.f);
    EXPECT_EQ(s.yUnit, 0.020270269f);
    EXPECT_EQ(s.originX, 261.f);
    EXPECT_EQ(s.originY, 306.66666f);
}

// Reversed: the samples run from start down to end, and originX still marks the abscissa 0.
TEST(ChartScale, ReversedIntervalHasNegativeRangeAndTheSameOrigin) {
    int flag = 0;
    const ChartScale s = computeChartScale(3.f, -3.f, 1, flag);
    EXPECT_EQ(s.range, -6.f);
    EXPECT_EQ(s.xStep, -0.012244898f);
    EXPECT_EQ(s.originX, 506.f);
    EXPECT_EQ(s.max, 5.f);
    EXPECT_EQ(s.min, -4.f);
}

TEST(ChartScale, NoFunctionRaisesTheFlagAndGivesAFlatScale) {
    int flag = 0;
    const ChartScale s = computeChartScale(-1.f, 2.f, 0, flag);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(s.max, 1.f);
    EXPECT_EQ(s.min, 1.f);
    EXPECT_EQ(s.ySpan, 0.f);
    EXPECT_EQ(s.yUnit, 0.f);
    EXPECT_FALSE(pixelRowOf(s, 1.0));  // a flat scale has no rows
    EXPECT_EQ(pixelColumnOf(s, 0.0), 424);
}

TEST(ChartScale, EmptyIntervalHasNoColumns) {
    int flag = 0;
    const ChartScale s = computeChartScale(2.f, 2.f, 3, flag);
    EXPECT_EQ(s.range, 0.f);
    EXPECT_EQ(s.xStep, 0.f);
    EXPECT_FALSE(std::isfinite(s.originX));
    EXPECT_EQ(s.ySpan, 0.f);
    EXPECT_FALSE(pixelColumnOf(s, 2.0));
    EXPECT_FALSE(pixelRowOf(s, 0.0));
}

// A real becomes a pixel by truncation toward zero; a value without a 32-bit integer part has no
// pixel at all.
TEST(ToPixel, TruncatesTowardZeroWithinThe32BitRange) {
    EXPECT_EQ(toPixel(306.66666), 306);
    EXPECT_EQ(toPixel(-2.7), -2);
    EXPECT_EQ(toPixel(-0.9), 0);
    EXPECT_EQ(toPixel(2147483647.9), 2147483647);
    EXPECT_EQ(toPixel(-2147483648.9), -2147483647 - 1);
    EXPECT_FALSE(toPixel(2147483648.0));
    EXPECT_FALSE(toPixel(-2147483649.0));
    EXPECT_FALSE(toPixel(1e300));
    EXPECT_FALSE(toPixel(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(toPixel(-std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(toPixel(std::numeric_limits<double>::quiet_NaN()));
}

TEST(ClearChart, PaintsTheFrameAndAThreePixelMarginWhite) {
    RecordingSurface calls;
    clearChart(calls);
    EXPECT_EQ(calls.calls,
              (std::vector<SurfaceCall>{SurfaceCall::fill(258, 57, 496, 450, kWhite)}));

    Framebuffer fb(802, 566, kBlack);
    FramebufferSurface surface(fb);
    clearChart(surface);
    std::int32_t white = 0;
    for (std::int32_t y = 0; y < fb.height; ++y) {
        for (std::int32_t x = 0; x < fb.width; ++x) {
            const bool inside = x >= 258 && x <= 753 && y >= 57 && y <= 506;
            EXPECT_EQ(fb.pixel(x, y), inside ? kWhite : kBlack) << x << ", " << y;
            white += inside ? 1 : 0;
        }
    }
    EXPECT_EQ(white, 496 * 450);
}
