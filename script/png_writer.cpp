#include "script/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korzenik::script {

bool writePng(const std::string& path, const Framebuffer& image, std::string* err) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *err = std::strerror(errno);
        return false;
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    // The framebuffer is already packed 8-bit RGB, rows top to bottom: the layout libpng expects.
    const bool written = png_image_write_to_stdio(&png, file, 0, image.rgb.data(), 0, nullptr) != 0;
    if (!written) *err = png.message;
    png_image_free(&png);
    const bool flushedAndClosed = std::fclose(file) == 0;
    if (written && !flushedAndClosed) *err = std::strerror(errno);
    return written && flushedAndClosed;
}

}  // namespace korzenik::script
