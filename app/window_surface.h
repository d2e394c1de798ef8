#pragma once
// The drawing surface every host hands the commands: it draws into the window's one retained
// framebuffer and, when the command lets go of it, tells the host the one rectangle of window
// pixels that its drawing touched, whatever the drawing calls were. A host repaints that
// rectangle (or copies it out) and needs no drawing surface of its own.
#include <functional>
#include <memory>

#include "chart/framebuffer.h"

namespace korzenik {

/// Called once when the surface is released, with the rectangle in window coordinates; empty when
/// nothing was drawn.
using SurfaceReleased = std::function<void(const PixelRect& touched)>;

/// A surface over the window's framebuffer, which must outlive it.
std::unique_ptr<DrawingSurface> makeWindowSurface(Framebuffer& window, SurfaceReleased released);

}  // namespace korzenik
