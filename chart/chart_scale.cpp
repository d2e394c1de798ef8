// The scale turns the sampled function into the fractional pixel positions every chart drawing
// uses. Arithmetic is double precision in the written order; single() marks where a field is
// stored. The divisions are unguarded on purpose: a flat or empty interval yields non-finite
// fields, and every drawing asks pixelColumnOf / pixelRowOf / toPixel, which refuse them.

#include "chart/chart_scale.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "core/precision.h"

namespace korzenik {

namespace {

constexpr double kWidth = ChartFrame::width;
constexpr double kHeight = ChartFrame::height;

}  // namespace

ChartScale computeChartScale(float start, float end, const ChosenFunction& function,
                             int& noFunctionFlag) {
    ChartScale s;
    s.start = start;
    s.end = end;
    s.range = single(widen(end) - widen(start));
    s.xStep = single(widen(s.range) / kWidth);

    // The extremes start from the value at start itself, then take in every sample.
    const double first = function.at(start, noFunctionFlag);
    s.max = single(first);
    s.min = single(first);
    if (function.typed()) {
        // A typed function may be undefined or infinite at some samples: the scale spans its
        // finite values (the curve breaks at the others), and has no rows when there are none.
        constexpr std::size_t kSamples = ChartFrame::width + 1;
        std::array<float, kSamples> xs;
        std::array<double, kSamples> values;
        for (std::size_t i = 0; i < kSamples; ++i) {
            xs[i] = single(static_cast<double>(i) * widen(s.xStep) + widen(start));
        }
        function.atEach(xs.data(), values.data(), kSamples, noFunctionFlag);
        bool any = std::isfinite(first);
        for (const double v : values) {
            if (!std::isfinite(v)) continue;
            if (!any || v > widen(s.max)) s.max = single(v);
            if (!any || v < widen(s.min)) s.min = single(v);
            any = true;
        }
    } else {
        for (std::int32_t i = 0; i <= ChartFrame::width; ++i) {
            const float x = single(static_cast<double>(i) * widen(s.xStep) + widen(start));
            const double v = function.at(x, noFunctionFlag);
            if (v > widen(s.max)) s.max = single(v);
            if (v < widen(s.min)) s.min = single(v);
        }
    }

    s.ySpan = single(widen(s.max) - widen(s.min));
    s.yUnit = single(widen(s.ySpan) / kHeight);
    s.originX = single(-(widen(start) / widen(s.range)) * kWidth + ChartFrame::left);
    s.originY = single((widen(s.max) / widen(s.ySpan)) * kHeight + ChartFrame::top);
    return s;
}

void clearChart(DrawingSurface& surface) {
    surface.fillSolidRect(ChartFrame::left - 3, ChartFrame::top - 3, ChartFrame::width + 6,
                          ChartFrame::height + 6, kWhite);
}

}  // namespace korzenik
