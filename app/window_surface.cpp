#include "app/window_surface.h"

#include <utility>

namespace korzenik {

namespace {

class WindowSurface final : public FramebufferSurface {
public:
    WindowSurface(Framebuffer& window, SurfaceReleased released)
        : FramebufferSurface(window), m_released(std::move(released)) {}
    ~WindowSurface() override {
        if (m_released) m_released(touched());
    }
    WindowSurface(const WindowSurface&) = delete;
    WindowSurface& operator=(const WindowSurface&) = delete;

private:
    SurfaceReleased m_released;
};

}  // namespace

std::unique_ptr<DrawingSurface> makeWindowSurface(Framebuffer& window, SurfaceReleased released) {
    return std::make_unique<WindowSurface>(window, std::move(released));
}

}  // namespace korzenik
