// The curve and the overlay evaluate the function afresh, as the scale's sampling did, and
// draw straight onto the surface without clipping to the chart. A point whose row or column has
// no pixel (a flat value range, a non-finite scale, a typed function with no finite value there,
// a value far off the window's 32-bit plane) is left out together with the segments that would
// reach it.

#include "chart/curve.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "core/precision.h"

namespace korzenik {

void drawCurve(DrawingSurface& surface, const ChartScale& scale, const ChosenFunction& function,
               int noFunctionFlag) {
    surface.selectPen(kRed);
    // Abscissae from an overflowing interval are not numbers: such a scale has no curve.
    const bool abscissae = std::isfinite(scale.start) && std::isfinite(scale.xStep);
    // Without rows no point has a pixel, and nothing is drawn.
    if (noFunctionFlag != 1 && scale.start != scale.end && abscissae && hasRows(scale)) {
        // All rows first, then the lines: the divisions of the mapping then overlap one another
        // instead of each stalling the drawing of its segment.
        // Every point's entries are written before they are read, so neither array is cleared.
        constexpr std::size_t kPoints = ChartFrame::width + 1;
        std::array<Point, kPoints> points;
        std::array<bool, kPoints> hasPixel;
        const double xStep = widen(scale.xStep);
        const double start = widen(scale.start);
        int scratchFlag = 0;  // the caller's flag was settled by the sampling
        // A typed function's program runs over all the abscissae at once.
        std::array<double, kPoints> typedValues;
        if (function.typed()) {
            std::array<float, kPoints> xs;
            for (std::size_t i = 0; i < kPoints; ++i) {
                xs[i] = single(static_cast<double>(i) * xStep + start);
            }
            function.atEach(xs.data(), typedValues.data(), kPoints, scratchFlag);
        }
        for (std::size_t i = 0; i < kPoints; ++i) {
            const float x = single(static_cast<double>(i) * xStep + start);
            const double value = function.typed() ? typedValues[i] : function.at(x, scratchFlag);
            const std::optional<std::int32_t> row = toPixel(rowOf(scale, value));
            points[i] = {ChartFrame::left + static_cast<std::int32_t>(i), row.value_or(0)};
            hasPixel[i] = row.has_value();
        }
        // Each run of points with pixels is one polyline; a point without one breaks the curve.
        for (std::size_t first = 0; first < kPoints;) {
            if (!hasPixel[first]) {
                ++first;
                continue;
            }
            std::size_t past = first + 1;
            while (past < kPoints && hasPixel[past]) ++past;
            surface.moveTo(points[first].x, points[first].y);
            surface.polylineTo(points.data() + first + 1, past - first - 1);
            first = past;
        }
    }
    surface.deletePen();
}

void drawIterationStep(DrawingSurface& surface, const ChartScale& scale, float chordA, float chordB,
                       float approximation, const ChosenFunction& function) {
    const std::optional<std::int32_t> columnA = pixelColumnOf(scale, widen(chordA));
    const std::optional<std::int32_t> columnB = pixelColumnOf(scale, widen(chordB));
    const std::optional<std::int32_t> columnX = pixelColumnOf(scale, widen(approximation));
    int scratchFlag = 0;
    const auto rowAt = [&](float x) { return pixelRowOf(scale, function.at(x, scratchFlag)); };

    surface.selectPen(kBlue);
    const std::optional<std::int32_t> rowB = rowAt(chordB);
    const std::optional<std::int32_t> rowA = rowAt(chordA);
    if (columnA && columnB && rowA && rowB) {
        surface.moveTo(*columnB, *rowB);
        surface.lineTo(*columnA, *rowA);
    }
    surface.deletePen();

    surface.selectPen(kGray);
    const std::optional<std::int32_t> axisRow = toPixel(widen(scale.originY));
    const std::optional<std::int32_t> rowX = rowAt(approximation);
    if (columnX && axisRow && rowX) {
        surface.moveTo(*columnX, *axisRow);
        surface.lineTo(*columnX, *rowX);
    }
    surface.deletePen();
}

}  // namespace korzenik
