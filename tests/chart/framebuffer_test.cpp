#include "chart/framebuffer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

using namespace korzenik;

namespace {

using Pixels = std::vector<std::pair<std::int32_t, std::int32_t>>;
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

/// Every pixel of the image that is not white, in raster order.
Pixels painted(const Framebuffer& fb) {
    Pixels out;
    for (std::int32_t y = 0; y < fb.height; ++y) {
        for (std::int32_t x = 0; x < fb.width; ++x) {
            if (fb.pixel(x, y) != kWhite) out.emplace_back(x, y);
        }
    }
    return out;
}

Pixels lineOn(std::int32_t w, std::int32_t h, std::int32_t x0, std::int32_t y0, std::int32_t x1,
              std::int32_t y1) {
    Framebuffer fb(w, h, kWhite);
    drawLine(fb, x0, y0, x1, y1, kRed);
    return painted(fb);
}

__extension__ typedef __int128 Wide;

/// The pixels of a segment inside a w x h image, straight from the definition and independent of
/// the rasteriser: along the major axis every coordinate but the end's gets the minor coordinate
/// m whose band [ideal - 1/2, ideal + 1/2) holds m, in exact rationals. A tie (ideal = m + 1/2)
/// thus goes to m, the smaller one.
Pixels referenceLine(std::int32_t w, std::int32_t h, std::int32_t x0, std::int32_t y0,
                     std::int32_t x1, std::int32_t y1) {
    const Wide dx = Wide{x1} - x0;
    const Wide dy = Wide{y1} - y0;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    Pixels out;
    if (dx == 0 && dy == 0) return out;
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            // Major coordinate u, minor v; the ideal minor at u is n / d with d > 0.
            const Wide u = xMajor ? x : y, v = xMajor ? y : x;
            const Wide u0 = xMajor ? x0 : y0, u1 = xMajor ? x1 : y1;
            const Wide v0 = xMajor ? y0 : x0;
            const Wide du = u1 - u0, dv = xMajor ? dy : dx;
            if (u == u1 || (u - u0) * (u - u1) > 0) continue;  // outside the segment's span
            const Wide d = du < 0 ? -du : du;
            const Wide n = v0 * d + (u - u0) * dv * (du < 0 ? -1 : 1);
            const Wide e2 = 2 * (v * d - n);
            if (-d <= e2 && e2 < d) out.emplace_back(x, y);
        }
    }
    return out;
}

}  // namespace

TEST(Framebuffer, StoresColoursAsRgbAndDropsPixelsOutside) {
    Framebuffer fb(3, 2, 0x00112233);
    ASSERT_EQ(fb.rgb.size(), 18u);
    EXPECT_EQ(std::vector<std::uint8_t>(fb.rgb.begin(), fb.rgb.begin() + 3),
              (std::vector<std::uint8_t>{0x33, 0x22, 0x11}));  // 0x00BBGGRR stored as R, G, B
    fb.setPixel(2, 1, 0xA4B5C6);
    EXPECT_EQ(fb.pixel(2, 1), 0xA4B5C6u);
    EXPECT_EQ(fb.rgb[15], 0xC6);
    const std::vector<std::uint8_t> before = fb.rgb;
    for (const auto& [x, y] : Pixels{{3, 0}, {-1, 0}, {0, 2}, {kMin, kMax}}) {
        fb.setPixel(x, y, kBlack);
    }
    EXPECT_EQ(fb.rgb, before);
}

TEST(FramebufferSurface, FillSolidRectIsClippedToTheImage) {
    Framebuffer fb(10, 8, kWhite);
    FramebufferSurface surface(fb);
    surface.fillSolidRect(-5, -5, 8, 7, kBlue);  // columns -5..2, rows -5..1
    EXPECT_EQ(painted(fb), (Pixels{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}));
    EXPECT_EQ(fb.pixel(2, 1), kBlue);

    Framebuffer empty(10, 8, kWhite);
    FramebufferSurface other(empty);
    other.fillSolidRect(kMax - 1, 0, kMax, 5, kBlack);    // the far edge overflows 32 bits
    other.fillSolidRect(kMin, kMin, kMax, kMax, kBlack);  // ends at -1
    other.fillSolidRect(2, 2, -3, 4, kBlack);             // negative extent paints nothing
    other.fillSolidRect(2, 2, 0, 4, kBlack);
    EXPECT_TRUE(painted(empty).empty());
    other.fillSolidRect(kMin, kMin, kMax, kMax, kBlack);
    other.fillSolidRect(kMin / 2, kMin / 2, kMax, kMax, kBlack);  // covers everything
    EXPECT_EQ(painted(empty).size(), 80u);
}

TEST(FramebufferSurface, LinesUseTheSelectedPenAndTheBlackPenAfterDeletion) {
    Framebuffer fb(10, 4, kWhite);
    FramebufferSurface surface(fb);
    surface.selectPen(kGray);
    surface.moveTo(0, 0);
    surface.lineTo(3, 0);
    surface.deletePen();
    surface.lineTo(6, 0);  // continues from the last end, with the stock pen
    surface.selectPen(kRed);
    surface.moveTo(0, 2);  // moves without painting
    surface.lineTo(2, 2);
    std::vector<Colour> row0, row2;
    for (std::int32_t x = 0; x < 7; ++x) row0.push_back(fb.pixel(x, 0));
    for (std::int32_t x = 0; x < 3; ++x) row2.push_back(fb.pixel(x, 2));
    EXPECT_EQ(row0, (std::vector<Colour>{kGray, kGray, kGray, kBlack, kBlack, kBlack, kWhite}));
    EXPECT_EQ(row2, (std::vector<Colour>{kRed, kRed, kWhite}));
    EXPECT_EQ(painted(fb).size(), 8u);
}

// A polyline paints what its lines drawn one by one paint, ends far outside the image included,
// in the pen's colour, leaves the current position at its last point, and touches what they do.
TEST(FramebufferSurface, PolylinePaintsItsLinesOneByOne) {
    std::mt19937 rng(20240612);
    std::uniform_int_distribution<std::int32_t> near(-20, 60), far(-100000, 100000);
    for (int round = 0; round < 200; ++round) {
        std::vector<Point> points(static_cast<std::size_t>(round % 7));
        for (Point& p : points) {
            p = round % 5 == 4 ? Point{far(rng), far(rng)} : Point{near(rng), near(rng)};
        }
        Framebuffer byLines(40, 30, kWhite);
        Framebuffer byPolyline(40, 30, kWhite);
        FramebufferSurface lines(byLines);
        FramebufferSurface polyline(byPolyline);
        for (FramebufferSurface* surface : {&lines, &polyline}) {
            surface->selectPen(kBlue);
            surface->moveTo(5, 7);
        }
        for (const Point& p : points) lines.lineTo(p.x, p.y);
        polyline.polylineTo(points.data(), points.size());
        lines.lineTo(20, 29);
        polyline.lineTo(20, 29);
        ASSERT_EQ(byPolyline.rgb, byLines.rgb) << "round " << round;
        // And it reports the same pixels touched, though it notes them its own way.
        const PixelRect a = lines.touched();
        const PixelRect b = polyline.touched();
        ASSERT_EQ(std::tie(b.left, b.top, b.right, b.bottom),
                  std::tie(a.left, a.top, a.right, a.bottom))
            << "round " << round;
    }
}

// One pixel per step along the major axis, the nearest on the minor one, half-way going up (x
// major) or left (y major) whichever way the line is drawn; the last point is left out.
TEST(DrawLine, TiesGoUpOrLeftAndTheLastPointIsLeftOut) {
    const struct {
        std::int32_t x0, y0, x1, y1;
        Pixels pixels;
    } cases[] = {
        {0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
        {4, 1, 0, 0, {{1, 0}, {2, 0}, {3, 1}, {4, 1}}},
        {0, 0, 1, 4, {{0, 0}, {0, 1}, {0, 2}, {1, 3}}},
        {1, 4, 0, 0, {{0, 1}, {0, 2}, {1, 3}, {1, 4}}},
        {5, 6, 5, 3, {{5, 4}, {5, 5}, {5, 6}}},
        {4, 4, 4, 4, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lineOn(8, 8, c.x0, c.y0, c.x1, c.y1), c.pixels)
            << "(" << c.x0 << ", " << c.y0 << ") -> (" << c.x1 << ", " << c.y1 << ")";
    }
}

// Near lines, lines with one or both ends far away, and the extremes of the 32-bit plane: the
// clipping keeps exactly the pixels of the whole line, and the cost follows the pixels painted
// (a walk over 2^32 columns would not finish).
TEST(DrawLine, MatchesTheNearestPixelDefinition) {
    const std::int32_t w = 40, h = 30;
    using Line = std::array<std::int32_t, 4>;
    std::vector<Line> lines = {
        {kMin, kMin, kMax, kMax}, {kMax, kMax, kMin, kMin}, {kMin, 0, kMax, 1}, {kMax, 1, kMin, 0},
        {kMin, kMax, kMax, kMin}, {kMin, kMin, kMin, kMax}, {5, kMin, 5, kMax}};
    std::mt19937_64 rng(20240611);
    std::uniform_int_distribution<std::int32_t> near(-12, 52), any(kMin, kMax);
    std::uniform_int_distribution<int> bits(0, 30);
    const auto wide = [&] {  // magnitudes of every order up to 2^31
        const auto m = static_cast<std::int32_t>(rng() >> (33 + bits(rng)));
        return (rng() & 1) ? m : -m;
    };
    for (int i = 0; i < 20000; ++i) {
        Line l = {near(rng), near(rng), near(rng), near(rng)};
        if (i % 4 == 1) l = {l[0], l[1], wide(), wide()};
        if (i % 4 == 2) l = {any(rng), any(rng), any(rng), any(rng)};
        if (i % 4 == 3) {  // far ends on both sides of a pixel of the image, on the line
            const std::int32_t x0 = wide(), y0 = wide();
            const std::int64_t x1 = 2 * std::int64_t{l[0] % w} - x0;
            const std::int64_t y1 = 2 * std::int64_t{l[1] % h} - y0;
            if (x1 < kMin || x1 > kMax || y1 < kMin || y1 > kMax) continue;
            l = {x0, y0, static_cast<std::int32_t>(x1), static_cast<std::int32_t>(y1)};
        }
        lines.push_back(l);
    }
    int crossing = 0;
    for (const auto& [x0, y0, x1, y1] : lines) {
        const Pixels expected = referenceLine(w, h, x0, y0, x1, y1);
        crossing += expected.empty() ? 0 : 1;
        ASSERT_EQ(lineOn(w, h, x0, y0, x1, y1), expected)
            << "(" << x0 << ", " << y0 << ") -> (" << x1 << ", " << y1 << ")";
    }
    EXPECT_GT(crossing, 10000);  // most lines do reach the image
}
