// An operation's number is painted into the owners image as if it were a colour: 24 bits, so up
// to 0xFFFFFE operations, 0xFFFFFF marking a pixel nothing painted. The record is cleaned up each
// time it has doubled since the last clean-up, which then holds at most one operation a pixel:
// a window's record stays far below that limit, and the clean-ups cost a constant amount of work
// an operation on average.

#include "chart/drawing_record.h"

#include <algorithm>

namespace korzenik {

namespace {

constexpr Colour kNobody = 0xFFFFFF;
/// Operations added before the first clean-up: a few charts' worth.
constexpr std::size_t kFirstCleanUp = 4096;

}  // namespace

DrawingRecord::DrawingRecord(std::int32_t width, std::int32_t height)
    : m_owners(width, height, kNobody), m_cleanUpAt(kFirstCleanUp) {}

void DrawingRecord::fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                                  Colour colour) {
    add({true, x, y, cx, cy, colour});
}

void DrawingRecord::selectPen(Colour colour) { m_pen = colour; }

void DrawingRecord::deletePen() { m_pen = kBlack; }

void DrawingRecord::moveTo(std::int32_t x, std::int32_t y) {
    m_x = x;
    m_y = y;
}

void DrawingRecord::lineTo(std::int32_t x, std::int32_t y) {
    add({false, m_x, m_y, x, y, m_pen});
    m_x = x;
    m_y = y;
}

void DrawingRecord::add(const Operation& operation) {
    const auto number = static_cast<Colour>(m_operations.size());
    m_operations.push_back(operation);
    if (operation.fill) {
        FramebufferSurface(m_owners).fillSolidRect(operation.x0, operation.y0, operation.x1,
                                                   operation.y1, number);
    } else {
        drawLine(m_owners, operation.x0, operation.y0, operation.x1, operation.y1, number);
    }
    if (m_operations.size() >= m_cleanUpAt) cleanUp();
}

std::vector<bool> DrawingRecord::showing() const {
    std::vector<bool> shows(m_operations.size());
    for (std::int32_t y = 0; y < m_owners.height; ++y) {
        for (std::int32_t x = 0; x < m_owners.width; ++x) {
            if (const Colour owner = m_owners.pixel(x, y); owner != kNobody) shows[owner] = true;
        }
    }
    return shows;
}

void DrawingRecord::cleanUp() {
    const std::vector<bool> shows = showing();
    std::vector<Colour> renumbered(m_operations.size(), kNobody);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_operations.size(); ++i) {
        if (!shows[i]) continue;
        renumbered[i] = static_cast<Colour>(kept);
        m_operations[kept++] = m_operations[i];
    }
    m_operations.resize(kept);
    for (std::int32_t y = 0; y < m_owners.height; ++y) {
        for (std::int32_t x = 0; x < m_owners.width; ++x) {
            if (const Colour owner = m_owners.pixel(x, y); owner != kNobody) {
                m_owners.setPixel(x, y, renumbered[owner]);
            }
        }
    }
    m_cleanUpAt = std::max(kFirstCleanUp, 2 * kept);
}

void DrawingRecord::replay(DrawingSurface& surface) const {
    const std::vector<bool> shows = showing();
    bool penSelected = false;
    Colour pen = kBlack;
    bool placed = false;  // whether the surface's position is (x, y)
    std::int32_t x = 0;
    std::int32_t y = 0;
    for (std::size_t i = 0; i < m_operations.size(); ++i) {
        const Operation& o = m_operations[i];
        if (!shows[i]) continue;
        if (o.fill) {
            surface.fillSolidRect(o.x0, o.y0, o.x1, o.y1, o.colour);
            continue;
        }
        if (!penSelected || pen != o.colour) {
            if (penSelected) surface.deletePen();
            surface.selectPen(o.colour);
            penSelected = true;
            pen = o.colour;
        }
        if (!placed || x != o.x0 || y != o.y0) surface.moveTo(o.x0, o.y0);
        surface.lineTo(o.x1, o.y1);
        placed = true;
        x = o.x1;
        y = o.y1;
    }
    if (penSelected) surface.deletePen();
}

}  // namespace korzenik
