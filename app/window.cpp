#include "app/window.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "app/control_table.h"
#include "app/res/dialog_template.h"
#include "app/res/resource.h"

namespace korzenik {

namespace {

/// One row of Rgbx32 pixels, four at a time as three little-endian words in and four out: the
/// page's first picture is converted once in a WebAssembly engine's baseline code, where every
/// operation counts.
void rowToRgbx(const std::uint8_t* in, std::uint8_t* out, std::int32_t width) {
    std::int32_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint32_t opaque = 0xFF000000;
        for (; x + 4 <= width; x += 4, in += 12, out += 16) {
            std::array<std::uint32_t, 3> rgb{};
            std::memcpy(rgb.data(), in, 12);
            const std::array<std::uint32_t, 4> rgbx = {
                rgb[0] | opaque,
                rgb[0] >> 24 | rgb[1] << 8 | opaque,
                rgb[1] >> 16 | rgb[2] << 16 | opaque,
                rgb[2] >> 8 | opaque,
            };
            std::memcpy(out, rgbx.data(), 16);
        }
    }
    for (; x < width; ++x, in += 3, out += 4) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = 0xFF;
    }
}

void rowToBgrx(const std::uint8_t* in, std::uint8_t* out, std::int32_t width) {
    for (std::int32_t x = 0; x < width; ++x, in += 3, out += 4) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = 0xFF;
    }
}

void paintBackdrop(DrawingSurface& surface) {
    const PixelRect backdrop = chartBackdrop();
    surface.fillSolidRect(backdrop.left, backdrop.top, backdrop.right - backdrop.left,
                          backdrop.bottom - backdrop.top, kWhite);
}

}  // namespace

PixelRect chartBackdrop() {
    const PixelRect frame =
        controlPlan(*res::findControl(res::kMainDialog, res::IDC_CHART_FRAME)).rect;
    return {kClientLeft + frame.left, kClientTop + frame.top, kClientLeft + frame.right,
            kClientTop + frame.bottom};
}

Framebuffer makeWindowFramebuffer() {
    // The framebuffer is made in the face colour, which then needs no painting.
    Framebuffer fb(kWindowWidth, kWindowHeight, kFaceColour);
    FramebufferSurface surface(fb);
    paintBackdrop(surface);
    return fb;
}

void paintWindowFace(DrawingSurface& surface) {
    surface.fillSolidRect(0, 0, kWindowWidth, kWindowHeight, kFaceColour);
    paintBackdrop(surface);
}

PixelRect clientArea(const PixelRect& window) {
    const PixelRect r{std::max(window.left - kClientLeft, 0), std::max(window.top - kClientTop, 0),
                      std::min(window.right - kClientLeft, kClientWidth),
                      std::min(window.bottom - kClientTop, kClientHeight)};
    return r.empty() ? PixelRect{} : r;
}

PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.empty()) return b.empty() ? PixelRect{} : b;
    if (b.empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

void copyClientPixels(const Framebuffer& window, const PixelRect& area, PixelFormat format,
                      std::uint8_t* out, std::ptrdiff_t stride) {
    const PixelRect cut{std::max(area.left, 0), std::max(area.top, 0),
                        std::min(area.right, kClientWidth), std::min(area.bottom, kClientHeight)};
    if (cut.empty()) return;
    const std::int32_t width = cut.right - cut.left;
    const auto pixelSize = static_cast<std::ptrdiff_t>(bytesPerPixel(format));
    for (std::int32_t y = cut.top; y < cut.bottom; ++y) {
        const std::uint8_t* in =
            window.rgb.data() +
            (static_cast<std::size_t>(y + kClientTop) * static_cast<std::size_t>(window.width) +
             static_cast<std::size_t>(cut.left + kClientLeft)) *
                3;
        std::uint8_t* row = out + (y - area.top) * stride + (cut.left - area.left) * pixelSize;
        switch (format) {
            case PixelFormat::Rgb24:
                std::memcpy(row, in, static_cast<std::size_t>(width) * 3);
                break;
            case PixelFormat::Rgbx32: rowToRgbx(in, row, width); break;
            case PixelFormat::Bgrx32: rowToBgrx(in, row, width); break;
        }
    }
}

}  // namespace korzenik
