#pragma once
#include <cmath>
#include <cstdint>
#include <optional>

#include "chart/drawing_surface.h"
#include "core/function_catalogue.h"
#include "core/precision.h"

namespace korzenik {

/// The fixed plotting rectangle in window pixels.
struct ChartFrame {
    static constexpr std::int32_t width = 490;  ///< also the number of sampling intervals
    static constexpr std::int32_t left = 261;
    static constexpr std::int32_t right = left + width;
    static constexpr std::int32_t height = 444;
    static constexpr std::int32_t top = 60;
    static constexpr std::int32_t bottom = top + height;
};

/// The scale of one command's drawing; every field single precision.
struct ChartScale {
    float start = 0;
    float end = 0;
    float range = 0;
    float xStep = 0;
    float max = 0;
    float min = 0;
    float ySpan = 0;
    float yUnit = 0;
    float originX = 0;
    float originY = 0;
};

/// Samples the function at 491 abscissae from start and derives the scale. Evaluating with index 0
/// raises noFunctionFlag. A typed function's extremes are those of its finite values.
ChartScale computeChartScale(float start, float end, const ChosenFunction& function,
                             int& noFunctionFlag);

// The mappings run for every point the chart draws, so they are inline: a call returning an
// optional through memory costs as much as the drawing of a short segment.

/// Fractional column of the abscissa x.
inline double columnOf(const ChartScale& scale, double x) {
    return x / widen(scale.xStep) + widen(scale.originX);
}

/// Fractional row of the function value v.
inline double rowOf(const ChartScale& scale, double v) {
    return (widen(scale.max) - v) / widen(scale.yUnit) + ChartFrame::top;
}

/// A real as a pixel coordinate: truncation toward zero, or nothing when the value is not a
/// number or lies outside the 32-bit range (such a value has no pixel).
inline std::optional<std::int32_t> toPixel(double v) {
    // Truncation is defined only for values whose integer part fits: (-2^31 - 1, 2^31).
    if (!(v > -2147483649.0 && v < 2147483648.0)) return std::nullopt;
    return static_cast<std::int32_t>(v);
}

/// The pixel column of the abscissa x, or nothing when xStep or originX is not a finite non-zero
/// step and origin (the scale has no columns) or the column has no pixel.
inline std::optional<std::int32_t> pixelColumnOf(const ChartScale& scale, double x) {
    if (!std::isfinite(scale.xStep) || scale.xStep == 0 || !std::isfinite(scale.originX)) {
        return std::nullopt;
    }
    return toPixel(columnOf(scale, x));
}

/// Whether max and yUnit are finite and yUnit is not 0, so that function values have rows.
inline bool hasRows(const ChartScale& scale) {
    return std::isfinite(scale.max) && std::isfinite(scale.yUnit) && scale.yUnit != 0;
}

/// The pixel row of the function value v, or nothing when the scale has no rows or the row has
/// no pixel.
inline std::optional<std::int32_t> pixelRowOf(const ChartScale& scale, double v) {
    if (!hasRows(scale)) return std::nullopt;
    return toPixel(rowOf(scale, v));
}

/// Paints the chart rectangle and a 3-pixel margin white (columns 258..753, rows 57..506).
void clearChart(DrawingSurface& surface);

}  // namespace korzenik
