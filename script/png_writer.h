#pragma once
// The window's pixels as a PNG picture.
#include <string>
#include <vector>

#include "chart/framebuffer.h"

namespace korzenik::script {

/// The image as a PNG file's bytes, compressed for speed: with libpng an indexed picture with a
/// palette of its colours when it has at most 16 of them (a chart has a handful), 8-bit RGB
/// otherwise; with stb_image_write always 8-bit RGB. False, saying why in *err, when the encoder
/// fails.
bool encodePng(const Framebuffer& image, std::vector<unsigned char>* png, std::string* err);

/// encodePng, then replaceFile.
bool writePng(const std::string& path, const Framebuffer& image, std::string* err);

}  // namespace korzenik::script
