#include "app/window_surface.h"

#include <utility>

namespace korzenik {

namespace {

class WindowSurface : public FramebufferSurface {
public:
    WindowSurface(Framebuffer& window, SurfaceReleased released, DrawingSurface* copy)
        : FramebufferSurface(window), m_released(std::move(released)), m_copy(copy) {
        if (m_copy) {
            m_copy->deletePen();
            m_copy->moveTo(0, 0);
        }
    }
    ~WindowSurface() override {
        if (m_released) m_released(touched());
    }
    WindowSurface(const WindowSurface&) = delete;
    WindowSurface& operator=(const WindowSurface&) = delete;

    void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                       Colour colour) override {
        FramebufferSurface::fillSolidRect(x, y, cx, cy, colour);
        if (m_copy) m_copy->fillSolidRect(x, y, cx, cy, colour);
    }
    void selectPen(Colour colour) override {
        FramebufferSurface::selectPen(colour);
        if (m_copy) m_copy->selectPen(colour);
    }
    void deletePen() override {
        FramebufferSurface::deletePen();
        if (m_copy) m_copy->deletePen();
    }
    void moveTo(std::int32_t x, std::int32_t y) override {
        FramebufferSurface::moveTo(x, y);
        if (m_copy) m_copy->moveTo(x, y);
    }
    void lineTo(std::int32_t x, std::int32_t y) override {
        FramebufferSurface::lineTo(x, y);
        if (m_copy) m_copy->lineTo(x, y);
    }
    void polylineTo(const Point* points, std::size_t count) override {
        FramebufferSurface::polylineTo(points, count);
        if (m_copy) m_copy->polylineTo(points, count);
    }

private:
    SurfaceReleased m_released;
    DrawingSurface* m_copy;
};

}  // namespace

std::unique_ptr<DrawingSurface> makeWindowSurface(Framebuffer& window, SurfaceReleased released,
                                                  DrawingSurface* copy) {
    return std::make_unique<WindowSurface>(window, std::move(released), copy);
}

}  // namespace korzenik
