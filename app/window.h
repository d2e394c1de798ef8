#pragma once
// Geometry of the main window in pixels, as the chart's fixed rectangle expects it, and the
// client area's pixels as each toolkit takes them.
#include <cstddef>
#include <cstdint>

#include "chart/framebuffer.h"

namespace korzenik {

inline constexpr std::int32_t kWindowWidth = 802;
inline constexpr std::int32_t kWindowHeight = 566;
inline constexpr std::int32_t kClientLeft = 3;  ///< client area's offset in the window
inline constexpr std::int32_t kClientTop = 27;
inline constexpr std::int32_t kClientWidth = 796;
inline constexpr std::int32_t kClientHeight = 536;

/// The dialog's face colour (a light gray).
inline constexpr Colour kFaceColour = 0xF0F0F0;

/// A window-sized framebuffer as the window first shows it: the face colour, with the white chart
/// backdrop (control IDC_CHART_FRAME) at its place.
Framebuffer makeWindowFramebuffer();

/// The white chart backdrop's pixels in window coordinates: where the layout puts
/// IDC_CHART_FRAME in the client area.
PixelRect chartBackdrop();

/// Paints the window as it first shows on a surface of the window's size, as
/// makeWindowFramebuffer makes it: for a record of the window's drawing that starts there.
void paintWindowFace(DrawingSurface& surface);

/// The whole client area, in client coordinates.
inline constexpr PixelRect kClientRect{0, 0, kClientWidth, kClientHeight};

/// A rectangle of window pixels (a released surface's) in client coordinates, cut to the client
/// area; empty when none of it lies there.
PixelRect clientArea(const PixelRect& window);

/// The smallest rectangle holding both; an empty one adds nothing.
PixelRect unite(const PixelRect& a, const PixelRect& b);

/// Byte orders of a pixel in a toolkit's image; the fourth byte of a 32-bit pixel is 0xFF.
enum class PixelFormat {
    Rgb24,   ///< R, G, B (an RGB888 image, a PNG row)
    Rgbx32,  ///< R, G, B, 0xFF (a canvas's RGBA, Qt's RGBX8888)
    Bgrx32,  ///< B, G, R, 0xFF (a 32-bit device-independent bitmap)
};

inline constexpr std::size_t bytesPerPixel(PixelFormat format) {
    return format == PixelFormat::Rgb24 ? 3 : 4;
}

/// Writes the client pixels of area (client coordinates) from the window's framebuffer in the
/// format asked for: the area's top-left pixel at out, each row `stride` bytes after the one
/// above. Pixels of area outside the client area are left alone. The cost is proportional to
/// the area.
void copyClientPixels(const Framebuffer& window, const PixelRect& area, PixelFormat format,
                      std::uint8_t* out, std::ptrdiff_t stride);

}  // namespace korzenik
