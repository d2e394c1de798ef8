#pragma once
// The window's picture as an SVG drawing, for handouts printed at any size.
#include <string>

#include "app/dialog_host.h"
#include "chart/drawing_record.h"

namespace korzenik::script {

/// The SVG document of the window: the drawing that the record holds (face, backdrop, axes,
/// ticks, curve, chords and verticals, as vector paths in the window's pixel coordinates) and
/// the four axis labels' texts in their places.
std::string windowSvg(const DrawingRecord& drawing, const DialogHost& dialog);

/// windowSvg, then replaceFile.
bool writeSvg(const std::string& path, const DrawingRecord& drawing, const DialogHost& dialog,
              std::string* err);

}  // namespace korzenik::script
