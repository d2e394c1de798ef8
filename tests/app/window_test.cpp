// The client area's pixels as each toolkit takes them: the right pixels, in the right byte
// order, at the right place, and nothing written outside the area asked for.
#include "app/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

using namespace korzenik;

namespace {

/// A window whose every pixel has a colour of its own.
Framebuffer patterned() {
    Framebuffer fb(kWindowWidth, kWindowHeight, 0);
    for (std::int32_t y = 0; y < fb.height; ++y) {
        for (std::int32_t x = 0; x < fb.width; ++x) {
            fb.setPixel(x, y,
                        static_cast<Colour>(x & 0xFF) | static_cast<Colour>(y & 0xFF) << 8 |
                            static_cast<Colour>((x >> 8) * 16 + (y >> 8)) << 16);
        }
    }
    return fb;
}

}  // namespace

TEST(ClientPixels, EveryFormatWritesTheAreaAndNothingElse) {
    const Framebuffer window = patterned();
    // Partly outside the client area on the right and at the bottom; odd widths leave a tail
    // after the four-pixel steps.
    const PixelRect areas[] = {
        {0, 0, kClientWidth, kClientHeight},
        {5, 7, 12, 9},
        {kClientWidth - 6, kClientHeight - 3, kClientWidth + 4, kClientHeight + 2}};
    for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Rgbx32, PixelFormat::Bgrx32}) {
        for (const PixelRect& area : areas) {
            const auto size = static_cast<std::int32_t>(bytesPerPixel(format));
            const std::int32_t width = area.right - area.left;
            const std::int32_t height = area.bottom - area.top;
            const std::int32_t stride = (width + 1) * size;  // a spare pixel at each row's end
            std::vector<std::uint8_t> out(static_cast<std::size_t>(stride * height), 0xAB);
            copyClientPixels(window, area, format, out.data(), stride);
            for (std::int32_t y = 0; y < height; ++y) {
                for (std::int32_t x = 0; x <= width; ++x) {
                    const std::uint8_t* p = &out[static_cast<std::size_t>(y * stride + x * size)];
                    const std::int32_t cx = area.left + x;
                    const std::int32_t cy = area.top + y;
                    if (x == width || cx >= kClientWidth || cy >= kClientHeight) {
                        ASSERT_EQ(p[0], 0xAB) << "written outside at " << x << "," << y;
                        continue;
                    }
                    const Colour c = window.pixel(cx + kClientLeft, cy + kClientTop);
                    const std::uint8_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
                    const std::array<std::uint8_t, 4> want =
                        format == PixelFormat::Rgb24 ? std::array<std::uint8_t, 4>{r, g, b, 0xAB}
                        : format == PixelFormat::Rgbx32
                            ? std::array<std::uint8_t, 4>{r, g, b, 0xFF}
                            : std::array<std::uint8_t, 4>{b, g, r, 0xFF};
                    ASSERT_TRUE(std::equal(p, p + size, want.begin()))
                        << "format " << static_cast<int>(format) << " at " << cx << "," << cy;
                }
            }
        }
    }
}

TEST(ClientPixels, WindowRectanglesBecomeClientOnesCutToTheClient) {
    const PixelRect r = clientArea({0, 0, 10, 40});
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 10 - kClientLeft);
    EXPECT_EQ(r.bottom, 40 - kClientTop);
    EXPECT_TRUE(clientArea({0, 0, kClientLeft, 100}).empty());
    const PixelRect all = clientArea({-5, -5, kWindowWidth + 5, kWindowHeight + 5});
    EXPECT_EQ(all.right, kClientWidth);
    EXPECT_EQ(all.bottom, kClientHeight);

    const PixelRect both = unite({1, 2, 3, 4}, {10, 0, 11, 3});
    EXPECT_EQ(both.left, 1);
    EXPECT_EQ(both.top, 0);
    EXPECT_EQ(both.right, 11);
    EXPECT_EQ(both.bottom, 4);
    EXPECT_EQ(unite({}, {5, 5, 6, 6}).left, 5);
    EXPECT_TRUE(unite({7, 7, 7, 9}, {}).empty());
}
