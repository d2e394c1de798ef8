#include "chart/curve.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

#include "core/false_position.h"
#include "recording_surface.h"

using namespace korzenik;

namespace {

Calls curveCalls(const ChartScale& s, FunctionIndex k, int noFunctionFlag = 0) {
    return recorded([&](DrawingSurface& surface) { drawCurve(surface, s, k, noFunctionFlag); });
}

}  // namespace

TEST(DrawCurve, XSquaredMinusFourOnMinusThreeToThree) {
    const ChartScale s = scaleOf(-3.f, 3.f, 1);
    const Calls calls = curveCalls(s, 1);
    ASSERT_EQ(calls.size(), 493u);  // pen, 491 points, pen
    EXPECT_EQ(calls[0], SurfaceCall::pen(kRed));
    EXPECT_EQ(calls[1], SurfaceCall::move(261, 60));
    for (std::size_t i = 2; i < 492; ++i) {
        EXPECT_EQ(calls[i].op, SurfaceCall::Op::LineTo);
        EXPECT_EQ(calls[i].x, 260 + static_cast<std::int32_t>(i));
    }
    for (const auto& [i, y] : {std::pair{2, 63}, {3, 67}, {245, 503}, {246, 504}, {490, 63}}) {
        EXPECT_EQ(calls[static_cast<std::size_t>(i)].y, y) << i;
    }
    EXPECT_EQ(calls[491], SurfaceCall::line(751, 60));
    EXPECT_EQ(calls[492], SurfaceCall::penDeleted());
}

// Reversed, the graph is mirrored: the first point, at the left edge, belongs to start.
TEST(DrawCurve, ReversedIntervalDrawsTheMirroredGraph) {
    const Calls forward = curveCalls(scaleOf(-3.f, 3.f, 3), 3);
    const Calls reversed = curveCalls(scaleOf(3.f, -3.f, 3), 3);
    ASSERT_EQ(reversed.size(), 493u);
    EXPECT_EQ(reversed[1], SurfaceCall::move(261, 250));  // 60 + (1 - sin 3) * 222 = 250.7
    for (std::size_t i = 1; i <= 491; ++i) {
        EXPECT_EQ(reversed[i].x, forward[i].x);
        EXPECT_LE(std::abs(reversed[i].y - forward[492 - i].y), 1) << i;  // abscissae round
    }
}

TEST(DrawCurve, NothingButThePenWithoutAFunctionIntervalOrRowScale) {
    const Calls pensOnly = {SurfaceCall::pen(kRed), SurfaceCall::penDeleted()};
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(curveCalls(scaleOf(-1.f, 2.f, 0), 0, 1), pensOnly);
    EXPECT_EQ(curveCalls(scaleOf(2.f, 2.f, 3), 3), pensOnly);
    EXPECT_EQ(curveCalls(scaleOf(-0.00001f, 0.00001f, 1), 1), pensOnly);  // ySpan 0
    EXPECT_EQ(curveCalls(scaleOf(-3e38f, 3e38f, 3), 3), pensOnly);        // range overflows
    EXPECT_EQ(curveCalls(scaleOf(-inf, inf, 1), 1), pensOnly);
    EXPECT_EQ(curveCalls(scaleOf(0.f, inf, 3), 3), pensOnly);
}

// A sample whose row has no pixel is left out with both segments that would touch it.
TEST(DrawCurve, PointsWithoutAPixelBreakTheLine) {
    ChartScale s = scaleOf(-3.f, 3.f, 1);
    s.yUnit = 1e-9f;  // rows up to 5e9: only values within 2 of max keep a pixel
    const Calls calls = curveCalls(s, 1);
    std::int32_t moves = 0;
    for (const SurfaceCall& c : calls) moves += c.op == SurfaceCall::Op::MoveTo ? 1 : 0;
    EXPECT_EQ(moves, 2);  // both ends of the parabola, separately
    EXPECT_EQ(calls[1], SurfaceCall::move(261, 60));
    EXPECT_EQ(calls[calls.size() - 2], SurfaceCall::line(751, 60));
}

// The first step on x*x-4 from 0 to 3: chord from the chordB end to the chordA end, gray line
// from the horizontal axis to the curve at the approximation.
TEST(DrawIterationStep, FirstStepOnXSquaredMinusFour) {
    const ChartScale s = scaleOf(0.f, 3.f, 1);
    SolverState state;
    selectFunction(state, 1);
    commitInterval(state, 0.f, 3.f, 0.001f);
    const StepOutcome step = falsePositionStep(state);
    EXPECT_EQ(
        recorded([&](DrawingSurface& surface) {
            drawIterationStep(surface, s, step.chordA, step.chordB, step.approximation, 1);
        }),
        (Calls{SurfaceCall::pen(kBlue), SurfaceCall::move(751, 60), SurfaceCall::line(261, 504),
               SurfaceCall::penDeleted(), SurfaceCall::pen(kGray), SurfaceCall::move(478, 306),
               SurfaceCall::line(478, 416), SurfaceCall::penDeleted()}));
}

// The overlay is not clipped to the chart: far columns are drawn as far as the window goes, and
// a column beyond the 32-bit plane leaves out the line that needs it.
TEST(DrawIterationStep, FarAwayPointsAreClippedOrLeftOut) {
    const ChartScale s = scaleOf(0.f, 3.f, 3);  // sin: values 0 to 1, rows 504 to 60
    const auto draw = [&](DrawingSurface& surface) {
        drawIterationStep(surface, s, -1000000.f, 3.f, 1e12f, 3);
    };
    const Calls calls = recorded(draw);
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[1], SurfaceCall::move(751, 441));  // 60 + (1 - sin 3) * 444 = 441.3
    EXPECT_LT(calls[2].x, -163000000);                 // -1e6 / xStep + 261
    EXPECT_EQ(calls[4], SurfaceCall::pen(kGray));      // 1e12 has no column
    EXPECT_EQ(calls[5], SurfaceCall::penDeleted());
    // Across the window the chord stays on row 441: it climbs less than a row over 800 columns.
    const Framebuffer fb = paint(draw);
    for (std::int32_t x = 0; x <= 751; ++x) EXPECT_EQ(fb.pixel(x, 441), kBlue) << x;

    const Calls flat = recorded([](DrawingSurface& surface) {  // no rows at all
        drawIterationStep(surface, scaleOf(-1.f, 2.f, 0), -1.f, 2.f, 0.5f, 0);
    });
    EXPECT_EQ(flat, (Calls{SurfaceCall::pen(kBlue), SurfaceCall::penDeleted(),
                           SurfaceCall::pen(kGray), SurfaceCall::penDeleted()}));
}
