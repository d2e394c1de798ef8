#include "chart/axes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "core/precision.h"
#include "recording_surface.h"

using namespace korzenik;

namespace {

Calls axesCalls(const ChartScale& s, int noFunctionFlag = 0) {
    return recorded([&](DrawingSurface& surface) { drawAxes(surface, s, noFunctionFlag); });
}

/// The tick marks drawn the plain way: each pass counts k one by one with a 32-bit counter.
/// Which axes there are is taken from what drawAxes drew (the worked examples check that), so
/// only the passes are done again here. `capped` when a pass gives up after `cap` multiples;
/// `longestPass` is the most marks one pass drew.
struct PlainAxes {
    Calls calls;
    bool capped = false;
    std::int64_t longestPass = 0;
};

PlainAxes plainAxes(const ChartScale& s, const Calls& drawn, std::int64_t cap) {
    PlainAxes out;
    // tick(k) returns the mark's pixel coordinate along the axis, or nothing outside the frame.
    const auto pass = [&](float bound, int direction, auto tick) {
        if (direction > 0 ? bound < 0 : bound > 0) return;
        std::int64_t marks = 0, visited = 0;
        for (std::int32_t k = 0; direction > 0 ? widen(bound) >= k : widen(bound) <= k;
             k += direction) {
            if (++visited > cap) {
                out.capped = true;
                return;
            }
            marks += tick(k) ? 1 : 0;
        }
        out.longestPass = std::max(out.longestPass, marks);
    };
    const auto axisAt = [&](const SurfaceCall& axis) {
        return std::find(drawn.begin(), drawn.end(), axis) != drawn.end();
    };
    const auto x = static_cast<std::int32_t>(s.originX);
    const auto y = static_cast<std::int32_t>(s.originY);
    float step = s.ySpan;
    if (axisAt(SurfaceCall::segment(x, 60, x, 504))) {
        appendMark(out.calls, x, 60, x, 504);
        step = verticalTickStep(s.ySpan);
        const auto tick = [&](std::int32_t k) {
            const float ty = single(widen(s.originY) - k * widen(step) / widen(s.yUnit));
            if (!(60 <= ty && ty <= 504)) return false;
            appendMark(out.calls, x - 3, static_cast<std::int32_t>(ty), x + 3,
                       static_cast<std::int32_t>(ty));
            return true;
        };
        pass(single(widen(s.max) / widen(step)), 1, tick);
        pass(single(widen(s.min) / widen(step)), -1, tick);
    }
    if (axisAt(SurfaceCall::segment(261, y, 751, y))) {
        appendMark(out.calls, 261, y, 751, y);
        step = horizontalTickStep(s.range, step);
        const auto tick = [&](std::int32_t k) {
            const float tx = single(k * widen(step) / widen(s.xStep) + widen(s.originX));
            if (!(261 <= tx && tx <= 751)) return false;
            appendMark(out.calls, static_cast<std::int32_t>(tx), y - 3,
                       static_cast<std::int32_t>(tx), y + 3);
            return true;
        };
        pass(single(widen(s.end) / widen(step)), 1, tick);
        pass(single(widen(s.start) / widen(step)), -1, tick);
    }
    return out;
}

/// Drops a mark equal to the one just before it: the same pixels painted again.
Calls withoutRepeatedMarks(const Calls& calls) {
    Calls out;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (!out.empty() && out.back() == calls[i]) continue;
        out.push_back(calls[i]);
    }
    return out;
}

/// x*x-4 on -3..3 (or reversed): the vertical axis at column 506 with its ticks, the horizontal
/// axis on row 306 and, when asked for, its ticks.
Calls xSquaredAxes(bool horizontalTicks) {
    Calls c;
    appendMark(c, 506, 60, 506, 504);
    // Upward: the tick of k = 5 falls at row 59.99998, above the frame.
    for (const std::int32_t y : {306, 257, 207, 158, 109, 306, 356, 405, 454, 504}) {
        appendMark(c, 503, y, 509, y);
    }
    appendMark(c, 261, 306, 751, 306);
    if (horizontalTicks) {
        for (const std::int32_t x : {506, 587, 669, 751, 506, 424, 342, 261}) {
            appendMark(c, x, 303, x, 309);
        }
    }
    return c;
}

}  // namespace

// The first rung whose threshold the extent strictly exceeds gives the step; rungs 10 to 14
// compare with double-precision thresholds. The horizontal ladder stops at 1000 and falls back
// on the vertical step below its lowest rung and for every reversed interval.
TEST(TickStep, LadderThresholdsMustBeExceeded) {
    const float inf = std::numeric_limits<float>::infinity();
    const float vertical[][2] = {{2.f, 0.1f},
                                 {2.0000002f, 1.f},
                                 {20.f, 1.f},
                                 {9.f, 1.f},
                                 {0.2f, 0.1f},     // 0.2f lies just above 0.2
                                 {0.02f, 0.001f},  // 0.02f lies just below 0.02
                                 {3e8f, 1e8f},
                                 {inf, 1e8f},
                                 {0.00003f, 0.00001f},
                                 {0.00001f, 0.00001f},  // no rung: the extent itself
                                 {0.f, 0.f}};
    for (const auto& c : vertical) EXPECT_EQ(verticalTickStep(c[0]), c[1]) << c[0];
    const float horizontal[][2] = {{1000000.f, 1000.f}, {3e30f, 1000.f}, {2001.f, 1000.f},
                                   {6.f, 1.f},          {0.02f, 0.001f}, {0.00002f, 7.f},
                                   {-6.f, 7.f}};
    for (const auto& c : horizontal) EXPECT_EQ(horizontalTickStep(c[0], 7.f), c[1]) << c[0];
}

TEST(DrawAxes, XSquaredMinusFourOnMinusThreeToThree) {
    EXPECT_EQ(axesCalls(scaleOf(-3.f, 3.f, 1)), xSquaredAxes(true));
}

// Reversed around zero: the horizontal step falls back on the vertical one, and neither
// horizontal pass runs (the rightward bound is negative, the leftward one positive).
TEST(DrawAxes, ReversedIntervalAroundZeroHasNoHorizontalTicks) {
    EXPECT_EQ(axesCalls(scaleOf(3.f, -3.f, 1)), xSquaredAxes(false));
}

TEST(DrawAxes, MissingFunctionIntervalOrSignChangeLeavesAxesOut) {
    const Calls nothing;
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(axesCalls(scaleOf(-1.f, 2.f, 0), 1), nothing);
    EXPECT_EQ(axesCalls(scaleOf(2.f, 2.f, 3)), nothing);
    EXPECT_EQ(axesCalls(scaleOf(0.f, 0.f, 1)), nothing);
    EXPECT_EQ(axesCalls(scaleOf(-inf, inf, 1)), nothing);
    EXPECT_EQ(axesCalls(scaleOf(-3e38f, 3e38f, 3)), nothing);  // the range overflows
    EXPECT_EQ(axesCalls(scaleOf(3.f, 4.f, 1)), nothing);       // values all positive, no 0

    // A flat value range has no row scale: the vertical axis without ticks, no horizontal axis.
    Calls flat;
    appendMark(flat, 506, 60, 506, 504);
    EXPECT_EQ(axesCalls(scaleOf(-0.00001f, 0.00001f, 1)), flat);

    // 1 to 3: no vertical axis; the values -3 to 5 keep the horizontal one.
    const Calls right = axesCalls(scaleOf(1.f, 3.f, 1));
    ASSERT_GE(right.size(), 1u);
    EXPECT_EQ(right[0].x, 261);
    EXPECT_EQ(right[0].y, right[0].cy);
}

// Extremes near 1e38: the bounds lie far beyond the 32-bit counter. The vertical passes put
// every multiple they can count on the axis's row; the horizontal ones sweep the columns up to
// the counter's end. Each distinct mark is drawn once, quickly.
TEST(DrawAxes, ExtremesNearTheFloatLimitDrawEachMarkOnce) {
    const ChartScale s = scaleOf(-5e12f, 5e12f, 2);
    ASSERT_GT(s.max, 1e38f);
    const std::int32_t y = 281;  // originY 281.99998: the middle row
    ASSERT_EQ(toPixel(widen(s.originY)), y);
    Calls expected;
    appendMark(expected, 506, 60, 506, 504);
    appendMark(expected, 503, y, 509, y);  // upward: k = 0 .. 2^31 - 1, all on the axis row
    appendMark(expected, 503, y, 509, y);  // downward: k = 0 .. -2^31
    appendMark(expected, 261, y, 751, y);
    const auto column = [&](double k) {  // the last multiple the counter reaches on a side
        return static_cast<std::int32_t>(single(k * 1000.0 / widen(s.xStep) + widen(s.originX)));
    };
    for (std::int32_t x = 506; x <= column(2147483647.0); ++x) {
        appendMark(expected, x, y - 3, x, y + 3);
    }
    for (std::int32_t x = 506; x >= column(-2147483648.0); --x) {
        appendMark(expected, x, y - 3, x, y + 3);
    }
    EXPECT_EQ(axesCalls(s), expected);

    // x*x-4 there: every sample positive, so one vertical pass and no horizontal axis.
    Calls square;
    appendMark(square, 506, 60, 506, 504);
    appendMark(square, 503, 504, 509, 504);
    EXPECT_EQ(axesCalls(scaleOf(-1.8e19f, 1.8e19f, 1)), square);

    // Far from zero the rightward pass would count past the 32-bit counter, which stops at
    // 2.147e12, left of this interval: the axis without a mark.
    const Calls far = axesCalls(scaleOf(3e12f, 3.000001e12f, 3));
    EXPECT_EQ(far.size(), 1u);
}

// The bisecting passes draw exactly what counting one multiple at a time draws, on scales from
// real functions and on made-up ones whose extremes lie far from zero.
TEST(DrawAxes, BoundedPassesMatchThePlainCount) {
    std::mt19937_64 rng(77);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto magnitude = [&](double lo, double hi) {
        return std::pow(10.0, lo + (hi - lo) * unit(rng)) * (unit(rng) < 0.5 ? -1 : 1);
    };
    int compared = 0, exactly = 0;
    for (int i = -1; i < 3000; ++i) {
        ChartScale s;
        if (i < 0) {
            s = scaleOf(-500000.f, 500000.f, 3);  // the step 1000: two marks a column
        } else if (i % 3 == 0) {
            s = scaleOf(single(magnitude(-6, 6)), single(magnitude(-6, 6)), 1 + i % 5);
        } else {
            // Made up: a value range of any size, centred up to a few hundred spans from zero.
            const double span = std::abs(magnitude(-7, 12));
            const double centre = span * magnitude(-3, 2.4);
            s.max = single(centre + span / 2);
            s.min = single(centre - span / 2);
            s.start = single(magnitude(-5, 7));
            s.end = single((unit(rng) < 0.3 ? widen(s.start) : 0.0) + magnitude(-5, 7));
            s.range = single(widen(s.end) - widen(s.start));
            s.xStep = single(widen(s.range) / 490.0);
            s.ySpan = single(widen(s.max) - widen(s.min));
            s.yUnit = single(widen(s.ySpan) / 444.0);
            s.originX = single(-(widen(s.start) / widen(s.range)) * 490.0 + 261);
            s.originY = single((widen(s.max) / widen(s.ySpan)) * 444.0 + 60);
        }
        if (!(s.ySpan > 0) || !(std::abs(s.originX) <= 1e9f) || std::abs(s.originY) > 1e9f) {
            continue;
        }
        const Calls calls = axesCalls(s);
        const PlainAxes plain = plainAxes(s, calls, 20000);
        if (plain.capped) continue;
        ++compared;
        if (plain.longestPass <= 2048) {
            ++exactly;
            ASSERT_EQ(calls, plain.calls) << "scale #" << i;
        } else {
            ASSERT_EQ(withoutRepeatedMarks(calls), withoutRepeatedMarks(plain.calls)) << i;
        }
    }
    EXPECT_GT(compared, 1500);
    EXPECT_GT(compared - exactly, 10);  // some passes do put many marks on one pixel
}
