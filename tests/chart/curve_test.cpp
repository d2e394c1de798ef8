#include "chart/curve.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

#include "core/false_position.h"
#include "recording_surface.h"

using namespace korzenik;

namespace {

Calls curveCalls(const ChartScale& s, FunctionIndex k, int noFunctionFlag = 0) {
    return recorded([&](DrawingSurface& surface) { drawCurve(surface, s, k, noFunctionFlag); });
}

/// The points a chain of segments passes through: the first one's start, then each one's end.
std::vector<Point> pointsOf(const Calls& calls) {
    std::vector<Point> out;
    if (!calls.empty()) out.push_back({calls[0].x, calls[0].y});
    for (const SurfaceCall& c : calls) out.push_back({c.cx, c.cy});
    return out;
}

}  // namespace

TEST(DrawCurve, XSquaredMinusFourOnMinusThreeToThree) {
    const ChartScale s = scaleOf(-3.f, 3.f, 1);
    const Calls calls = curveCalls(s, 1);
    ASSERT_EQ(calls.size(), 490u);  // 491 points, one red line through them
    EXPECT_EQ(calls[0], SurfaceCall::segment(261, 60, 262, 63, kRed));
    for (std::size_t i = 1; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].colour, kRed);
        EXPECT_EQ(calls[i].x, 261 + static_cast<std::int32_t>(i));
        EXPECT_EQ(calls[i].cx, 262 + static_cast<std::int32_t>(i));
        EXPECT_EQ(calls[i].y, calls[i - 1].cy);
    }
    const std::vector<Point> points = pointsOf(calls);
    for (const auto& [i, y] : {std::pair{1, 63}, {2, 67}, {244, 503}, {245, 504}, {489, 63}}) {
        EXPECT_EQ(points[static_cast<std::size_t>(i)].y, y) << i;
    }
    EXPECT_EQ(calls.back().cx, 751);
    EXPECT_EQ(calls.back().cy, 60);
}

// Reversed, the graph is mirrored: the first point, at the left edge, belongs to start.
TEST(DrawCurve, ReversedIntervalDrawsTheMirroredGraph) {
    const std::vector<Point> forward = pointsOf(curveCalls(scaleOf(-3.f, 3.f, 3), 3));
    const std::vector<Point> reversed = pointsOf(curveCalls(scaleOf(3.f, -3.f, 3), 3));
    ASSERT_EQ(reversed.size(), 491u);
    ASSERT_EQ(forward.size(), 491u);
    EXPECT_EQ(reversed[0].x, 261);
    EXPECT_EQ(reversed[0].y, 250);  // 60 + (1 - sin 3) * 222 = 250.7
    for (std::size_t i = 0; i < 491; ++i) {
        EXPECT_EQ(reversed[i].x, forward[i].x);
        EXPECT_LE(std::abs(reversed[i].y - forward[490 - i].y), 1) << i;  // abscissae round
    }
}

TEST(DrawCurve, NothingWithoutAFunctionIntervalOrRowScale) {
    const Calls nothing;
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(curveCalls(scaleOf(-1.f, 2.f, 0), 0, 1), nothing);
    EXPECT_EQ(curveCalls(scaleOf(2.f, 2.f, 3), 3), nothing);
    EXPECT_EQ(curveCalls(scaleOf(-0.00001f, 0.00001f, 1), 1), nothing);  // ySpan 0
    EXPECT_EQ(curveCalls(scaleOf(-3e38f, 3e38f, 3), 3), nothing);        // range overflows
    EXPECT_EQ(curveCalls(scaleOf(-inf, inf, 1), 1), nothing);
    EXPECT_EQ(curveCalls(scaleOf(0.f, inf, 3), 3), nothing);
}

// A sample whose row has no pixel is left out with both segments that would touch it.
TEST(DrawCurve, PointsWithoutAPixelBreakTheLine) {
    ChartScale s = scaleOf(-3.f, 3.f, 1);
    s.yUnit = 1e-9f;  // rows up to 5e9: only values within 2 of max keep a pixel
    const Calls calls = curveCalls(s, 1);
    ASSERT_FALSE(calls.empty());
    std::int32_t pieces = 1;
    for (std::size_t i = 1; i < calls.size(); ++i) {
        pieces += calls[i].x != calls[i - 1].cx || calls[i].y != calls[i - 1].cy ? 1 : 0;
    }
    EXPECT_EQ(pieces, 2);  // both ends of the parabola, separately
    EXPECT_EQ(calls.front().x, 261);
    EXPECT_EQ(calls.front().y, 60);
    EXPECT_EQ(calls.back().cx, 751);
    EXPECT_EQ(calls.back().cy, 60);
}

// The first step on x*x-4 from 0 to 3: chord from the chordB end to the chordA end, gray line
// from the horizontal axis to the curve at the approximation.
TEST(DrawIterationStep, FirstStepOnXSquaredMinusFour) {
    const ChartScale s = scaleOf(0.f, 3.f, 1);
    SolverState state;
    selectFunction(state, 1);
    commitInterval(state, 0.f, 3.f, 0.001f);
    const StepOutcome step = falsePositionStep(state);
    EXPECT_EQ(recorded([&](DrawingSurface& surface) {
                  drawIterationStep(surface, s, step.chordA, step.chordB, step.approximation, 1);
              }),
              (Calls{SurfaceCall::segment(751, 60, 261, 504, kBlue),
                     SurfaceCall::segment(478, 306, 478, 416, kGray)}));
}

// The overlay is not clipped to the chart: far columns are drawn as far as the window goes, and
// a column beyond the 32-bit plane leaves out the line that needs it.
TEST(DrawIterationStep, FarAwayPointsAreClippedOrLeftOut) {
    const ChartScale s = scaleOf(0.f, 3.f, 3);  // sin: values 0 to 1, rows 504 to 60
    const auto draw = [&](DrawingSurface& surface) {
        drawIterationStep(surface, s, -1000000.f, 3.f, 1e12f, 3);
    };
    const Calls calls = recorded(draw);
    ASSERT_EQ(calls.size(), 1u);  // 1e12 has no column: no gray line
    EXPECT_EQ(calls[0].x, 751);
    EXPECT_EQ(calls[0].y, 441);          // 60 + (1 - sin 3) * 444 = 441.3
    EXPECT_LT(calls[0].cx, -163000000);  // -1e6 / xStep + 261
    EXPECT_EQ(calls[0].colour, kBlue);
    // Across the window the chord stays on row 441: it climbs less than a row over 800 columns.
    const Framebuffer fb = paint(draw);
    for (std::int32_t x = 0; x <= 751; ++x) EXPECT_EQ(fb.pixel(x, 441), kBlue) << x;

    const Calls flat = recorded([](DrawingSurface& surface) {  // no rows at all
        drawIterationStep(surface, scaleOf(-1.f, 2.f, 0), -1.f, 2.f, 0.5f, 0);
    });
    EXPECT_EQ(flat, Calls{});
}
