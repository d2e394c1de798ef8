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

/// A call that paints: a filled rectangle (x, y, cx, cy) or a segment from (x, y) to (cx, cy).
struct SurfaceCall {
    enum class Op { FillSolidRect, Segment };
    Op op = Op::Segment;
    std::int32_t x = 0, y = 0, cx = 0, cy = 0;
    Colour colour = 0;

    bool operator==(const SurfaceCall&) const = default;

    static SurfaceCall segment(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                               Colour c = kBlack) {
        return {Op::Segment, x0, y0, x1, y1, c};
    }
};

using Calls = std::vector<SurfaceCall>;

inline std::ostream& operator<<(std::ostream& os, const SurfaceCall& c) {
    return os << (c.op == SurfaceCall::Op::Segment ? "segment(" : "fill(") << c.x << ", " << c.y
              << ", " << c.cx << ", " << c.cy << ", 0x" << std::hex << c.colour << std::dec << ")";
}

/// Records what it is asked to paint, a polyline as its segments.
class RecordingSurface : public DrawingSurface {
public:
    Calls calls;

    void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                       Colour colour) override {
        calls.push_back({SurfaceCall::Op::FillSolidRect, x, y, cx, cy, colour});
    }
    void drawSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                     Colour colour) override {
        calls.push_back(SurfaceCall::segment(x0, y0, x1, y1, colour));
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

/// A black mark of the axes.
inline void appendMark(Calls& calls, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                       std::int32_t y1) {
    calls.push_back(SurfaceCall::segment(x0, y0, x1, y1));
}

}  // namespace korzenik
