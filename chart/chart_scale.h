#pragma once
#include <cstdint>
#include <optional>

#include "chart/drawing_surface.h"
#include "core/function_catalogue.h"

namespace korzenik {

/// The fixed plotting rectangle in window pixels.
struct ChartFrame {
    static constexpr std::int32_t width = 490;  ///< also the number of sampling intervals
    static constexpr std::int32_t left = 261;
    static constexpr std::int32_t right = 751;
    static constexpr std::int32_t height = 444;
    static constexpr std::int32_t top = 60;
    static constexpr std::int32_t bottom = 504;
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

/// Samples function k at 491 abscissae from start and derives the scale. Evaluating with index 0
/// raises noFunctionFlag.
ChartScale computeChartScale(float start, float end, FunctionIndex k, int& noFunctionFlag);

/// Fractional column of the abscissa x.
double columnOf(const ChartScale& scale, double x);

/// Fractional row of the function value v.
double rowOf(const ChartScale& scale, double v);

/// A real as a pixel coordinate: truncation toward zero, or nothing when the value is not a
/// number or lies outside the 32-bit range (such a value has no pixel).
std::optional<std::int32_t> toPixel(double v);

/// The pixel column of the abscissa x, or nothing when xStep or originX is not a finite non-zero
/// step and origin (the scale has no columns) or the column has no pixel.
std::optional<std::int32_t> pixelColumnOf(const ChartScale& scale, double x);

/// The pixel row of the function value v, or nothing when max or yUnit is not finite or yUnit is
/// 0 (the scale has no rows) or the row has no pixel.
std::optional<std::int32_t> pixelRowOf(const ChartScale& scale, double v);

/// Paints the chart rectangle and a 3-pixel margin white (columns 258..753, rows 57..506).
void clearChart(DrawingSurface& surface);

}  // namespace korzenik
