// PNG pictures through libpng: the chart's handful of colours as an indexed picture, compressed
// for speed (the scripted demo spends most of its time here).

#include <png.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "script/png_writer.h"

namespace korzenik::script {

namespace {

/// The image's pixels as palette indices, and the palette (RGB triples); false when the image
/// has more than 256 colours.
bool toPalette(const Framebuffer& image, std::vector<std::uint8_t>* indices,
               std::vector<std::uint8_t>* palette) {
    std::array<std::uint32_t, 256> colours{};
    std::size_t count = 0;
    const std::size_t pixels = image.rgb.size() / 3;
    indices->resize(pixels);
    const std::uint8_t* p = image.rgb.data();
    std::uint32_t last = 0xFFFFFFFF;  // no pixel has this value: the cache starts empty
    std::uint8_t lastIndex = 0;
    for (std::size_t i = 0; i < pixels; ++i, p += 3) {
        const std::uint32_t c =
            std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16;
        if (c != last) {  // runs of one colour are the rule
            std::size_t k = 0;
            while (k < count && colours[k] != c) ++k;
            if (k == count) {
                if (count == colours.size()) return false;
                colours[count++] = c;
            }
            last = c;
            lastIndex = static_cast<std::uint8_t>(k);
        }
        (*indices)[i] = lastIndex;
    }
    palette->clear();
    for (std::size_t k = 0; k < count; ++k) {
        for (int shift : {0, 8, 16})
            palette->push_back(static_cast<std::uint8_t>(colours[k] >> shift));
    }
    return true;
}

}  // namespace

bool encodePng(const Framebuffer& image, std::vector<unsigned char>* png, std::string* err) {
    png_image header{};
    header.version = PNG_IMAGE_VERSION;
    header.width = static_cast<png_uint_32>(image.width);
    header.height = static_cast<png_uint_32>(image.height);
    header.flags = PNG_IMAGE_FLAG_FAST;
    std::vector<std::uint8_t> indices, palette;
    const void* pixels = image.rgb.data();
    const void* colormap = nullptr;
    if (toPalette(image, &indices, &palette)) {
        header.format = PNG_FORMAT_RGB_COLORMAP;
        header.colormap_entries = static_cast<png_uint_32>(palette.size() / 3);
        pixels = indices.data();
        colormap = palette.data();
    } else {
        header.format = PNG_FORMAT_RGB;
    }
    // One pass when the buffer is big enough, which the bound guarantees.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(header);
    png->resize(size);
    const bool written =
        png_image_write_to_memory(&header, png->data(), &size, 0, pixels, 0, colormap) != 0;
    if (!written) *err = header.message;
    png_image_free(&header);
    png->resize(written ? size : 0);
    return written;
}

}  // namespace korzenik::script
