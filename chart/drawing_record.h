#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "chart/drawing_surface.h"
#include "chart/framebuffer.h"

namespace korzenik {

/// The drawing on a window's pixels kept as the operations that made it, so that it can be drawn
/// again on another surface (as vector paths, say). Only the operations that still show are
/// kept: one whose every pixel a later one painted over is let go of, so a wipe drops what it
/// covers and the record never holds more operations than the window has pixels, however many
/// presses draw over one another.
///
/// Which pixels an operation paints is the framebuffer's own business: the record keeps an image
/// of the window's size in which every operation paints its number instead of its colour, with
/// the very rasteriser that paints the window. It paints them there only when it must know what
/// still shows, to replay or to clean up: recording an operation costs its copy alone, so a
/// drawing that is never replayed costs next to nothing beside the window's own.
class DrawingRecord : public DrawingSurface {
public:
    DrawingRecord(std::int32_t width, std::int32_t height);
    DrawingRecord(const DrawingRecord&) = delete;
    DrawingRecord& operator=(const DrawingRecord&) = delete;

    void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                       Colour colour) override;
    void drawSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                     Colour colour) override;

    /// Draws every operation that still shows onto surface, oldest first, each line in its
    /// colour: on a framebuffer of the window's size, exactly the pixels the recorded operations
    /// painted.
    void replay(DrawingSurface& surface) const;

    /// A surface that draws everything on window (a window's surface, which it owns) and records
    /// it here too. A host that records its window's drawing hands out these; the record must
    /// outlive them.
    std::unique_ptr<DrawingSurface> recordThrough(std::unique_ptr<DrawingSurface> window);

    /// How many operations are kept now, those that no longer show included until the next
    /// clean-up.
    std::size_t size() const { return m_operations.size(); }

private:
    struct Operation {
        bool fill = false;
        std::int32_t x0 = 0, y0 = 0;
        std::int32_t x1 = 0, y1 = 0;  ///< a line's end; a fill's width and height
        Colour colour = kBlack;
    };

    void add(const Operation& operation);
    /// Paints the operations not yet painted into the owners image, making it first if need be.
    void paintOwners() const;
    /// For each kept operation, whether some pixel of the window still shows it.
    std::vector<bool> showing() const;
    /// Lets go of the operations that no longer show and renumbers the others.
    void cleanUp();

    std::vector<Operation> m_operations;
    std::int32_t m_width;
    std::int32_t m_height;
    // Brought up to date when asked, by replay too: what still shows is the record's own
    // business, whoever asks.
    /// Each pixel: the number of the operation that painted it last; made on first need.
    mutable std::optional<Framebuffer> m_owners;
    mutable std::size_t m_painted = 0;  ///< operations painted into m_owners so far
    std::size_t m_cleanUpAt;
};

}  // namespace korzenik
