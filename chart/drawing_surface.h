#pragma once
#include <cstddef>
#include <cstdint>

namespace korzenik {

/// A colour as 0x00BBGGRR.
using Colour = std::uint32_t;

inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kBlue = 0xFF0000;
inline constexpr Colour kGray = 0xA4A4A4;

/// A pixel position in window coordinates.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

/// A rectangle of pixels: columns left..right-1 and rows top..bottom-1; empty when either range is.
struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool empty() const { return left >= right || top >= bottom; }
};

/// The target of all chart drawing: the main window's pixels in window coordinates (origin at
/// the window's outer top-left corner, rows growing downward). Coordinates may lie anywhere in
/// the 32-bit range; what falls outside the window is dropped.
///
/// The chart draws as on the window system's device context, with a pen and a current position,
/// which the surface keeps here once for every kind; a kind of surface gives only what paints:
/// filled rectangles and segments in a colour.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    /// Paints columns x..x+cx-1 and rows y..y+cy-1 in one colour.
    virtual void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                               Colour colour) = 0;
    /// Paints a one-pixel line from (x0, y0) to (x1, y1) in the colour, leaving out (x1, y1).
    virtual void drawSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                             Colour colour) = 0;
    /// Paints the segments from `from` through each of the points in turn, as drawSegment does
    /// for each: one call for a whole curve.
    virtual void drawPolyline(Point from, const Point* points, std::size_t count, Colour colour) {
        for (std::size_t i = 0; i < count; ++i) {
            drawSegment(from.x, from.y, points[i].x, points[i].y, colour);
            from = points[i];
        }
    }

    /// Makes a solid one-pixel pen of the colour current for the lines that follow.
    void selectPen(Colour colour) { m_pen = colour; }
    /// Deletes the pen of the last selectPen; lines drawn after it use the stock black pen.
    void deletePen() { m_pen = kBlack; }
    /// Moves the current position; paints nothing.
    void moveTo(std::int32_t x, std::int32_t y) { m_at = {x, y}; }
    /// Paints a one-pixel line from the current position to (x, y), leaving out (x, y) itself,
    /// and makes (x, y) the current position.
    void lineTo(std::int32_t x, std::int32_t y) {
        const Point from = m_at;
        m_at = {x, y};
        drawSegment(from.x, from.y, x, y, m_pen);
    }
    /// Paints the lines from the current position through each of the points in turn, as lineTo
    /// does for each one, and makes the last point the current position (GDI's PolylineTo).
    void polylineTo(const Point* points, std::size_t count) {
        if (count == 0) return;
        const Point from = m_at;
        m_at = points[count - 1];
        drawPolyline(from, points, count, m_pen);
    }

private:
    Colour m_pen = kBlack;  ///< the stock black pen until one is selected
    Point m_at;
};

}  // namespace korzenik
