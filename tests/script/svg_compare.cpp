// svg_compare GOLDEN RENDERED: whether an SVG picture, rendered at 1:1 into the PNG RENDERED,
// draws what the window's PNG picture GOLDEN shows. Exit status 0 when both have the same size and
// every pixel is the same in both, but for the four axis labels' places, where the drawing has
// its texts (cut to their places, so a text that ran out of its place would show as differing
// pixels beside it) and the PNG the window's bare face; 1 with the first differing pixel and the
// count of them otherwise; 2 when a picture cannot be read. Built with stb_image so every
// edition's build can run it.
#define STB_IMAGE_IMPLEMENTATION
#include "png_picture.h"

#include "app/control_table.h"
#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/window.h"

namespace {

/// Whether (x, y) lies in one of the axis labels' places.
bool inLabel(int x, int y) {
    using namespace korzenik;
    for (const int id : {res::IDC_XMIN, res::IDC_XMAX, res::IDC_YMIN, res::IDC_YMAX}) {
        const PixelRect r = controlPlan(*res::findControl(res::kMainDialog, id)).rect;
        if (x >= kClientLeft + r.left && x < kClientLeft + r.right && y >= kClientTop + r.top &&
            y < kClientTop + r.bottom)
            return true;
    }
    return false;
}

/// Counts the pixels outside the labels where the pictures differ, and says where the first is.
long differing(const Picture& a, const Picture& b) {
    long count = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.colour(x, y) == b.colour(x, y) || inLabel(x, y)) continue;
            if (count++ == 0) {
                std::fprintf(
                    stderr,
                    "svg_compare: the first differing pixel at (%d, %d): %06lx in the PNG, "
                    "%06lx in the SVG\n",
                    x, y, a.colour(x, y), b.colour(x, y));
            }
        }
    }
    if (count > 0) std::fprintf(stderr, "svg_compare: %ld pixels differ\n", count);
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
    return differing(golden, rendered) == 0 ? 0 : 1;
}
