#pragma once
// Where a window's client area shows its framebuffer, for the checks that hold a real window to
// the scripted session's picture: every client pixel that no control paints over. Read from the
// control table, so a control that a window puts elsewhere than the table says shows up as
// pixels that differ from the picture.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/control_table.h"
#include "app/window.h"

namespace korzenik {

/// The rows a group box may paint at its top (its caption) and the columns and rows of its
/// frame on the other sides; a toolkit's box may paint less.
inline constexpr std::int32_t kGroupCaptionBand = 20;
inline constexpr std::int32_t kGroupFrameBand = 3;

/// One flag a client pixel, row by row: true where the face shows. A group box covers its
/// caption band and its frame, the chart's backdrop nothing (the window paints it from the
/// framebuffer), a drop-down the closed box's top dropDownHeight rows where the toolkit's height
/// is given, else its whole rectangle (list included), every other control its whole rectangle.
inline std::vector<bool> faceShows(const res::DialogTemplate& dialog,
                                   std::int32_t dropDownHeight = 0) {
    std::vector<bool> shows(static_cast<std::size_t>(kClientWidth) * kClientHeight, true);
    const auto cover = [&](std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom) {
        for (std::int32_t y = std::max(top, 0); y < std::min(bottom, kClientHeight); ++y) {
            for (std::int32_t x = std::max(left, 0); x < std::min(right, kClientWidth); ++x) {
                shows[static_cast<std::size_t>(y) * kClientWidth + static_cast<std::size_t>(x)] =
                    false;
            }
        }
    };
    for (const res::ControlTemplate& row : dialog.controls) {
        const ControlPlan c = controlPlan(row);
        const PixelRect& r = c.rect;
        if (c.kind == ControlKind::WhiteRect) continue;
        if (c.kind == ControlKind::DropDown && dropDownHeight > 0) {
            cover(r.left, r.top, r.right, r.top + dropDownHeight);
            continue;
        }
        if (c.kind == ControlKind::GroupBox) {
            cover(r.left, r.top, r.right, r.top + kGroupCaptionBand);
            cover(r.left, r.top, r.left + kGroupFrameBand, r.bottom);
            cover(r.right - kGroupFrameBand, r.top, r.right, r.bottom);
            cover(r.left, r.bottom - kGroupFrameBand, r.right, r.bottom);
            continue;
        }
        cover(r.left, r.top, r.right, r.bottom);
    }
    return shows;
}

}  // namespace korzenik
