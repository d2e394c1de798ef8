#include "app/display_scale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace korzenik {

namespace {

/// A scale the functions below can divide by: one for anything else than a positive number.
double usable(double scale) { return scale > 0 && std::isfinite(scale) ? scale : 1.0; }

/// The 32-bit integer nearest below v, held inside the 32-bit range.
std::int32_t floorToInt(double v) {
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::floor(v), lowest, highest));
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

std::int32_t shownPixel(double scale, std::int32_t device) {
    return floorToInt((device + 0.5) / usable(scale));
}

std::int32_t deviceEdge(double scale, std::int32_t pixel) {
    // The first device pixel whose centre lies in the pixel, found from the exact value and
    // then held to shownPixel, so that the two never disagree by a rounding.
    std::int32_t d = floorToInt(std::ceil(pixel * usable(scale) - 0.5));
    while (d > std::numeric_limits<std::int32_t>::min() && shownPixel(scale, d - 1) >= pixel) --d;
    while (d < std::numeric_limits<std::int32_t>::max() && shownPixel(scale, d) < pixel) ++d;
    return d;
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
    const std::size_t pixelSize = bytesPerPixel(format);
    const auto width = static_cast<std::size_t>(cut.right - cut.left);
    // The client column each device column shows, and the run of client pixels they come from,
    // converted once a client row.
    std::vector<std::int32_t> columns(width);
    for (std::size_t i = 0; i < width; ++i) {
        columns[i] = shownPixel(scale, cut.left + static_cast<std::int32_t>(i));
    }
    const std::int32_t first = columns.front();
    std::vector<std::uint8_t> row(static_cast<std::size_t>(columns.back() - first + 1) * pixelSize);
    const std::uint8_t* previous = nullptr;
    std::int32_t previousRow = -1;
    for (std::int32_t y = cut.top; y < cut.bottom; ++y) {
        std::uint8_t* line = out + (y - area.top) * stride +
                             static_cast<std::ptrdiff_t>(cut.left - area.left) *
                                 static_cast<std::ptrdiff_t>(pixelSize);
        const std::int32_t shown = shownPixel(scale, y);
        // Device rows that show the same client row are the same bytes.
        if (shown == previousRow) {
            std::memcpy(line, previous, width * pixelSize);
        } else {
            copyClientPixels(window, {first, shown, columns.back() + 1, shown + 1}, format,
                             row.data(), 0);
            for (std::size_t i = 0; i < width; ++i) {
                std::memcpy(line + i * pixelSize,
                            row.data() + static_cast<std::size_t>(columns[i] - first) * pixelSize,
                            pixelSize);
            }
        }
        previous = line;
        previousRow = shown;
    }
}

}  // namespace korzenik
