#include "app/display_scale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace korzenik {

namespace {

/// The scale in 65536ths of a device pixel, so that which device pixels show which window pixel
/// is worked out in whole numbers, the same way each time: one for anything but a positive number.
constexpr std::int64_t kUnit = 65536;
std::int64_t fixedScale(double scale) {
    return scale * kUnit >= 1 && scale < kUnit ? static_cast<std::int64_t>(scale * kUnit + 0.5)
                                               : kUnit;
}

/// a / b rounded down, for a positive b.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

std::int32_t toInt(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

double displayScale(double ratio, double roomWidth, double roomHeight, std::int32_t width,
                    std::int32_t height) {
    double scale = std::isfinite(ratio) ? ratio : 1.0;
    if (width > 0) scale = std::min(scale, roomWidth / width);
    if (height > 0) scale = std::min(scale, roomHeight / height);
    // A room smaller than the window (or no number) leaves one device pixel a pixel.
    return scale >= 1.0 ? scale : 1.0;
}

// Device pixel d, whose centre lies at d + 1/2, shows window pixel p where p * scale <= d + 1/2 <
// (p + 1) * scale: p = floor((2d + 1) / (2 scale)), and the first d for p is the least whole
// number with 2d + 1 >= 2p * scale. Both are kept out of line, where the page's whole-program
// optimisation would copy them into every caller, so that the page's module stays small.
[[gnu::noinline]] std::int32_t shownPixel(double scale, std::int32_t device) {
    return toInt(floorDiv((2 * std::int64_t{device} + 1) * kUnit, 2 * fixedScale(scale)));
}

[[gnu::noinline]] std::int32_t deviceEdge(double scale, std::int32_t pixel) {
    return toInt(-floorDiv(kUnit - 2 * std::int64_t{pixel} * fixedScale(scale), 2 * kUnit));
}

PixelRect deviceRect(double scale, const PixelRect& window) {
    return {deviceEdge(scale, window.left), deviceEdge(scale, window.top),
            deviceEdge(scale, window.right), deviceEdge(scale, window.bottom)};
}

void copyScaledClientPixels(const Framebuffer& window, double scale, const PixelRect& area,
                            PixelFormat format, std::uint8_t* out, std::ptrdiff_t stride) {
    if (scale == 1.0) {
        copyClientPixels(window, area, format, out, stride);
        return;
    }
    const PixelRect client = deviceRect(scale, kClientRect);
    const PixelRect cut{std::max(area.left, client.left), std::max(area.top, client.top),
                        std::min(area.right, client.right), std::min(area.bottom, client.bottom)};
    if (cut.empty()) return;
    const std::size_t size = bytesPerPixel(format);
    const bool bgr = format == PixelFormat::Bgrx32;
    // The client columns the area shows, each with the device column after its last one.
    const std::int32_t first = shownPixel(scale, cut.left);
    const auto columns = static_cast<std::size_t>(shownPixel(scale, cut.right - 1) - first + 1);
    const std::unique_ptr<std::int32_t[]> ends(new std::int32_t[columns]);
    for (std::size_t i = 0; i < columns; ++i) {
        ends[i] = std::min(deviceEdge(scale, first + static_cast<std::int32_t>(i) + 1), cut.right);
    }
    const std::uint8_t* previous = nullptr;
    std::int32_t previousRow = -1;
    for (std::int32_t y = cut.top; y < cut.bottom; ++y) {
        std::uint8_t* line =
            out + (y - area.top) * stride +
            static_cast<std::ptrdiff_t>(cut.left - area.left) * static_cast<std::ptrdiff_t>(size);
        const std::int32_t row = shownPixel(scale, y);
        // Device rows that show the same client row are the same bytes.
        if (row == previousRow) {
            std::memcpy(line, previous, static_cast<std::size_t>(cut.right - cut.left) * size);
        } else {
            const std::uint8_t* in =
                window.rgb.data() + (static_cast<std::size_t>(row + kClientTop) *
                                         static_cast<std::size_t>(window.width) +
                                     static_cast<std::size_t>(first + kClientLeft)) *
                                        3;
            std::uint8_t* at = line;
            for (std::size_t i = 0; i < columns; ++i, in += 3) {
                const std::uint8_t pixel[4] = {in[bgr ? 2 : 0], in[1], in[bgr ? 0 : 2], 0xFF};
                for (std::uint8_t* end =
                         line + (ends[i] - cut.left) * static_cast<std::ptrdiff_t>(size);
                     at < end; at += size) {
                    std::memcpy(at, pixel, size);
                }
            }
        }
        previous = line;
        previousRow = row;
    }
}

}  // namespace korzenik
