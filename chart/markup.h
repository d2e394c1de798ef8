#pragma once
// What the documents the tool writes (the SVG drawing, the web page) need of a colour and of a
// text: written once, so that a drawing and a page say them alike.
#include <string>
#include <string_view>

#include "chart/drawing_surface.h"

namespace korzenik {

/// The colour as SVG and CSS write it: "#rrggbb" in lower case.
std::string colourHex(Colour colour);

/// Text made safe inside an element or a quoted attribute: &, <, > and " as entities.
std::string escapeMarkup(std::string_view text);

}  // namespace korzenik
