#pragma once
#include <cstdint>
#include <vector>

#include "chart/drawing_surface.h"

namespace korzenik {

/// An RGB image, 3 bytes a pixel, rows top to bottom.
struct Framebuffer {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;

    Framebuffer(std::int32_t w, std::int32_t h, Colour fill);
    /// The pixel's colour as 0x00BBGGRR; (x, y) must lie inside.
    Colour pixel(std::int32_t x, std::int32_t y) const;
    /// Sets a pixel; a pixel outside the image is dropped.
    void setPixel(std::int32_t x, std::int32_t y, Colour colour);
};

/// DrawingSurface over a Framebuffer: each surface drawing into the one retained window image.
class FramebufferSurface : public DrawingSurface {
public:
    explicit FramebufferSurface(Framebuffer& target) : m_target(target) {}
    void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                       Colour colour) override;
    void selectPen(Colour colour) override;
    void deletePen() override;
    void moveTo(std::int32_t x, std::int32_t y) override;
    void lineTo(std::int32_t x, std::int32_t y) override;

private:
    Framebuffer& m_target;
    Colour m_pen = kBlack;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
};

}  // namespace korzenik
