// PNG pictures through libpng. The scripted demo spends most of its time here, so the chart's
// handful of colours are written as a palette picture of 4 bits a pixel, the rows packed here
// and handed over unfiltered, and compressed for speed. A picture of more than 16 colours (no
// chart has that many) is written as 8-bit RGB.

#include <png.h>
#include <zlib.h>

#include <array>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include "script/png_writer.h"

namespace korzenik::script {

namespace {

/// A picture as libpng takes it: rows of packed palette indices or of RGB.
struct Rows {
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB;
    std::vector<png_color> palette;
    std::vector<std::uint8_t> packed;  ///< palette pictures: every row, packed
    std::size_t stride = 0;
};

/// Looks colours up in a palette of at most 16, remembering the last one: runs of one colour
/// are the rule, so most pixels repeat the one before.
class PaletteMap {
public:
    /// The colour's index, or false when the palette already holds 16 others.
    bool index(const std::uint8_t* rgb, std::uint8_t* index) {
        const std::uint32_t c = rgb[0] | std::uint32_t{rgb[1]} << 8 | std::uint32_t{rgb[2]} << 16;
        if (c != m_last) {
            std::size_t k = 0;
            while (k < m_count && m_colours[k] != c) ++k;
            if (k == m_count) {
                if (m_count == m_colours.size()) return false;
                m_colours[m_count++] = c;
            }
            m_last = c;
            m_lastIndex = static_cast<std::uint8_t>(k);
            // Eight pixels of the last colour are 24 bytes: three 64-bit words.
            std::array<std::uint8_t, 24> run;
            for (std::size_t i = 0; i < run.size(); i += 3) std::memcpy(&run[i], rgb, 3);
            std::memcpy(m_run.data(), run.data(), run.size());
        }
        *index = m_lastIndex;
        return true;
    }
    /// Whether the eight pixels at rgb all have the last colour looked up (false before the
    /// first one: the run starts out empty, not black).
    bool lastRunOfEight(const std::uint8_t* rgb) const {
        if (m_count == 0) return false;
        std::array<std::uint64_t, 3> words;
        std::memcpy(words.data(), rgb, 24);
        return words == m_run;
    }
    std::uint8_t lastIndex() const { return m_lastIndex; }
    std::size_t size() const { return m_count; }
    std::uint32_t colour(std::size_t k) const { return m_colours[k]; }

private:
    std::array<std::uint32_t, 16> m_colours{};
    std::size_t m_count = 0;
    std::uint32_t m_last = 0xFFFFFFFF;  // no pixel has this value: the first one is looked up
    std::uint8_t m_lastIndex = 0;
    std::array<std::uint64_t, 3> m_run{};
};

/// The image's rows as palette indices, packed to 4 bits a pixel; false when the image has more
/// than 16 colours. A stretch of eight pixels of the last colour is packed at once.
bool toPalette(const Framebuffer& image, Rows* rows) {
    const auto width = static_cast<std::size_t>(image.width);
    const auto height = static_cast<std::size_t>(image.height);
    rows->stride = (width + 1) / 2;
    rows->packed.resize(rows->stride * height);
    PaletteMap map;
    const std::uint8_t* p = image.rgb.data();
    for (std::size_t y = 0; y < height; ++y) {
        std::uint8_t* out = rows->packed.data() + y * rows->stride;
        std::size_t x = 0;
        while (x < width) {
            if (x % 2 == 0 && x + 8 <= width && map.lastRunOfEight(p)) {
                const std::uint32_t four = (map.lastIndex() * 0x11u) * 0x01010101u;
                std::memcpy(out + x / 2, &four, 4);
                x += 8, p += 24;
                continue;
            }
            std::uint8_t index = 0;
            if (!map.index(p, &index)) return false;
            if (x % 2 == 0) {
                out[x / 2] = static_cast<std::uint8_t>(index << 4);
            } else {
                out[x / 2] = static_cast<std::uint8_t>(out[x / 2] | index);
            }
            ++x, p += 3;
        }
    }
    for (std::size_t k = 0; k < map.size(); ++k) {
        const std::uint32_t c = map.colour(k);
        rows->palette.push_back({static_cast<png_byte>(c), static_cast<png_byte>(c >> 8),
                                 static_cast<png_byte>(c >> 16)});
    }
    rows->colourType = PNG_COLOR_TYPE_PALETTE;
    rows->bitDepth = 4;
    return true;
}

struct Output {
    std::vector<unsigned char>* png;
    const char* failure = nullptr;
};

void append(png_structp writer, png_bytep data, png_size_t size) {
    auto* out = static_cast<Output*>(png_get_io_ptr(writer));
    try {
        out->png->insert(out->png->end(), data, data + size);
    } catch (const std::bad_alloc&) {
        png_error(writer, "out of memory");
    }
}

void flush(png_structp) {}

// libpng's warnings go to standard error by default, before the program's own message; the
// program reports failures itself.
void ignoreWarning(png_structp, png_const_charp) {}

void fail(png_structp writer, png_const_charp message) {
    static_cast<Output*>(png_get_error_ptr(writer))->failure = message;
    std::longjmp(png_jmpbuf(writer), 1);
}

/// The libpng calls, apart: libpng reports errors by a long jump, which must not cross objects
/// with destructors.
bool writeRows(png_structp writer, png_infop info, const Framebuffer& image, const Rows& rows,
               png_bytep* rowPointers) {
    if (setjmp(png_jmpbuf(writer))) return false;
    png_set_IHDR(writer, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), rows.bitDepth, rows.colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (rows.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(writer, info, rows.palette.data(), static_cast<int>(rows.palette.size()));
    }
    png_set_filter(writer, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_check_for_invalid_index(writer, 0);  // every index is one of the palette's
    // Runs of one colour along the rows are what there is to compress: zlib's run-length
    // strategy finds them at its fastest level, and no filter would make them longer.
    png_set_compression_level(writer, Z_BEST_SPEED);
    png_set_compression_strategy(writer, Z_RLE);
    png_set_rows(writer, info, rowPointers);
    png_write_png(writer, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

}  // namespace

bool encodePng(const Framebuffer& image, std::vector<unsigned char>* png, std::string* err) {
    png->clear();
    Rows rows;
    std::uint8_t* first = nullptr;
    if (toPalette(image, &rows)) {
        first = rows.packed.data();
    } else {
        rows.stride = static_cast<std::size_t>(image.width) * 3;
        first = const_cast<std::uint8_t*>(image.rgb.data());  // libpng only reads the rows
    }
    std::vector<png_bytep> rowPointers(static_cast<std::size_t>(image.height));
    for (std::size_t y = 0; y < rowPointers.size(); ++y) rowPointers[y] = first + y * rows.stride;

    Output out{png};
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, fail, ignoreWarning);
    png_infop info = writer ? png_create_info_struct(writer) : nullptr;
    bool written = false;
    if (info) {
        png_set_write_fn(writer, &out, append, flush);
        written = writeRows(writer, info, image, rows, rowPointers.data());
    }
    png_destroy_write_struct(&writer, &info);
    if (!written) {
        *err = out.failure ? out.failure : "out of memory";
        png->clear();
    }
    return written;
}

}  // namespace korzenik::script
