// The window's pixels live here, so a chart drawn once stays until it is drawn over. Lines are
// rasterised with integers only: the row of every column (or the column of every row) is the
// nearest one to the ideal line, a tie going to the smaller coordinate, which makes the pixels a
// property of the segment and not of the direction it is drawn in.

#include "chart/framebuffer.h"

#include <algorithm>
#include <cstddef>

namespace korzenik {

namespace {

// Extents of a segment reach 2^32 and their products 2^65: the clipping works in 128 bits.
__extension__ typedef __int128 Wide;

std::uint8_t channel(Colour c, int shift) {
    return static_cast<std::uint8_t>((c >> shift) & 0xFFu);
}

std::size_t offsetOf(const Framebuffer& fb, std::int64_t x, std::int64_t y) {
    return static_cast<std::size_t>((y * fb.width + x) * 3);
}

template <class Int>
Int floorDiv(Int a, Int b) {  // b > 0
    Int q = a / b;
    if (a % b != 0 && a < 0) --q;
    return q;
}

template <class Int>
Int ceilDiv(Int a, Int b) {  // b > 0
    Int q = a / b;
    if (a % b != 0 && a > 0) ++q;
    return q;
}

/// Where the walk of a line starts and ends once clipped, with its error term at the start.
struct LineSpan {
    std::int64_t tFirst;
    std::int64_t tLast;
    std::int64_t q;  ///< minor offset of the first pixel from va
    std::int64_t r;  ///< error term, in (-2d, 0]
};

/// Clips the line u = ua + t, v(t) = va + ceil((2ts - d) / 2d) for t in [tFirst, tLast] to
/// 0 <= u < uSize, 0 <= v < vSize; false when nothing is left. Int must hold the products of
/// the extents: 128 bits in general, 64 when every coordinate is below 2^29.
template <class Int>
bool clipLine(std::int64_t ua, std::int64_t va, std::int64_t d, std::int64_t s, std::int64_t uSize,
              std::int64_t vSize, std::int64_t tFirst, std::int64_t tLast, LineSpan& span) {
    Int first = std::max<std::int64_t>(tFirst, -ua);
    Int last = std::min<std::int64_t>(tLast, uSize - 1 - ua);
    // 0 <= v(t) holds exactly when 2ts > k; v(t) <= vSize - 1 exactly when 2ts <= m.
    const Int k = Int{d} * (2 * (Int{0} - va) - 1);
    const Int m = Int{d} * (2 * (Int{vSize - 1} - va) + 1);
    if (s > 0) {
        first = std::max(first, floorDiv(k, Int{2} * s) + 1);
        last = std::min(last, floorDiv(m, Int{2} * s));
    } else if (s < 0) {
        const Int p = Int{2} * -s;
        first = std::max(first, ceilDiv(-m, p));
        last = std::min(last, ceilDiv(-k, p) - 1);
    } else if (va < 0 || va >= vSize) {
        return false;
    }
    if (first > last) return false;  // otherwise both lie in 0..d

    // The error term: q = ceil(num / 2d) with num = 2ts - d, and r = num - 2dq.
    const Int num = Int{2} * first * s - d;
    const Int q = ceilDiv(num, Int{2} * d);
    span = {static_cast<std::int64_t>(first), static_cast<std::int64_t>(last),
            static_cast<std::int64_t>(q), static_cast<std::int64_t>(num - Int{2} * d * q)};
    return true;
}

/// One line along its major axis u (|du| >= |dv|), v being the minor axis. Pixel (u, v) is
/// handed to plot for every u of the segment but the end's (u1), v nearest to the ideal line with
/// ties to the smaller v; only pixels with 0 <= u < uSize and 0 <= v < vSize are handed over.
template <class Plot>
void walkLine(std::int64_t u0, std::int64_t v0, std::int64_t u1, std::int64_t v1,
              std::int64_t uSize, std::int64_t vSize, Plot plot) {
    if (u0 == u1 || uSize <= 0 || vSize <= 0) return;
    // Walk from the end with the smaller u; the pixels do not depend on the direction.
    const bool forward = u0 < u1;
    const std::int64_t ua = forward ? u0 : u1;
    const std::int64_t va = forward ? v0 : v1;
    const std::int64_t d = forward ? u1 - u0 : u0 - u1;  // > 0
    const std::int64_t s = forward ? v1 - v0 : v0 - v1;  // |s| <= d
    const std::int64_t tFirst = forward ? 0 : 1;
    const std::int64_t tLast = forward ? d - 1 : d;

    const auto inside = [](std::int64_t c, std::int64_t size) { return c >= 0 && c < size; };
    constexpr std::int64_t kSmall = std::int64_t{1} << 29;
    const auto small = [&](std::int64_t c) { return c > -kSmall && c < kSmall; };
    LineSpan span{};
    if (inside(u0, uSize) && inside(u1, uSize) && inside(v0, vSize) && inside(v1, vSize)) {
        span = {0, tLast, 0, -d};  // nothing to clip; at t = 0, v = va exactly
    } else if (small(u0) && small(u1) && small(v0) && small(v1) && small(uSize) && small(vSize)) {
        if (!clipLine<std::int64_t>(ua, va, d, s, uSize, vSize, tFirst, tLast, span)) return;
    } else if (!clipLine<Wide>(ua, va, d, s, uSize, vSize, tFirst, tLast, span)) {
        return;
    }

    std::int64_t q = span.q;
    std::int64_t r = span.r;
    const std::int64_t d2 = 2 * d;
    const std::int64_t s2 = 2 * s;
    for (std::int64_t t = span.tFirst; t <= span.tLast; ++t) {
        if (t >= tFirst) plot(ua + t, va + q);
        r += s2;
        if (r > 0) {
            r -= d2;
            ++q;
        } else if (r <= -d2) {
            r += d2;
            --q;
        }
    }
}

/// A segment whose ends both lie inside the image, along its major axis u (x when XMajor, else
/// y), du = u1 - u0 != 0 and |dv| <= |du|. Every pixel it lights lies between the ends in both
/// coordinates, so it is inside too, and the walk moves a byte offset instead of clipping and
/// checking. It starts at (x0, y0) whichever way u runs: walking t = 0 .. d - 1 steps from either
/// end, v = v0 + ceil((2ts - d) / 2d) for s = v1 - v0 and d = |du| lights the same pixels that
/// walkLine lights from the end with the smaller u, only leaving out the other end.
template <bool XMajor, bool Diagonal>
void drawInsideLine(Framebuffer& target, std::int32_t x0, std::int32_t y0, std::int64_t du,
                    std::int64_t dv, Colour colour) {
    const std::ptrdiff_t stride = std::ptrdiff_t{target.width} * 3;
    // How far one step along u (toward the end) and one along v move in the image.
    const std::ptrdiff_t uStep = du > 0 ? (XMajor ? 3 : stride) : (XMajor ? -3 : -stride);
    const std::ptrdiff_t vStep = XMajor ? stride : 3;
    const std::int64_t d = du > 0 ? du : -du;
    // walkLine's error term r (v moves up when r > 0, down when r <= -2d) as one that moves v
    // whenever it is positive: e = r for dv >= 0, e = 1 - 2d - r for dv < 0.
    const std::int64_t d2 = 2 * d;
    std::int64_t rise = dv < 0 ? -2 * dv : 2 * dv;
    std::ptrdiff_t across = dv < 0 ? -vStep : vStep;
    std::ptrdiff_t step = uStep;
    std::int64_t e = dv < 0 ? 1 - d : -d;
    if (Diagonal && rise > d) {
        // v moves on more than half of the steps: the diagonal is the usual step and the straight
        // one the exception, so that the exception's jump is taken on at most half of them. In
        // g = 1 - 2d - e the same walk reads: g grows by 2d - rise a step, and where e would have
        // stayed at or below 0 (g > 0) the step goes back across.
        step = uStep + across;
        across = -across;
        e = 1 - d2 - e;
        rise = d2 - rise;
    }

    std::uint8_t* const data = target.rgb.data();
    const std::uint8_t red = channel(colour, 0);
    const std::uint8_t green = channel(colour, 8);
    const std::uint8_t blue = channel(colour, 16);
    std::ptrdiff_t at = (std::ptrdiff_t{y0} * target.width + x0) * 3;
    for (std::int64_t left = d;;) {
        std::uint8_t* const p = data + at;
        p[0] = red;
        p[1] = green;
        p[2] = blue;
        if (--left == 0) break;
        at += step;
        e += rise;
        // The minor coordinate moves on |dv| of the d steps: never along the axes and their
        // ticks, once on a steep curve segment one column wide. As an unlikely branch the step
        // stays a jump, which a WebAssembly engine compiles to far shorter code than the select
        // the compiler otherwise makes of it (V8 draws the axes' long lines 2 to 3 times faster).
        if (e > 0) [[unlikely]] {
            e -= d2;
            at += across;
        }
    }
}

/// Any segment, clipped to the image. Kept out of line: the short segments inside the image,
/// which are most of a chart, then do not pay for the registers this one needs.
[[gnu::noinline]] void drawClippedLine(Framebuffer& target, std::int32_t x0, std::int32_t y0,
                                       std::int32_t x1, std::int32_t y1, Colour colour) {
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    // The bytes are written through locals: a byte store could alias the vector's own pointer,
    // which would then be reloaded after every byte.
    std::uint8_t* const data = target.rgb.data();
    const auto width = static_cast<std::uint64_t>(target.width);
    const auto height = static_cast<std::uint64_t>(target.height);
    const std::uint8_t red = channel(colour, 0);
    const std::uint8_t green = channel(colour, 8);
    const std::uint8_t blue = channel(colour, 16);
    // The clipping hands over only pixels inside the image; the check guards the memory anyway.
    const auto put = [=](std::int64_t x, std::int64_t y) {
        const auto ux = static_cast<std::uint64_t>(x);
        const auto uy = static_cast<std::uint64_t>(y);
        if (ux >= width || uy >= height) return;
        std::uint8_t* const p = data + (uy * width + ux) * 3;
        p[0] = red;
        p[1] = green;
        p[2] = blue;
    };
    if ((dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy)) {
        walkLine(x0, y0, x1, y1, target.width, target.height, put);
    } else {
        walkLine(y0, x0, y1, x1, target.height, target.width,
                 [&](std::int64_t y, std::int64_t x) { put(x, y); });
    }
}

}  // namespace

void forEachLinePixel(std::int32_t width, std::int32_t height, std::int32_t x0, std::int32_t y0,
                      std::int32_t x1, std::int32_t y1,
                      const std::function<void(std::int32_t, std::int32_t)>& visit) {
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const auto put = [&](std::int64_t x, std::int64_t y) {
        visit(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
    };
    if ((dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy)) {
        walkLine(x0, y0, x1, y1, width, height, put);
    } else {
        walkLine(y0, x0, y1, x1, height, width, [&](std::int64_t y, std::int64_t x) { put(x, y); });
    }
}

Framebuffer::Framebuffer(std::int32_t w, std::int32_t h, Colour fill)
    : width(std::max(w, 0)), height(std::max(h, 0)) {
    const std::size_t bytes =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    // A gray (the face, black, white) is one byte repeated: the image is filled as it is made.
    const std::uint8_t red = channel(fill, 0);
    if (red == channel(fill, 8) && red == channel(fill, 16)) {
        rgb.assign(bytes, red);
        return;
    }
    rgb.resize(bytes);
    FramebufferSurface(*this).fillSolidRect(0, 0, width, height, fill);
}

Colour Framebuffer::pixel(std::int32_t x, std::int32_t y) const {
    const std::size_t at = offsetOf(*this, x, y);
    return Colour{rgb[at]} | Colour{rgb[at + 1]} << 8 | Colour{rgb[at + 2]} << 16;
}

void Framebuffer::setPixel(std::int32_t x, std::int32_t y, Colour colour) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    const std::size_t at = offsetOf(*this, x, y);
    rgb[at] = channel(colour, 0);
    rgb[at + 1] = channel(colour, 8);
    rgb[at + 2] = channel(colour, 16);
}

namespace {

/// Whether (x, y) is a pixel of the image. A size is never negative, so one unsigned comparison
/// tells 0 <= c < size.
bool inside(const Framebuffer& target, std::int32_t x, std::int32_t y) {
    return static_cast<std::uint32_t>(x) < static_cast<std::uint32_t>(target.width) &&
           static_cast<std::uint32_t>(y) < static_cast<std::uint32_t>(target.height);
}

/// A segment whose ends both lie inside the image. Inlined where a polyline draws its few pixels:
/// the call cost about as much as they do. Diagonal: whether the walk may take the diagonal as its
/// usual step on a slope steeper than one half, which pays on long lines; a curve's segments are
/// one column wide, where it only adds to the set-up.
template <bool Diagonal>
[[gnu::always_inline]] inline void drawInsideSegment(Framebuffer& target, std::int32_t x0,
                                                     std::int32_t y0, std::int32_t x1,
                                                     std::int32_t y1, Colour colour) {
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    if ((dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy)) {
        if (dx != 0) drawInsideLine<true, Diagonal>(target, x0, y0, dx, dy, colour);
    } else {
        drawInsideLine<false, Diagonal>(target, x0, y0, dy, dx, colour);
    }
}

}  // namespace

void drawLine(Framebuffer& target, std::int32_t x0, std::int32_t y0, std::int32_t x1,
              std::int32_t y1, Colour colour) {
    if (inside(target, x0, y0) && inside(target, x1, y1)) {
        drawInsideSegment<true>(target, x0, y0, x1, y1, colour);
    } else {
        drawClippedLine(target, x0, y0, x1, y1, colour);
    }
}

void FramebufferSurface::fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx,
                                       std::int32_t cy, Colour colour) {
    // Clip in 64 bits: x + cx may leave the 32-bit range.
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + cx, m_target.width);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + cy, m_target.height);
    if (left >= right || top >= bottom) return;
    noteTouched(left, top, right, bottom);
    // The first row pixel by pixel, the others copied from it.
    std::uint8_t* const first = m_target.rgb.data() + offsetOf(m_target, left, top);
    const auto rowBytes = static_cast<std::size_t>(right - left) * 3;
    for (std::size_t i = 0; i < rowBytes; i += 3) {
        first[i] = channel(colour, 0);
        first[i + 1] = channel(colour, 8);
        first[i + 2] = channel(colour, 16);
    }
    const auto stride = static_cast<std::size_t>(m_target.width) * 3;
    std::uint8_t* row = first;
    for (std::int64_t r = top + 1; r < bottom; ++r) {
        row += stride;
        std::copy(first, first + rowBytes, row);
    }
}

void FramebufferSurface::drawPolyline(Point from, const Point* points, std::size_t count,
                                      Colour colour) {
    // One call for a whole curve: its segments are a few pixels long, and a call through the
    // surface for each cost about as much as drawing it (in WebAssembly more). For the same
    // reason a segment with both ends inside the image, which is every segment of a curve inside
    // the chart, is drawn without clipping and notes only its end as touched: its start is the
    // end of the segment before, or the polyline's start, noted once.
    if (count == 0) return;
    std::int32_t x = from.x;
    std::int32_t y = from.y;
    bool fromInside = inside(m_target, x, y);
    if (fromInside) m_touched.add(x, y);
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t toX = points[i].x;
        const std::int32_t toY = points[i].y;
        const bool toInside = inside(m_target, toX, toY);
        if (fromInside && toInside) {
            drawInsideSegment<false>(m_target, x, y, toX, toY, colour);
            m_touched.add(toX, toY);
        } else {
            drawSegment(x, y, toX, toY, colour);
        }
        x = toX;
        y = toY;
        fromInside = toInside;
    }
}

void FramebufferSurface::drawSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                     std::int32_t y1, Colour colour) {
    // Every pixel of a segment lies between its ends in both coordinates.
    if (inside(m_target, x0, y0) && inside(m_target, x1, y1)) {
        drawInsideSegment<true>(m_target, x0, y0, x1, y1, colour);
        m_touched.add(x0, y0);
        m_touched.add(x1, y1);
        return;
    }
    drawClippedLine(m_target, x0, y0, x1, y1, colour);
    noteTouched(std::min(x0, x1), std::min(y0, y1), std::int64_t{std::max(x0, x1)} + 1,
                std::int64_t{std::max(y0, y1)} + 1);
}

void FramebufferSurface::noteTouched(std::int64_t left, std::int64_t top, std::int64_t right,
                                     std::int64_t bottom) {
    const auto cut = [](std::int64_t v, std::int32_t size) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, size));
    };
    const PixelRect r{cut(left, m_target.width), cut(top, m_target.height),
                      cut(right, m_target.width), cut(bottom, m_target.height)};
    if (r.empty()) return;
    m_touched.add(r.left, r.top);
    m_touched.add(r.right - 1, r.bottom - 1);
}

PixelRect FramebufferSurface::touched() const {
    return m_touched.left < m_touched.right
               ? PixelRect{m_touched.left, m_touched.top, m_touched.right, m_touched.bottom}
               : PixelRect{};
}

}  // namespace korzenik
