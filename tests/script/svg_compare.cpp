// svg_compare GOLDEN RENDERED: whether an SVG picture, rendered at 1:1 into the PNG RENDERED,
// draws what the window's PNG picture GOLDEN shows. Exit status 0 when both have the same size,
// every drawn pixel of GOLDEN (any colour but the window's face and white) has a pixel of the same
// colour at most one pixel away in RENDERED, and on the chart's backdrop (where no text stands)
// the two are the same pixel for pixel; 1 with the first pixel missed and the count of them
// otherwise; 2 when a picture cannot be read. Built with stb_image so every edition's build can
// run it.
#define STB_IMAGE_IMPLEMENTATION
#include "png_picture.h"

#include "app/window.h"

namespace {

/// Whether the colour is drawn at (x, y) of the picture or at a neighbour.
bool near(const Picture& picture, int x, int y, long colour) {
    for (int ny = y - 1; ny <= y + 1; ++ny) {
        for (int nx = x - 1; nx <= x + 1; ++nx) {
            if (nx >= 0 && ny >= 0 && nx < picture.width && ny < picture.height &&
                picture.colour(nx, ny) == colour)
                return true;
        }
    }
    return false;
}

/// The window's colours as a PNG pixel's 0xRRGGBB.
long pngColour(korzenik::Colour colour) {
    return static_cast<long>((colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF));
}

bool drawn(long colour) {
    return colour != pngColour(korzenik::kFaceColour) && colour != pngColour(korzenik::kWhite);
}

/// Counts the drawn pixels of from that to lacks near them, and says where the first is.
long missed(const Picture& from, const Picture& to) {
    long count = 0;
    for (int y = 0; y < from.height; ++y) {
        for (int x = 0; x < from.width; ++x) {
            const long c = from.colour(x, y);
            if (!drawn(c) || near(to, x, y, c)) continue;
            if (count++ == 0) {
                std::fprintf(stderr,
                             "svg_compare: drawn in the PNG, not near in the SVG: the first at "
                             "(%d, %d), colour %06lx\n",
                             x, y, c);
            }
        }
    }
    if (count > 0) std::fprintf(stderr, "svg_compare: %ld pixels missed\n", count);
    return count;
}

/// Counts the pixels inside the rectangle where the pictures differ.
long differing(const Picture& a, const Picture& b, const korzenik::PixelRect& rect) {
    long count = 0;
    for (int y = rect.top; y < rect.bottom && y < a.height; ++y) {
        for (int x = rect.left; x < rect.right && x < a.width; ++x) {
            if (a.colour(x, y) == b.colour(x, y)) continue;
            if (count++ == 0) {
                std::fprintf(stderr,
                             "svg_compare: in the chart, the first differing at (%d, %d): "
                             "%06lx in the PNG, %06lx in the SVG\n",
                             x, y, a.colour(x, y), b.colour(x, y));
            }
        }
    }
    if (count > 0) std::fprintf(stderr, "svg_compare: %ld pixels differ in the chart\n", count);
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: svg_compare GOLDEN RENDERED\n");
        return 2;
    }
    Picture golden, rendered;
    if (!loadPicture("svg_compare", argv[1], &golden) ||
        !loadPicture("svg_compare", argv[2], &rendered))
        return 2;
    if (!sameSize("svg_compare", argv[1], golden, argv[2], rendered)) return 1;
    const long lost = missed(golden, rendered);
    const long changed = differing(golden, rendered, korzenik::chartBackdrop());
    return lost == 0 && changed == 0 ? 0 : 1;
}
