#include "script/png_writer.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

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

bool replaceFile(const std::string& path, const std::vector<unsigned char>& bytes,
                 std::string* err) {
    // A name of our own beside the target: same folder, so the rename never crosses a file system.
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        *err = std::strerror(errno);
        return false;
    }
    std::size_t done = 0;
    errno = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    int error = done == bytes.size() ? 0 : (errno != 0 ? errno : EIO);
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        *err = std::strerror(error);
        return false;
    }
    return true;
}

bool writePng(const std::string& path, const Framebuffer& image, std::string* err) {
    std::vector<unsigned char> png;
    return encodePng(image, &png, err) && replaceFile(path, png, err);
}

}  // namespace korzenik::script
