#include "chart/svg_surface.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

#include "chart/framebuffer.h"
#include "chart/markup.h"
#include "core/number_format.h"

namespace korzenik {

namespace {

/// A coordinate exactly (a multiple of 1/256 takes 8 decimals), without trailing zeros.
void appendCoordinate(std::string& out, double v) {
    const std::size_t at = out.size();
    appendFixed(out, v, 8);
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    if (out.compare(at, std::string::npos, "-0") == 0) out.erase(at, 1);
}

}  // namespace

SvgSurface::SvgSurface(std::int32_t width, std::int32_t height)
    : m_width(width), m_height(height) {}

void SvgSurface::fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                               Colour colour) {
    // Cut to the picture, with a margin, as the framebuffer cuts it: far coordinates would
    // overflow a renderer's fixed point.
    const std::int64_t left = std::max<std::int64_t>(x, -1);
    const std::int64_t top = std::max<std::int64_t>(y, -1);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + cx, m_width + 1);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + cy, m_height + 1);
    if (left >= right || top >= bottom) return;
    endPath();
    m_drawing += "<rect x=\"" + std::to_string(left) + "\" y=\"" + std::to_string(top) +
                 "\" width=\"" + std::to_string(right - left) + "\" height=\"" +
                 std::to_string(bottom - top) + "\" fill=\"" + colourHex(colour) + "\"/>\n";
}

// A line is drawn as a band one pixel across along the ideal line through the centres of its
// pixels, its ends at the near edges of its first pixel and of the pixel it leaves out. A renderer
// that lights the pixels whose centres a shape covers then lights exactly the rasteriser's pixels
// as long as no centre lies on the band's edge: the band is moved across by less than the
// smallest gap between a centre and the ideal edge (1/(2 d) of a pixel, d the line's run along
// its major axis in lowest terms), towards the smaller coordinate, where the rasteriser puts
// ties. Renderers hold coordinates in 256ths of a pixel, and cairo (which rsvg-convert draws
// with) finds where an edge crosses a row a 256th above the row's centre, rounds that down to a
// 256th and compares it with the column's centre: as if it sampled each pixel at (129/256,
// 127/256). So the band's corners are put on that grid, with the shift and the ends chosen
// (within half a pixel) so that they fall on it exactly and no corner lies between 127/256 and
// 128/256 of a row, where cairo also decides which rows an edge spans.
//
// A line in lowest terms longer than 256 pixels may find no such shift (a steep curve segment
// across the chart, a long chord), and a line reaching beyond the picture's margin would have
// to be cut: no band then lights exactly its pixels, so it is drawn as the framebuffer's own
// pixels instead, each run of them along its major axis a rectangle.

namespace {

/// A band's first corner on its near edge: along its major axis u at uFirst + s / 256, across
/// at v0 + v256 / 256.
struct Corner {
    std::int64_t s = 0;
    std::int64_t v256 = 0;
    bool exact = false;  ///< whether the band then lights exactly the line's pixels
};

/// The corner of the band of the line from (u0, v0) by (du, dv), its first lit step uFirst, all
/// within the picture, that puts the corners on the grid and the band exactly in place, if there
/// is one; along is where the renderer samples along u in 256ths, edge where the near edge lies
/// against the sample across, less half a pixel.
Corner exactCorner(std::int64_t u0, std::int64_t v0, std::int64_t du, std::int64_t dv,
                   std::int64_t uFirst, bool xMajor) {
    const std::int64_t along = xMajor ? 129 : 127;
    const std::int64_t edge = xMajor ? -1 : 1;
    const std::int64_t d = du < 0 ? -du : du;
    const std::int64_t g = std::gcd(d, dv < 0 ? -dv : dv);
    // Ends nearest the pixels' own edges first: s = 0, 1, -1, 2, -2, ..., 128.
    for (std::int64_t k = 0; k < 256; ++k) {
        const std::int64_t s = k % 2 == 0 ? -k / 2 : (k + 1) / 2;
        // At u = uFirst + s / 256 the ideal near edge lies at v0 + (edge + n / d) / 256; the
        // band is moved by shift / (256 d) towards smaller v, exact for 0 < shift < 128 g.
        const std::int64_t n = (256 * (uFirst - u0) + s - along) * dv * (du > 0 ? 1 : -1);
        const std::int64_t rest = ((n % d) + d) % d;
        const std::int64_t shift = rest == 0 ? d : rest;
        const std::int64_t v256 = edge + (n - shift) / d;
        const std::int64_t cornerRow = ((xMajor ? v256 : s) % 256 + 256) % 256;
        if (cornerRow == 127 || cornerRow == 128) continue;
        if (shift < 128 * g) return {s, 256 * v0 + v256, true};
    }
    return {};
}

}  // namespace

void SvgSurface::drawSegment(std::int32_t fromX, std::int32_t fromY, std::int32_t x, std::int32_t y,
                             Colour colour) {
    const std::int64_t dx = std::int64_t{x} - fromX;
    const std::int64_t dy = std::int64_t{y} - fromY;
    if (dx == 0 && dy == 0) return;
    if (colour != m_pathColour) {
        endPath();
        m_pathColour = colour;
    }
    // u is the major axis (a pixel every step), v the other.
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const std::int64_t du = xMajor ? dx : dy;
    const std::int64_t dv = xMajor ? dy : dx;
    const std::int64_t u0 = xMajor ? fromX : fromY;
    const std::int64_t v0 = xMajor ? fromY : fromX;
    const std::int64_t uSize = xMajor ? m_width : m_height;
    const std::int64_t vSize = xMajor ? m_height : m_width;
    // The steps lit, all within the picture with a margin, or the line is not drawn as a band.
    const std::int64_t first = du > 0 ? u0 : u0 + du + 1;
    const std::int64_t last = du > 0 ? u0 + du - 1 : u0;
    const bool inside = first >= -2 && last <= uSize + 1 && std::min(v0, v0 + dv) >= -2 &&
                        std::max(v0, v0 + dv) <= vSize + 1;
    const Corner corner = inside ? exactCorner(u0, v0, du, dv, first, xMajor) : Corner{};
    if (!corner.exact) {
        appendPixels(fromX, fromY, x, y);
        return;
    }
    appendBand(xMajor, static_cast<double>(first) + static_cast<double>(corner.s) / 256,
               static_cast<double>(corner.v256) / 256, static_cast<double>(last + 1 - first),
               static_cast<double>(du > 0 ? dv : -dv));
}

// A run of pixels is a rectangle of whole pixels, which every renderer lights exactly.
void SvgSurface::appendPixels(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    struct Run {
        std::int32_t x = 0, y = 0, width = 0, height = 0;
    } run;
    const auto flush = [&] {
        if (run.width == 0) return;
        m_path += "<rect x=\"" + std::to_string(run.x) + "\" y=\"" + std::to_string(run.y) +
                  "\" width=\"" + std::to_string(run.width) + "\" height=\"" +
                  std::to_string(run.height) + "\"/>\n";
        run = {};
    };
    forEachLinePixel(m_width, m_height, x0, y0, x1, y1, [&](std::int32_t x, std::int32_t y) {
        // The walk goes one way along the major axis, so a run grows at its far end.
        if (run.width != 0 && run.height == 1 && y == run.y && x == run.x + run.width) {
            ++run.width;
        } else if (run.width == 1 && x == run.x && y == run.y + run.height) {
            ++run.height;
        } else {
            flush();
            run = {x, y, 1, 1};
        }
    });
    flush();
}

// Each band is a path of its own: cairo fills the gap between two spans of one path on a row
// when it is a single pixel wide.
void SvgSurface::appendBand(bool xMajor, double u, double v, double du, double dv) {
    m_path += "<path d=\"";
    const auto point = [this](char command, double a, double b) {
        m_path += command;
        appendCoordinate(m_path, a);
        m_path += ' ';
        appendCoordinate(m_path, b);
    };
    if (xMajor) {
        point('M', u, v);
        point('l', du, dv);
        m_path += "v1";
        point('l', -du, -dv);
    } else {
        point('M', v, u);
        m_path += "h1";
        point('l', dv, du);
        m_path += "h-1";
    }
    m_path += "z\"/>\n";
}

void SvgSurface::endPath() {
    if (m_path.empty()) return;
    m_drawing += "<g fill=\"" + colourHex(m_pathColour) + "\">\n" + m_path + "</g>\n";
    m_path.clear();
}

void SvgSurface::text(const PixelRect& place, std::int32_t baseline, TextAnchor anchor,
                      std::string_view text) {
    // Each text is cut to its place by a clip path of its own, as a window's label cuts its text.
    const std::string id = "place" + std::to_string(m_places++);
    m_texts += "<clipPath id=\"" + id + "\"><rect x=\"" + std::to_string(place.left) + "\" y=\"" +
               std::to_string(place.top) + "\" width=\"" +
               std::to_string(place.right - place.left) + "\" height=\"" +
               std::to_string(place.bottom - place.top) + "\"/></clipPath>\n";
    const std::int32_t x = anchor == TextAnchor::End ? place.right : place.left;
    m_texts += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(baseline) + "\"" +
               (anchor == TextAnchor::End ? " text-anchor=\"end\"" : "") + " clip-path=\"url(#" +
               id + ")\">";
    m_texts += escapeMarkup(text);
    m_texts += "</text>\n";
}

std::string SvgSurface::document() const {
    const std::string width = std::to_string(m_width);
    const std::string height = std::to_string(m_height);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
        width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height + "\">\n" +
        "<g shape-rendering=\"crispEdges\">\n" + m_drawing;
    if (!m_path.empty()) {
        out += "<g fill=\"" + colourHex(m_pathColour) + "\">\n" + m_path + "</g>\n";
    }
    out += "</g>\n";
    if (!m_texts.empty()) {
        out +=
            "<g font-family=\"'Segoe UI', Tahoma, 'DejaVu Sans', 'Liberation Sans', Arial, "
            "sans-serif\" font-size=\"12\" fill=\"#000000\">\n" +
            m_texts + "</g>\n";
    }
    return out + "</svg>\n";
}

}  // namespace korzenik
