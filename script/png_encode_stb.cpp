// PNG pictures through stb_image_write, for the builds that have no libpng (Windows, the
// browser): 8-bit RGB, the same pixels as the libpng build's indexed pictures.

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include "script/png_writer.h"

namespace korzenik::script {

namespace {

void append(void* context, void* data, int size) {
    auto* png = static_cast<std::vector<unsigned char>*>(context);
    const auto* bytes = static_cast<const unsigned char*>(data);
    png->insert(png->end(), bytes, bytes + size);
}

}  // namespace

bool encodePng(const Framebuffer& image, std::vector<unsigned char>* png, std::string* err) {
    png->clear();
    stbi_write_png_compression_level = 1;  // speed: the pictures are mostly flat colour
    if (stbi_write_png_to_func(append, png, image.width, image.height, 3, image.rgb.data(),
                               image.width * 3) == 0) {
        *err = "the PNG encoder failed";
        return false;
    }
    return true;
}

}  // namespace korzenik::script
