#include "chart/axes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "chart/framebuffer.h"
#include "core/precision.h"
#include "recording_surface.h"

using namespace korzenik;

namespace {

using Calls = std::vector<SurfaceCall>;

ChartScale scaleOf(float start, float end, FunctionIndex k) {
    int flag = 0;
    return computeChartScale(start, end, k, flag);
}

Calls axesCalls(const ChartScale& s, int noFunctionFlag = 0) {
    RecordingSurface surface;
    drawAxes(surface, s, noFunctionFlag);
    return surface.calls;
}

void appendMark(Calls& calls, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    calls.push_back(SurfaceCall::move(x0, y0));
    calls.push_back(SurfaceCall::line(x1, y1));
}

/// The axes drawn the plain way: each pass counts k one by one with a 32-bit counter. Passes
/// give up after `cap` multiples; `longestPass` is the most marks one pass drew.
struct PlainAxes {
    Calls calls;
    bool capped = false;
    std::int64_t longestPass = 0;
};

PlainAxes plainAxes(const ChartScale& s, int flag, std::int64_t cap) {
    PlainAxes out;
    const auto pass = [&](float bound, int direction, auto tick) {
        std::int64_t marks = 0;
        std::int64_t visited = 0;
        if (direction > 0 && 0 > bound) return;
        if (direction < 0 && 0 < bound) return;
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
    out.calls.push_back(SurfaceCall::pen(kBlack));
    float step = s.ySpan;
    if (!(widen(s.start) * widen(s.end) > 0) && s.start != s.end && flag != 1) {
        const auto x = static_cast<std::int32_t>(s.originX);
        appendMark(out.calls, x, 60, x, 504);
        step = verticalTickStep(s.ySpan);
        const auto tick = [&](std::int32_t k) {
            const float ty = single(widen(s.originY) - k * widen(step) / widen(s.yUnit));
            if (!(60 <= ty && ty <= 504)) return false;
            const auto y = static_cast<std::int32_t>(ty);
            appendMark(out.calls, x - 3, y, x + 3, y);
            return true;
        };
        pass(single(widen(s.max) / widen(step)), 1, tick);
        pass(single(widen(s.min) / widen(step)), -1, tick);
    }
    if (!(widen(s.min) * widen(s.max) > 0) && s.start != s.end) {
        const auto y = static_cast<std::int32_t>(s.originY);
        appendMark(out.calls, 261, y, 751, y);
        step = horizontalTickStep(s.range, step);
        const auto tick = [&](std::int32_t k) {
            const float tx = single(k * widen(step) / widen(s.xStep) + widen(s.originX));
            if (!(261 <= tx && tx <= 751)) return false;
            const auto x = static_cast<std::int32_t>(tx);
            appendMark(out.calls, x, y - 3, x, y + 3);
            return true;
        };
        pass(single(widen(s.end) / widen(step)), 1, tick);
        pass(single(widen(s.start) / widen(step)), -1, tick);
    }
    out.calls.push_back(SurfaceCall::penDeleted());
    return out;
}

/// Drops a mark equal to the one just before it: the same pixels painted again.
Calls withoutRepeatedMarks(const Calls& calls) {
    Calls out;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const bool mark = calls[i].op == SurfaceCall::Op::MoveTo && i + 1 < calls.size();
        if (mark && out.size() >= 2 && out[out.size() - 2] == calls[i] &&
            out.back() == calls[i + 1]) {
            ++i;
            continue;
        }
        out.push_back(calls[i]);
    }
    return out;
}

}  // namespace

// The first rung whose threshold the extent strictly exceeds gives the step; rungs 10 to 14
// compare with double-precision thresholds.
TEST(TickStep, LadderThresholdsMustBeExceeded) {
    EXPECT_EQ(verticalTickStep(2.f), 0.1f);
    EXPECT_EQ(verticalTickStep(2.0000002f), 1.f);
    EXPECT_EQ(verticalTickStep(20.f), 1.f);
    EXPECT_EQ(verticalTickStep(9.f), 1.f);
    EXPECT_EQ(verticalTickStep(0.2f), 0.1f);     // 0.2f lies just above 0.2
    EXPECT_EQ(verticalTickStep(0.02f), 0.001f);  // 0.02f lies just below 0.02
    EXPECT_EQ(verticalTickStep(3e8f), 100000000.f);
    EXPECT_EQ(verticalTickStep(std::numeric_limits<float>::infinity()), 100000000.f);
    EXPECT_EQ(verticalTickStep(0.00003f), 0.00001f);
    EXPECT_EQ(verticalTickStep(0.00001f), 0.00001f);  // no rung: the extent itself
    EXPECT_EQ(verticalTickStep(0.f), 0.f);
}

TEST(TickStep, HorizontalLadderStopsAtThousandAndFallsBack) {
    EXPECT_EQ(horizontalTickStep(1000000.f, 7.f), 1000.f);
    EXPECT_EQ(horizontalTickStep(3e30f, 7.f), 1000.f);
    EXPECT_EQ(horizontalTickStep(2001.f, 7.f), 1000.f);
    EXPECT_EQ(horizontalTickStep(6.f, 7.f), 1.f);
    EXPECT_EQ(horizontalTickStep(0.02f, 7.f), 0.001f);
    EXPECT_EQ(horizontalTickStep(0.00002f, 7.f), 7.f);
    EXPECT_EQ(horizontalTickStep(-6.f, 7.f), 7.f);  // every reversed interval
}

TEST(DrawAxes, XSquaredMinusFourOnMinusThreeToThree) {
    Calls expected = {SurfaceCall::pen(kBlack)};
    appendMark(expected, 506, 60, 506, 504);
    // Upward: the tick of k = 5 falls at row 59.99998, above the frame.
    for (const std::int32_t y : {306, 257, 207, 158, 109}) appendMark(expected, 503, y, 509, y);
    for (const std::int32_t y : {306, 356, 405, 454, 504}) appendMark(expected, 503, y, 509, y);
    appendMark(expected, 261, 306, 751, 306);
    for (const std::int32_t x : {506, 587, 669, 751}) appendMark(expected, x, 303, x, 309);
    for (const std::int32_t x : {506, 424, 342, 261}) appendMark(expected, x, 303, x, 309);
    expected.push_back(SurfaceCall::penDeleted());
    EXPECT_EQ(axesCalls(scaleOf(-3.f, 3.f, 1)), expected);

    Framebuffer fb(802, 566, kWhite);
    FramebufferSurface surface(fb);
    drawAxes(surface, scaleOf(-3.f, 3.f, 1), 0);
    EXPECT_EQ(fb.pixel(506, 60), kBlack);
    EXPECT_EQ(fb.pixel(506, 503), kBlack);
    EXPECT_EQ(fb.pixel(503, 257), kBlack);
    EXPECT_EQ(fb.pixel(508, 257), kBlack);
    EXPECT_EQ(fb.pixel(509, 257), kWhite);  // a mark spans X - 3 to X + 2
    EXPECT_EQ(fb.pixel(751, 303), kBlack);
    EXPECT_EQ(fb.pixel(751, 308), kBlack);
    EXPECT_EQ(fb.pixel(751, 309), kWhite);  // a mark spans Y - 3 to Y + 2
    EXPECT_EQ(fb.pixel(752, 306), kWhite);
}

TEST(DrawAxes, NothingButThePenWithoutAFunctionOrAnInterval) {
    const Calls pensOnly = {SurfaceCall::pen(kBlack), SurfaceCall::penDeleted()};
    EXPECT_EQ(axesCalls(scaleOf(-1.f, 2.f, 0), 1), pensOnly);
    EXPECT_EQ(axesCalls(scaleOf(2.f, 2.f, 3)), pensOnly);
    EXPECT_EQ(axesCalls(scaleOf(0.f, 0.f, 1)), pensOnly);
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(axesCalls(scaleOf(-inf, inf, 1)), pensOnly);
    EXPECT_EQ(axesCalls(scaleOf(-3e38f, 3e38f, 3)), pensOnly);  // the range overflows
}

// A flat value range has no row scale: the vertical axis stands, but without ticks, and there
// is no horizontal axis.
TEST(DrawAxes, FlatValueRangeDrawsOnlyTheVerticalAxisLine) {
    const ChartScale s = scaleOf(-0.00001f, 0.00001f, 1);
    ASSERT_EQ(s.ySpan, 0.f);
    Calls expected = {SurfaceCall::pen(kBlack)};
    appendMark(expected, 506, 60, 506, 504);
    expected.push_back(SurfaceCall::penDeleted());
    EXPECT_EQ(axesCalls(s), expected);
}

TEST(DrawAxes, OneSidedIntervalsAndValuesLoseTheirAxis) {
    // 1 to 3: no vertical axis; the values -3 to 5 keep the horizontal one, ticked from the right.
    const Calls right = axesCalls(scaleOf(1.f, 3.f, 1));
    ASSERT_GE(right.size(), 4u);
    EXPECT_EQ(right[1].y, right[2].y);  // the first line drawn is horizontal
    EXPECT_EQ(right[1].x, 261);
    // 3 to 4: all values positive and no zero inside: nothing at all.
    EXPECT_EQ(axesCalls(scaleOf(3.f, 4.f, 1)),
              (Calls{SurfaceCall::pen(kBlack), SurfaceCall::penDeleted()}));
}

// Reversed around zero: the horizontal step falls back on the vertical one, and neither
// horizontal pass runs (the rightward bound is negative, the leftward one positive).
TEST(DrawAxes, ReversedIntervalAroundZeroHasNoHorizontalTicks) {
    const ChartScale s = scaleOf(3.f, -3.f, 1);
    const Calls calls = axesCalls(s);
    Calls expected = {SurfaceCall::pen(kBlack)};
    appendMark(expected, 506, 60, 506, 504);
    for (const std::int32_t y : {306, 257, 207, 158, 109}) appendMark(expected, 503, y, 509, y);
    for (const std::int32_t y : {306, 356, 405, 454, 504}) appendMark(expected, 503, y, 509, y);
    appendMark(expected, 261, 306, 751, 306);
    expected.push_back(SurfaceCall::penDeleted());
    EXPECT_EQ(calls, expected);
}

// A range of 1e6 gets the step 1000: every multiple in the frame is marked, two a column.
TEST(DrawAxes, RangeOfAMillionMarksEveryThousand) {
    const ChartScale s = scaleOf(-500000.f, 500000.f, 3);
    const PlainAxes plain = plainAxes(s, 0, 10000);
    ASSERT_FALSE(plain.capped);
    const Calls calls = axesCalls(s);
    EXPECT_EQ(calls, plain.calls);
    std::int32_t horizontalMarks = 0;
    for (const SurfaceCall& c : calls) {
        if (c.op == SurfaceCall::Op::MoveTo && c.y == static_cast<std::int32_t>(s.originY) - 3) {
            ++horizontalMarks;
        }
    }
    EXPECT_EQ(horizontalMarks, 1002);  // k = -500..500 and k = 0 once more
}

// Extremes near 1e38: the bounds lie far beyond the 32-bit counter. The vertical passes put
// every multiple they can count on the axis's row; the horizontal ones sweep about a hundred
// columns each side before the counter's end. Each distinct mark is drawn once, quickly.
TEST(DrawAxes, ExtremesNearTheFloatLimitDrawEachMarkOnce) {
    const ChartScale s = scaleOf(-5e12f, 5e12f, 2);
    ASSERT_GT(s.max, 1e38f);
    ASSERT_LT(s.min, -1e38f);
    const std::int32_t y = toPixel(s.originY).value();  // 281.99998: the middle row
    ASSERT_EQ(y, 281);
    Calls expected = {SurfaceCall::pen(kBlack)};
    appendMark(expected, 506, 60, 506, 504);
    appendMark(expected, 503, y, 509, y);  // upward: k = 0 .. 2^31 - 1, all on the axis row
    appendMark(expected, 503, y, 509, y);  // downward: k = 0 .. -2^31
    appendMark(expected, 261, y, 751, y);
    // The last multiple the counter reaches on each side.
    const auto last = static_cast<std::int32_t>(
        single(2147483647.0 * 1000.0 / widen(s.xStep) + widen(s.originX)));
    const auto first = static_cast<std::int32_t>(
        single(-2147483648.0 * 1000.0 / widen(s.xStep) + widen(s.originX)));
    ASSERT_GT(last, 600);
    ASSERT_LT(first, 412);
    for (std::int32_t x = 506; x <= last; ++x) appendMark(expected, x, y - 3, x, y + 3);
    for (std::int32_t x = 506; x >= first; --x) appendMark(expected, x, y - 3, x, y + 3);
    expected.push_back(SurfaceCall::penDeleted());
    EXPECT_EQ(axesCalls(s), expected);

    // x*x-4 there: every sample positive, so one vertical pass and no horizontal axis.
    Calls square = {SurfaceCall::pen(kBlack)};
    appendMark(square, 506, 60, 506, 504);
    appendMark(square, 503, 504, 509, 504);
    square.push_back(SurfaceCall::penDeleted());
    EXPECT_EQ(axesCalls(scaleOf(-1.8e19f, 1.8e19f, 1)), square);
}

// An interval far from zero: the rightward pass would count through a billion multiples (and
// past the 32-bit counter) before the frame; the marks are those inside it.
TEST(DrawAxes, IntervalFarFromZeroMarksOnlyTheFrame) {
    const ChartScale s = scaleOf(3e12f, 3.000001e12f, 3);
    ASSERT_GT(widen(s.end) / 1000.0, 2147483647.0);
    const Calls calls = axesCalls(s);
    std::int32_t marks = 0;
    for (std::size_t i = 4; i + 1 < calls.size(); i += 2) {
        ++marks;
        EXPECT_GE(calls[i].x, 261);
        EXPECT_LE(calls[i].x, 751);
        EXPECT_EQ(calls[i].x, calls[i + 1].x);
    }
    // The counter stops at 2^31 - 1, i.e. at 2.147e12, left of this interval: no mark.
    EXPECT_EQ(marks, 0);
}

// The bisecting passes draw exactly what counting one multiple at a time draws, on scales from
// real functions and on made-up ones whose extremes lie far from zero.
TEST(DrawAxes, BoundedPassesMatchThePlainCount) {
    std::mt19937_64 rng(77);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> pick(0, 9);
    const auto magnitude = [&](double lo, double hi) {
        return std::pow(10.0, lo + (hi - lo) * unit(rng)) * (pick(rng) < 5 ? -1 : 1);
    };
    int compared = 0, exactly = 0;
    for (int i = 0; i < 3000; ++i) {
        ChartScale s;
        if (i % 3 == 0) {
            s = scaleOf(single(magnitude(-6, 6)), single(magnitude(-6, 6)), 1 + i % 5);
        } else {
            // Made up: a value range of any size, centred up to a few hundred spans from zero.
            const float span = single(std::abs(magnitude(-7, 12)));
            const double centre = widen(span) * magnitude(-3, 2.4);
            s.max = single(centre + widen(span) / 2);
            s.min = single(centre - widen(span) / 2);
            s.start = single(magnitude(-5, 7));
            s.end = pick(rng) < 3 ? single(widen(s.start) + magnitude(-5, 7))
                                  : single(magnitude(-5, 7));
            s.range = single(widen(s.end) - widen(s.start));
            s.xStep = single(widen(s.range) / 490.0);
            s.ySpan = single(widen(s.max) - widen(s.min));
            s.yUnit = single(widen(s.ySpan) / 444.0);
            s.originX = single(-(widen(s.start) / widen(s.range)) * 490.0 + 261);
            s.originY = single((widen(s.max) / widen(s.ySpan)) * 444.0 + 60);
        }
        if (!(s.ySpan > 0) || !std::isfinite(s.originX) || std::abs(s.originX) > 1e9f ||
            std::abs(s.originY) > 1e9f) {
            continue;
        }
        const PlainAxes plain = plainAxes(s, 0, 20000);
        if (plain.capped) continue;
        ++compared;
        const Calls calls = axesCalls(s);
        if (plain.longestPass <= 2048) {
            ++exactly;
            ASSERT_EQ(calls, plain.calls) << "scale #" << i;
        } else {
            ASSERT_EQ(withoutRepeatedMarks(calls), withoutRepeatedMarks(plain.calls))
                << "scale #" << i;
        }
    }
    EXPECT_GT(compared, 1500);
    EXPECT_GT(compared - exactly, 10);  // some passes do put many marks on one pixel
}
