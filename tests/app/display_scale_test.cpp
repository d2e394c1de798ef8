// The one scale of every window and its sampling: the screen's ratio where the room allows,
// never below one device pixel a pixel, and every window pixel on at least one device pixel of
// its own colour at any ratio, a browser's zoom steps and a monitor's scales alike.
#include "app/display_scale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

using namespace korzenik;

namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();

}  // namespace

TEST(DisplayScale, TheScreensRatioWhereTheRoomHoldsItElseWhatFitsButNeverBelowOne) {
    struct Case {
        double ratio, roomWidth, roomHeight, expected;
    };
    const Case cases[] = {
        {1.5, kNone, kNone, 1.5},   // a laptop at 150 %: the window grows by half
        {2.625, 1000, kNone, 2.0},  // a phone: the chart takes the width it has
        {1.75, 1000, 800, 1.6},     // a small screen: the tighter of the two rooms
        {1.25, 2000, 1000, 1.25},   // room to spare: no larger than the screen's ratio
        {0.8, kNone, kNone, 1.0},   // a page zoomed out: one device pixel a pixel, larger
        {2.0, 300, kNone, 1.0},     // not even one fits: one, and the window scrolls
        {std::numeric_limits<double>::quiet_NaN(), kNone, kNone, 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(displayScale(c.ratio, c.roomWidth, c.roomHeight, 500, 500), c.expected)
            << c.ratio << " in " << c.roomWidth << " x " << c.roomHeight;
    }
}

TEST(DisplayScale, EveryPixelShowsOnWholeDevicePixelsAtAnyRatio) {
    // Windows' scales, Chromium's zoom steps and phones' ratios, and ratios a rounding away
    // from a whole number.
    const double scales[] = {1.0,      1.1,   1.25, 1.5, 1.75, 2.0,       2.125,
                             2.25,     2.625, 3.0,  3.5, 4.0,  1.0000001, 0.9999999 + 2.0,
                             1.0 / 0.9};
    for (double scale : scales) {
        std::int32_t previous = shownPixel(scale, 0);
        EXPECT_EQ(previous, 0) << scale;
        for (std::int32_t d = 1; d < 4000; ++d) {
            const std::int32_t shown = shownPixel(scale, d);
            // In order, and none left out.
            ASSERT_TRUE(shown == previous || shown == previous + 1) << scale << " at " << d;
            ASSERT_LE(deviceEdge(scale, shown), d) << scale << " at " << d;
            ASSERT_GT(deviceEdge(scale, shown + 1), d) << scale << " at " << d;
            previous = shown;
        }
    }
    // Whole numbers: blocks of k.
    for (std::int32_t k = 1; k <= 4; ++k) {
        for (std::int32_t p = 0; p < 100; ++p) EXPECT_EQ(deviceEdge(k, p), p * k);
    }
    // The window's length at 125 % and 175 %: the device pixels its pixels take.
    EXPECT_EQ(deviceEdge(1.25, kClientWidth), 995);
    EXPECT_EQ(deviceEdge(1.75, kClientHeight), 938);
}

TEST(DisplayScale, ScaledClientPixelsAreTheSampledOnesAndNothingElse) {
    // A window whose every pixel has a colour of its own.
    Framebuffer window(kWindowWidth, kWindowHeight, 0);
    for (std::int32_t y = 0; y < window.height; ++y) {
        for (std::int32_t x = 0; x < window.width; ++x) {
            window.setPixel(x, y, static_cast<Colour>(x | y << 12));
        }
    }
    for (double scale : {1.0, 1.5, 1.75, 2.0, 2.625}) {
        const PixelRect client = deviceRect(scale, kClientRect);
        // All of it; a corner across the client's right and bottom edges; a band inside.
        const PixelRect areas[] = {
            client,
            {client.right - 7, client.bottom - 5, client.right + 3, client.bottom + 4},
            {31, 17, 60, 23}};
        for (PixelFormat format : {PixelFormat::Rgbx32, PixelFormat::Bgrx32}) {
            for (const PixelRect& area : areas) {
                const std::int32_t width = area.right - area.left;
                const std::int32_t stride = (width + 1) * 4;  // a spare pixel at each row's end
                std::vector<std::uint8_t> out(static_cast<std::size_t>(stride) *
                                                  static_cast<std::size_t>(area.bottom - area.top),
                                              0xAB);
                copyScaledClientPixels(window, scale, area, format, out.data(), stride);
                for (std::int32_t y = area.top; y < area.bottom; ++y) {
                    for (std::int32_t x = area.left; x <= area.right; ++x) {
                        const std::uint8_t* p = &out[static_cast<std::size_t>(
                            (y - area.top) * stride + (x - area.left) * 4)];
                        if (x == area.right || x >= client.right || y >= client.bottom) {
                            ASSERT_EQ(p[0], 0xAB) << "written outside at " << x << "," << y;
                            continue;
                        }
                        const Colour c = window.pixel(kClientLeft + shownPixel(scale, x),
                                                      kClientTop + shownPixel(scale, y));
                        const bool rgb = format == PixelFormat::Rgbx32;
                        const Colour shown = static_cast<Colour>(p[rgb ? 0 : 2]) |
                                             static_cast<Colour>(p[1]) << 8 |
                                             static_cast<Colour>(p[rgb ? 2 : 0]) << 16;
                        ASSERT_EQ(shown, c) << scale << " at " << x << "," << y;
                        ASSERT_EQ(p[3], 0xFF);
                    }
                }
            }
        }
    }
}
