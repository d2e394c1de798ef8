#include "chart/framebuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
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
    EXPECT_EQ(fb.rgb[0], 0x33);  // red first: 0x00BBGGRR stored as R, G, B
    EXPECT_EQ(fb.rgb[1], 0x22);
    EXPECT_EQ(fb.rgb[2], 0x11);
    fb.setPixel(2, 1, 0xA4B5C6);
    EXPECT_EQ(fb.pixel(2, 1), 0xA4B5C6u);
    EXPECT_EQ(fb.rgb[15], 0xC6);
    const std::vector<std::uint8_t> before = fb.rgb;
    fb.setPixel(3, 0, kBlack);
    fb.setPixel(-1, 0, kBlack);
    fb.setPixel(0, 2, kBlack);
    fb.setPixel(kMin, kMax, kBlack);
    EXPECT_EQ(fb.rgb, before);
}

TEST(FramebufferSurface, FillSolidRectIsClippedToTheImage) {
    Framebuffer fb(10, 8, kWhite);
    FramebufferSurface surface(fb);
    surface.fillSolidRect(-5, -5, 8, 7, kBlue);  // columns -5..2, rows -5..1
    Pixels expected;
    for (std::int32_t y = 0; y <= 1; ++y) {
        for (std::int32_t x = 0; x <= 2; ++x) expected.emplace_back(x, y);
    }
    EXPECT_EQ(painted(fb), expected);
    EXPECT_EQ(fb.pixel(2, 1), kBlue);

    Framebuffer empty(10, 8, kWhite);
    FramebufferSurface other(empty);
    other.fillSolidRect(kMax - 1, 0, kMax, 5, kBlack);  // the far edge overflows 32 bits
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
    EXPECT_EQ(fb.pixel(0, 0), kGray);
    EXPECT_EQ(fb.pixel(2, 0), kGray);
    EXPECT_EQ(fb.pixel(3, 0), kBlack);
    EXPECT_EQ(fb.pixel(5, 0), kBlack);
    EXPECT_EQ(fb.pixel(6, 0), kWhite);
    EXPECT_EQ(fb.pixel(1, 2), kRed);
    EXPECT_EQ(fb.pixel(2, 2), kWhite);
    EXPECT_EQ(painted(fb).size(), 8u);
}

// Wider than tall: one pixel per column, the nearest row, half-way going up (smaller row).
TEST(DrawLine, XMajorTiesGoToTheUpperRowWhicheverWayTheLineIsDrawn) {
    EXPECT_EQ(lineOn(8, 8, 0, 0, 4, 1), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
    EXPECT_EQ(lineOn(8, 8, 4, 1, 0, 0), (Pixels{{1, 0}, {2, 0}, {3, 1}, {4, 1}}));
    EXPECT_EQ(lineOn(8, 8, 0, 1, 4, 0), (Pixels{{2, 0}, {3, 0}, {0, 1}, {1, 1}}));
    EXPECT_EQ(lineOn(8, 8, 4, 0, 0, 1), (Pixels{{2, 0}, {3, 0}, {4, 0}, {1, 1}}));
    // No tie: rows 0, 0.33, 0.67 round to 0, 0, 1.
    EXPECT_EQ(lineOn(8, 8, 0, 0, 3, 1), (Pixels{{0, 0}, {1, 0}, {2, 1}}));
}

// Taller than wide: one pixel per row, the nearest column, half-way going left.
TEST(DrawLine, YMajorTiesGoToTheLeftColumnWhicheverWayTheLineIsDrawn) {
    EXPECT_EQ(lineOn(8, 8, 0, 0, 1, 4), (Pixels{{0, 0}, {0, 1}, {0, 2}, {1, 3}}));
    EXPECT_EQ(lineOn(8, 8, 1, 4, 0, 0), (Pixels{{0, 1}, {0, 2}, {1, 3}, {1, 4}}));
    EXPECT_EQ(lineOn(8, 8, 1, 0, 0, 4), (Pixels{{1, 0}, {1, 1}, {0, 2}, {0, 3}}));
}

TEST(DrawLine, DiagonalsStraightLinesAndTheLeftOutEnd) {
    EXPECT_EQ(lineOn(8, 8, 0, 3, 3, 0), (Pixels{{2, 1}, {1, 2}, {0, 3}}));
    EXPECT_EQ(lineOn(8, 8, 3, 3, 0, 0), (Pixels{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(lineOn(8, 8, 2, 2, 6, 2), (Pixels{{2, 2}, {3, 2}, {4, 2}, {5, 2}}));
    EXPECT_EQ(lineOn(8, 8, 5, 6, 5, 3), (Pixels{{5, 4}, {5, 5}, {5, 6}}));
    EXPECT_EQ(lineOn(8, 8, 2, 2, 3, 2), (Pixels{{2, 2}}));
    EXPECT_TRUE(lineOn(8, 8, 4, 4, 4, 4).empty());
}

// Ends far outside the image: the clipping keeps exactly the pixels of the whole line, and the
// cost follows the pixels painted (a walk over 2^32 columns would not finish).
TEST(DrawLine, FarAwayEndsPaintOnlyTheLinesPixelsInsideTheImage) {
    Pixels diagonal;
    for (std::int32_t i = 0; i < 566; ++i) diagonal.emplace_back(i, i);
    EXPECT_EQ(lineOn(802, 566, kMin, kMin, kMax, kMax), diagonal);
    EXPECT_EQ(lineOn(802, 566, kMax, kMax, kMin, kMin), diagonal);

    // From 2^31 columns left of the image to 2^31 - 1 right of it, one row down: column 0 is
    // already past the half-way point, so the whole visible part lies on row 1.
    Pixels rowOne;
    for (std::int32_t x = 0; x < 802; ++x) rowOne.emplace_back(x, 1);
    EXPECT_EQ(lineOn(802, 566, kMin, 0, kMax, 1), rowOne);
    EXPECT_EQ(lineOn(802, 566, kMax, 1, kMin, 0), rowOne);

    EXPECT_TRUE(lineOn(802, 566, kMin, kMax, kMax, kMin).empty());  // passes below the image
    EXPECT_TRUE(lineOn(802, 566, kMin, kMin, kMin, kMax).empty());  // vertical, far left
    EXPECT_EQ(lineOn(802, 566, 5, kMin, 5, kMax).size(), 566u);
}

TEST(DrawLine, MatchesTheNearestPixelDefinitionOnRandomLines) {
    std::mt19937_64 rng(20240611);
    const std::int32_t w = 40, h = 30;
    std::uniform_int_distribution<std::int32_t> near(-12, 52);
    std::uniform_int_distribution<std::int32_t> any(kMin, kMax);
    std::uniform_int_distribution<int> bits(0, 30);
    std::uniform_int_distribution<int> kind(0, 3);
    const auto wide = [&] {  // magnitudes of every order up to 2^31
        const std::int32_t m = static_cast<std::int32_t>(rng() >> (33 + bits(rng)));
        return (rng() & 1) ? m : -m;
    };
    int crossing = 0;
    for (int i = 0; i < 20000; ++i) {
        std::int32_t x0 = near(rng), y0 = near(rng), x1 = near(rng), y1 = near(rng);
        switch (kind(rng)) {
            case 0:
                break;
            case 1:  // one end far away
                x1 = wide();
                y1 = wide();
                break;
            case 2: {  // far ends on both sides of a pixel of the image, which lies on the line
                const std::int32_t px = near(rng) % w, py = near(rng) % h;
                x0 = wide();
                y0 = wide();
                const std::int64_t bx = 2 * std::int64_t{px} - x0, by = 2 * std::int64_t{py} - y0;
                if (bx < kMin || bx > kMax || by < kMin || by > kMax) continue;
                x1 = static_cast<std::int32_t>(bx);
                y1 = static_cast<std::int32_t>(by);
                break;
            }
            default:
                x0 = any(rng);
                y0 = any(rng);
                x1 = any(rng);
                y1 = any(rng);
        }
        const Pixels expected = referenceLine(w, h, x0, y0, x1, y1);
        if (!expected.empty()) ++crossing;
        ASSERT_EQ(lineOn(w, h, x0, y0, x1, y1), expected)
            << "(" << x0 << ", " << y0 << ") -> (" << x1 << ", " << y1 << ")";
    }
    EXPECT_GT(crossing, 10000);  // most lines do reach the image
}
