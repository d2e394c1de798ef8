#pragma once
#include <string>

#include "chart/framebuffer.h"

namespace korzenik::script {

/// Writes the image as an 8-bit RGB PNG file. On failure returns false and says why in *err
/// (the file may then be missing or incomplete).
bool writePng(const std::string& path, const Framebuffer& image, std::string* err);

}  // namespace korzenik::script
