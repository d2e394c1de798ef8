// The axes cross the chart where the abscissa and the function value are zero, each with tick
// marks at the multiples of a power of ten picked from the axis's extent. A tick pass counts
// k = 0, ±1, ±2, … toward the extreme of its axis with a 32-bit counter and marks the multiples
// that land inside the frame. Counting them one by one would cost as much as the extreme is far
// from zero (and never end when the bound is beyond the counter), so a pass instead bisects for
// the run of multiples inside the frame: a tick's position is monotone in k, because every
// operation of its formula is, and each bisection step uses that exact formula. The marks are
// those the plain count draws, in its order; only when a pass would put more than a couple of
// thousand of them into the frame (a step far below one pixel) is each distinct mark drawn once.

#include "chart/axes.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "core/precision.h"

namespace korzenik {

namespace {

struct Rung {
    double threshold;  ///< the extent must exceed it
    float step;
};

// The thresholds of rungs 1 to 9 are single-precision numbers, those of rungs 10 to 14 double.
constexpr Rung kLadder[] = {
    {widen(200000000.f), 100000000.f},
    {widen(20000000.f), 10000000.f},
    {widen(2000000.f), 1000000.f},
    {widen(200000.f), 100000.f},
    {widen(20000.f), 10000.f},
    {widen(2000.f), 1000.f},
    {widen(200.f), 100.f},
    {widen(20.f), 10.f},
    {widen(2.f), 1.f},
    {0.2, 0.1f},
    {0.02, 0.01f},
    {0.002, 0.001f},
    {0.0002, 0.0001f},
    {0.00002, 0.00001f},
};
constexpr std::size_t kFirstHorizontalRung = 5;  // rung 6: every range above 2000 gets 1000

/// Up to this many marks a pass draws every multiple in the frame, even several on one pixel
/// (a range of 1e6 puts two in a column); beyond it each distinct mark is drawn once, which
/// paints the same pixels at a cost bounded by the frame's size.
constexpr std::int64_t kSeparateTickLimit = 2048;

constexpr std::int64_t kCounterMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kCounterMin = std::numeric_limits<std::int32_t>::min();

float climbLadder(float extent, std::size_t firstRung, float fallback) {
    for (std::size_t i = firstRung; i < std::size(kLadder); ++i) {
        if (widen(extent) > kLadder[i].threshold) return kLadder[i].step;
    }
    return fallback;
}

bool positiveFinite(float v) { return v > 0 && std::isfinite(v); }

/// A pixel moved by d, or nothing when that leaves the 32-bit range.
std::optional<std::int32_t> shifted(std::int32_t p, std::int32_t d) {
    const std::int64_t q = std::int64_t{p} + d;
    if (q < kCounterMin || q > kCounterMax) return std::nullopt;
    return static_cast<std::int32_t>(q);
}

/// Smallest i in [lo, hi] for which holds(i), or hi + 1 when there is none; holds must be false
/// up to some i and true from there on.
template <class Predicate>
std::int64_t firstHolding(std::int64_t lo, std::int64_t hi, Predicate holds) {
    std::int64_t a = lo;
    std::int64_t b = hi + 1;
    while (a < b) {
        const std::int64_t mid = a + (b - a) / 2;
        if (holds(mid)) {
            b = mid;
        } else {
            a = mid + 1;
        }
    }
    return a;
}

/// One tick pass: k = 0, direction, 2·direction, … as long as k <= bound (going up) or
/// k >= bound (going down), as a 32-bit counter counts, so never beyond its range. position(k)
/// is the tick's single-precision position, monotone in k; each tick with
/// lo <= position <= hi is handed to draw, truncated, in the order of the pass.
template <class Position, class Draw>
void runTickPass(float bound, int direction, std::int32_t lo, std::int32_t hi, Position position,
                 Draw draw) {
    const double b = widen(bound);
    std::int64_t count = 0;  // multiples the counter visits: k = 0 .. direction·(count - 1)
    if (direction > 0) {
        if (!(0 <= b)) return;  // a negative or undefined bound ends the pass at once
        count = (b >= 2147483647.0 ? kCounterMax : static_cast<std::int64_t>(std::floor(b))) + 1;
    } else {
        if (!(0 >= b)) return;
        count = 1 - (b <= -2147483648.0 ? kCounterMin : static_cast<std::int64_t>(std::ceil(b)));
    }
    const auto at = [&](std::int64_t j) { return position(direction * j); };

    // The frame holds a run of consecutive multiples: find where it starts and ends.
    const bool rising = at(0) <= at(count - 1);
    const double low = lo;
    const double high = hi;
    std::int64_t first = 0;
    std::int64_t past = 0;
    if (rising) {
        first = firstHolding(0, count - 1, [&](std::int64_t j) { return widen(at(j)) >= low; });
        past = firstHolding(first, count - 1, [&](std::int64_t j) { return widen(at(j)) > high; });
    } else {
        first = firstHolding(0, count - 1, [&](std::int64_t j) { return widen(at(j)) <= high; });
        past = firstHolding(first, count - 1, [&](std::int64_t j) { return widen(at(j)) < low; });
    }
    // Inside the frame a position's truncation is an exact cast.
    const auto pixel = [&](std::int64_t j) { return static_cast<std::int32_t>(at(j)); };

    if (past - first <= kSeparateTickLimit) {
        for (std::int64_t j = first; j < past; ++j) draw(pixel(j));
        return;
    }
    for (std::int64_t j = first; j < past;) {
        const std::int32_t p = pixel(j);
        draw(p);
        j = firstHolding(j + 1, past - 1, [&](std::int64_t i) { return pixel(i) != p; });
    }
}

/// The vertical axis at the abscissa 0 and its ticks at the multiples of step.
void drawVerticalAxis(DrawingSurface& surface, const ChartScale& scale, float step) {
    // originX comes from start and range; an overflowing range leaves it finite but wrong.
    if (!std::isfinite(scale.start) || !std::isfinite(scale.range)) return;
    const std::optional<std::int32_t> x = toPixel(widen(scale.originX));
    if (!x) return;
    surface.moveTo(*x, ChartFrame::top);
    surface.lineTo(*x, ChartFrame::bottom);

    // Ticks need a finite row scale (no flat or overflowing value range) and a usable step.
    const std::optional<std::int32_t> from = shifted(*x, -3);
    const std::optional<std::int32_t> to = shifted(*x, 3);
    if (!from || !to || !positiveFinite(step) || !positiveFinite(scale.yUnit) ||
        !std::isfinite(scale.originY) || !std::isfinite(scale.max) || !std::isfinite(scale.min)) {
        return;
    }
    const auto row = [&](std::int64_t k) {
        return single(widen(scale.originY) -
                      static_cast<double>(k) * widen(step) / widen(scale.yUnit));
    };
    const auto mark = [&](std::int32_t y) {
        surface.moveTo(*from, y);
        surface.lineTo(*to, y);
    };
    runTickPass(single(widen(scale.max) / widen(step)), 1, ChartFrame::top, ChartFrame::bottom, row,
                mark);
    runTickPass(single(widen(scale.min) / widen(step)), -1, ChartFrame::top, ChartFrame::bottom,
                row, mark);
}

/// The horizontal axis at the function value 0 and its ticks at the multiples of step.
void drawHorizontalAxis(DrawingSurface& surface, const ChartScale& scale, float step) {
    if (!std::isfinite(scale.max) || !std::isfinite(scale.ySpan)) return;
    const std::optional<std::int32_t> y = toPixel(widen(scale.originY));
    if (!y) return;
    surface.moveTo(ChartFrame::left, *y);
    surface.lineTo(ChartFrame::right, *y);

    const std::optional<std::int32_t> from = shifted(*y, -3);
    const std::optional<std::int32_t> to = shifted(*y, 3);
    if (!from || !to || !positiveFinite(step) || !std::isfinite(scale.xStep) || scale.xStep == 0 ||
        !std::isfinite(scale.originX) || !std::isfinite(scale.start) || !std::isfinite(scale.end)) {
        return;
    }
    const auto column = [&](std::int64_t k) {
        return single(static_cast<double>(k) * widen(step) / widen(scale.xStep) +
                      widen(scale.originX));
    };
    const auto mark = [&](std::int32_t x) {
        surface.moveTo(x, *from);
        surface.lineTo(x, *to);
    };
    runTickPass(single(widen(scale.end) / widen(step)), 1, ChartFrame::left, ChartFrame::right,
                column, mark);
    runTickPass(single(widen(scale.start) / widen(step)), -1, ChartFrame::left, ChartFrame::right,
                column, mark);
}

}  // namespace

float verticalTickStep(float ySpan) { return climbLadder(ySpan, 0, ySpan); }

float horizontalTickStep(float range, float fallback) {
    return climbLadder(range, kFirstHorizontalRung, fallback);
}

void drawAxes(DrawingSurface& surface, const ChartScale& scale, int noFunctionFlag) {
    surface.selectPen(kBlack);
    // One working step serves both axes: the horizontal ladder falls back on what the vertical
    // one left in it (ySpan when the vertical axis is not drawn).
    float step = scale.ySpan;
    const bool emptyInterval = scale.start == scale.end;
    if (!(widen(scale.start) * widen(scale.end) > 0) && !emptyInterval && noFunctionFlag != 1) {
        step = verticalTickStep(scale.ySpan);
        drawVerticalAxis(surface, scale, step);
    }
    if (!(widen(scale.min) * widen(scale.max) > 0) && !emptyInterval) {
        step = horizontalTickStep(scale.range, step);
        drawHorizontalAxis(surface, scale, step);
    }
    surface.deletePen();
}

}  // namespace korzenik
