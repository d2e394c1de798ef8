#pragma once
// A DrawingSurface that only records what it is asked to do, for checking drawing calls.
#include <cstdint>
#include <ostream>
#include <vector>

#include "chart/drawing_surface.h"

namespace korzenik {

struct SurfaceCall {
    enum class Op { FillSolidRect, SelectPen, DeletePen, MoveTo, LineTo };
    Op op = Op::MoveTo;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    Colour colour = 0;

    bool operator==(const SurfaceCall&) const = default;

    static SurfaceCall fill(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                            Colour c) {
        return {Op::FillSolidRect, x, y, cx, cy, c};
    }
    static SurfaceCall pen(Colour c) { return {Op::SelectPen, 0, 0, 0, 0, c}; }
    static SurfaceCall penDeleted() { return {Op::DeletePen, 0, 0, 0, 0, 0}; }
    static SurfaceCall move(std::int32_t x, std::int32_t y) { return {Op::MoveTo, x, y, 0, 0, 0}; }
    static SurfaceCall line(std::int32_t x, std::int32_t y) { return {Op::LineTo, x, y, 0, 0, 0}; }
};

inline std::ostream& operator<<(std::ostream& os, const SurfaceCall& c) {
    switch (c.op) {
        case SurfaceCall::Op::FillSolidRect:
            return os << "fillSolidRect(" << c.x << ", " << c.y << ", " << c.cx << ", " << c.cy
                      << ", 0x" << std::hex << c.colour << std::dec << ")";
        case SurfaceCall::Op::SelectPen:
            return os << "selectPen(0x" << std::hex << c.colour << std::dec << ")";
        case SurfaceCall::Op::DeletePen:
            return os << "deletePen()";
        case SurfaceCall::Op::MoveTo:
            return os << "moveTo(" << c.x << ", " << c.y << ")";
        case SurfaceCall::Op::LineTo:
            return os << "lineTo(" << c.x << ", " << c.y << ")";
    }
    return os;
}

class RecordingSurface : public DrawingSurface {
public:
    std::vector<SurfaceCall> calls;

    void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                       Colour colour) override {
        calls.push_back(SurfaceCall::fill(x, y, cx, cy, colour));
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

}  // namespace korzenik
