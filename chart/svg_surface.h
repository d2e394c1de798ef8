#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "chart/drawing_surface.h"

namespace korzenik {

/// Where a text stands against the x it is placed at.
enum class TextAnchor { Start, End };

/// A DrawingSurface that writes what it is asked to draw as an SVG picture of width x height, in
/// the framebuffer's coordinates (pixel (x, y) is the unit square from (x, y) to (x + 1, y + 1)),
/// so that the picture can be printed at any size: each filled rectangle a rectangle, each line
/// a band one pixel wide in its pen's colour along the line through its pixels' centres. Drawn
/// at 1:1 with crisp edges, the bands light the framebuffer's very pixels (see drawSegment).
class SvgSurface : public DrawingSurface {
public:
    SvgSurface(std::int32_t width, std::int32_t height);

    void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                       Colour colour) override;
    /// A path of its own for each run of segments in one colour.
    void drawSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                     Colour colour) override;

    /// A line of text (UTF-8) in black over all the drawing, its baseline at the row baseline,
    /// starting at place's left or ending at its right, and cut to place: a text too long for it
    /// shows what fits there, as a window's label does, and never runs over another.
    void text(const PixelRect& place, std::int32_t baseline, TextAnchor anchor,
              std::string_view text);

    /// The whole picture as an SVG document.
    std::string document() const;

private:
    /// Ends the path being written, if any.
    void endPath();
    /// Adds the pixels the framebuffer paints for the segment, as rectangles of its runs.
    void appendPixels(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);
    /// Adds to the path a band from (u, v), du along its major axis u and dv across, one pixel
    /// wide towards larger v.
    void appendBand(bool xMajor, double u, double v, double du, double dv);

    std::int32_t m_width;
    std::int32_t m_height;
    std::string m_drawing;  ///< the rectangles and finished paths
    std::string m_path;     ///< the bands in m_pathColour, not yet written
    std::string m_texts;
    int m_places = 0;  ///< the texts' clip paths so far
    Colour m_pathColour = kBlack;
};

}  // namespace korzenik
