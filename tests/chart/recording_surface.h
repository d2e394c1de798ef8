#pragma once
// Helpers shared by the chart tests: a DrawingSurface that only records what it is asked to do,
// and the scale and window image the drawing functions work on.
#include <cstdint>
#include <ostream>
#include <vector>

#include "chart/chart_scale.h"
#include "chart/drawing_surface.h"
#include "chart/framebuffer.h"

namespace korzenik {

struct SurfaceCall {
    enum class Op { FillSolidRect, SelectPen, DeletePen, MoveTo, LineTo };
    Op op = Op::MoveTo;
    std::int32_t x = 0, y = 0, cx = 0, cy = 0;
    Colour colour = 0;

    bool operator==(const SurfaceCall&) const = default;

    static SurfaceCall pen(Colour c) { return {Op::SelectPen, 0, 0, 0, 0, c}; }
    static SurfaceCall penDeleted() { return {Op::DeletePen, 0, 0, 0, 0, 0}; }
    static SurfaceCall move(std::int32_t x, std::int32_t y) { return {Op::MoveTo, x, y, 0, 0, 0}; }
    static SurfaceCall line(std::int32_t x, std::int32_t y) { return {Op::LineTo, x, y, 0, 0, 0}; }
};

using Calls = std::vector<SurfaceCall>;

inline std::ostream& operator<<(std::ostream& os, const SurfaceCall& c) {
    static const char* const names[] = {"fill", "pen", "deletePen", "moveTo", "lineTo"};
    return os << names[static_cast<int>(c.op)] << "(" << c.x << ", " << c.y << ", " << c.cx << ", "
              << c.cy << ", 0x" << std::hex << c.colour << std::dec << ")";
}

class RecordingSurface : public DrawingSurface {
public:
    Calls calls;

    void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                       Colour colour) override {
        calls.push_back({SurfaceCall::Op::FillSolidRect, x, y, cx, cy, colour});
    }
    void selectPen(Colour colour) override { calls.push_back(SurfaceCall::pen(colour)); }
    void deletePen() override { calls.push_back(SurfaceCall::penDeleted()); }
    void moveTo(std::int32_t x, std::int32_t y) override {
        calls.push_back(SurfaceCall::move(x, y));
    }
    void lineTo(std::int32_t x, std::int32_t y) override {
        calls.push_back(SurfaceCall::line(x, y));
    }
};

inline ChartScale scaleOf(float start, float end, FunctionIndex k) {
    int flag = 0;
    return computeChartScale(start, end, k, flag);
}

/// The calls that draw(surface) makes.
template <typename Draw>
Calls recorded(Draw draw) {
    RecordingSurface surface;
    draw(surface);
    return surface.calls;
}

/// What draw(surface) paints on a white window image.
template <typename Draw>
Framebuffer paint(Draw draw, Colour background = kWhite) {
    Framebuffer fb(802, 566, background);
    FramebufferSurface surface(fb);
    draw(surface);
    return fb;
}

inline void appendMark(Calls& calls, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                       std::int32_t y1) {
    calls.push_back(SurfaceCall::move(x0, y0));
    calls.push_back(SurfaceCall::line(x1, y1));
}

}  // namespace korzenik
