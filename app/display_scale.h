#pragma once
// How the window's pixels meet a screen's, the same for every window: the one scale at which a
// window shows its pixels, and which device pixels show which window pixel.
//
// A screen whose device pixels are smaller than the pixels the window was drawn for (a monitor at
// 125 %, 150 % or 175 %, a phone, a zoomed page) shows the window at a ratio that is seldom a
// whole number. The chart's lines are one window pixel wide, so the window is sampled, never
// blended: each device pixel shows the window pixel under its centre, in that pixel's own colour,
// and with at least one device pixel a window pixel no pixel, and no line, is dropped. At a whole
// number k every window pixel is a k x k block.
#include <cstddef>
#include <cstdint>

#include "app/window.h"
#include "chart/framebuffer.h"

namespace korzenik {

/// Device pixels a window pixel, for a window of width x height pixels on a screen whose ratio
/// is `ratio` device pixels to the pixel the window was drawn for (a monitor's scale, a page's
/// device pixel ratio), with roomWidth x roomHeight device pixels free for it (infinite where
/// the window may run on): the screen's own ratio where the room holds the window at it, else
/// as much as the room holds, and never less than one. A ratio that is not a finite number
/// counts as one.
double displayScale(double ratio, double roomWidth, double roomHeight, std::int32_t width,
                    std::int32_t height);

/// The window pixel that device pixel `device` shows at `scale`, along either axis from the
/// window's origin: the one under the device pixel's centre. (The scale is taken to the nearest
/// 65536th, so that the sampling is worked out in whole numbers, the same everywhere.)
std::int32_t shownPixel(double scale, std::int32_t device);

/// The first device pixel that shows window pixel `pixel` at `scale`: window pixel p shows on
/// the device pixels from deviceEdge(p) up to but not including deviceEdge(p + 1), at least one
/// of them when the scale is at least one. deviceEdge(n) is the length of n pixels.
std::int32_t deviceEdge(double scale, std::int32_t pixel);

/// The device pixels that show a rectangle of window pixels.
PixelRect deviceRect(double scale, const PixelRect& window);

/// Writes the client area as the device shows it at `scale`: the device pixels of area (client
/// coordinates at that scale, the client's corner at (0, 0)), each in the colour of the client
/// pixel it shows, in the format asked for: the area's top-left pixel at out, each row `stride`
/// bytes after the one above. Device pixels of area that show no client pixel are left alone.
/// The cost is proportional to the area.
void copyScaledClientPixels(const Framebuffer& window, double scale, const PixelRect& area,
                            PixelFormat format, std::uint8_t* out, std::ptrdiff_t stride);

}  // namespace korzenik
