#pragma once
// Geometry of the main window in pixels, as the chart's fixed rectangle expects it.
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

}  // namespace korzenik
