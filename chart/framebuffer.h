#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "chart/drawing_surface.h"

namespace korzenik {

/// An RGB image, 3 bytes a pixel, rows top to bottom.
struct Framebuffer {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;

    Framebuffer(std::int32_t w, std::int32_t h, Colour fill);
    /// The pixel's colour as 0x00BBGGRR; (x, y) must lie inside.
    Colour pixel(std::int32_t x, std::int32_t y) const;
    /// Sets a pixel; a pixel outside the image is dropped.
    void setPixel(std::int32_t x, std::int32_t y, Colour colour);
};

/// Paints the one-pixel segment from (x0, y0) to (x1, y1), leaving out (x1, y1) itself; pixels
/// outside the image are dropped.
///
/// Pixels covered: a segment that is wider than tall lights one pixel in every column from x0 up
/// to but not including x1, in the row nearest to the ideal line through both ends; where the line
/// passes exactly half-way between two rows the upper one (smaller row) is lit. A segment taller
/// than wide lights one pixel in every row from y0 up to but not including y1, in the nearest
/// column, a tie going to the left one (smaller column). A segment of slope exactly ±1 lights its
/// diagonal. Equal ends light nothing. So the pixels depend only on the segment, not on the
/// direction it is drawn in, except for which end is left out.
///
/// Ends may lie anywhere in the 32-bit range: the segment is clipped to the image arithmetically
/// first, so the cost is proportional to the pixels painted, never to the segment's length.
void drawLine(Framebuffer& target, std::int32_t x0, std::int32_t y0, std::int32_t x1,
              std::int32_t y1, Colour colour);

/// Hands each pixel that drawLine paints for the same segment on an image of width x height to
/// visit(x, y), walking from the end with the smaller major coordinate: for whoever must show
/// the very pixels of a line some other way.
void forEachLinePixel(std::int32_t width, std::int32_t height, std::int32_t x0, std::int32_t y0,
                      std::int32_t x1, std::int32_t y1,
                      const std::function<void(std::int32_t, std::int32_t)>& visit);

/// DrawingSurface over a Framebuffer: each surface drawing into the one retained window image.
/// Every pixel it paints, whichever call paints it, lies inside touched(), so whoever shows the
/// image knows what to show again.
class FramebufferSurface : public DrawingSurface {
public:
    explicit FramebufferSurface(Framebuffer& target) : m_target(target) {}
    /// The smallest rectangle of the image holding both ends of every segment and every filled
    /// rectangle drawn so far, cut to the image; empty while nothing was drawn into it.
    PixelRect touched() const;
    void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                       Colour colour) override;
    /// The segment, its ends noted as touched.
    void drawSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                     Colour colour) override;
    void drawPolyline(Point from, const Point* points, std::size_t count, Colour colour) override;

private:
    /// Adds [left, right) x [top, bottom), cut to the image, to touched().
    void noteTouched(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

    /// The bounds of the pixels noted so far; right and bottom lie one past them. While nothing
    /// is noted they are inverted, so that noting a pixel is four comparisons and no test.
    struct Bounds {
        std::int32_t left = INT32_MAX;
        std::int32_t top = INT32_MAX;
        std::int32_t right = INT32_MIN;
        std::int32_t bottom = INT32_MIN;
        /// Widens the bounds to hold pixel (x, y), which lies inside the image.
        void add(std::int32_t x, std::int32_t y) {
            left = x < left ? x : left;
            top = y < top ? y : top;
            right = x + 1 > right ? x + 1 : right;
            bottom = y + 1 > bottom ? y + 1 : bottom;
        }
    };

    Framebuffer& m_target;
    Bounds m_touched;
};

}  // namespace korzenik
