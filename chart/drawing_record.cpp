// An operation's number is painted into the owners image as if it were a colour: 24 bits, so up
// to 0xFFFFFE operations, 0xFFFFFF marking a pixel nothing painted. The record is cleaned up each
// time it has doubled since the last clean-up, which then holds at most one operation a pixel:
// a window's record stays far below that limit. Each operation is painted into the image once,
// at the first clean-up or replay after it was drawn, never while it is drawn: a press pays for
// its copy alone. A clean-up reads the whole image; it waits for so many operations
// (kFirstCleanUp at least) that on average it costs an operation a few pixels' work, less than
// the operation paints.

#include "chart/drawing_record.h"

#include <algorithm>
#include <utility>

namespace korzenik {

namespace {

constexpr Colour kNobody = 0xFFFFFF;
/// Operations added before the first clean-up: about a hundred charts' worth.
constexpr std::size_t kFirstCleanUp = 1 << 16;

/// The number painted in the owners image at byte offset at.
Colour ownerAt(const std::vector<std::uint8_t>& rgb, std::size_t at) {
    return Colour{rgb[at]} | Colour{rgb[at + 1]} << 8 | Colour{rgb[at + 2]} << 16;
}

/// Each call on the window's surface and on the record, in that order.
class RecordedSurface final : public DrawingSurface {
public:
    RecordedSurface(std::unique_ptr<DrawingSurface> window, DrawingRecord& record)
        : m_window(std::move(window)), m_record(record) {}

    void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                       Colour colour) override {
        m_window->fillSolidRect(x, y, cx, cy, colour);
        m_record.fillSolidRect(x, y, cx, cy, colour);
    }
    void drawSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                     Colour colour) override {
        m_window->drawSegment(x0, y0, x1, y1, colour);
        m_record.drawSegment(x0, y0, x1, y1, colour);
    }
    void drawPolyline(Point from, const Point* points, std::size_t count, Colour colour) override {
        m_window->drawPolyline(from, points, count, colour);
        m_record.drawPolyline(from, points, count, colour);
    }

private:
    std::unique_ptr<DrawingSurface> m_window;
    DrawingRecord& m_record;
};

}  // namespace

DrawingRecord::DrawingRecord(std::int32_t width, std::int32_t height)
    : m_width(width), m_height(height), m_cleanUpAt(kFirstCleanUp) {}

void DrawingRecord::fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                                  Colour colour) {
    add({true, x, y, cx, cy, colour});
}

void DrawingRecord::drawSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                                Colour colour) {
    add({false, x0, y0, x1, y1, colour});
}

void DrawingRecord::add(const Operation& operation) {
    m_operations.push_back(operation);
    if (m_operations.size() >= m_cleanUpAt) cleanUp();
}

void DrawingRecord::paintOwners() const {
    if (!m_owners) m_owners.emplace(m_width, m_height, kNobody);
    Framebuffer& owners = *m_owners;
    for (; m_painted < m_operations.size(); ++m_painted) {
        const Operation& o = m_operations[m_painted];
        const auto number = static_cast<Colour>(m_painted);
        if (o.fill) {
            FramebufferSurface(owners).fillSolidRect(o.x0, o.y0, o.x1, o.y1, number);
        } else {
            drawLine(owners, o.x0, o.y0, o.x1, o.y1, number);
        }
    }
}

std::vector<bool> DrawingRecord::showing() const {
    paintOwners();
    std::vector<bool> shows(m_operations.size());
    const std::vector<std::uint8_t>& rgb = m_owners->rgb;
    for (std::size_t at = 0; at < rgb.size(); at += 3) {
        if (const Colour owner = ownerAt(rgb, at); owner != kNobody) shows[owner] = true;
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
    m_painted = kept;
    std::vector<std::uint8_t>& rgb = m_owners->rgb;
    for (std::size_t at = 0; at < rgb.size(); at += 3) {
        const Colour owner = ownerAt(rgb, at);
        if (owner == kNobody) continue;
        const Colour now = renumbered[owner];
        rgb[at] = static_cast<std::uint8_t>(now);
        rgb[at + 1] = static_cast<std::uint8_t>(now >> 8);
        rgb[at + 2] = static_cast<std::uint8_t>(now >> 16);
    }
    m_cleanUpAt = std::max(kFirstCleanUp, 2 * kept);
}

std::unique_ptr<DrawingSurface> DrawingRecord::recordThrough(
    std::unique_ptr<DrawingSurface> window) {
    return std::make_unique<RecordedSurface>(std::move(window), *this);
}

void DrawingRecord::replay(DrawingSurface& surface) const {
    const std::vector<bool> shows = showing();
    for (std::size_t i = 0; i < m_operations.size(); ++i) {
        const Operation& o = m_operations[i];
        if (!shows[i]) continue;
        if (o.fill) {
            surface.fillSolidRect(o.x0, o.y0, o.x1, o.y1, o.colour);
        } else {
            surface.drawSegment(o.x0, o.y0, o.x1, o.y1, o.colour);
        }
    }
}

}  // namespace korzenik
