// png_compare EXPECTED ACTUAL: exit status 0 when both pictures have the same size and the same
// RGB pixels, 1 with the first differing pixel and the count of differing pixels otherwise, 2
// when a picture cannot be read. How the pixels are encoded (indexed or RGB, the compression)
// does not matter. It is built with stb_image so every edition's build can run it.
#define STB_IMAGE_IMPLEMENTATION
#include "png_picture.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: png_compare EXPECTED ACTUAL\n");
        return 2;
    }
    Picture expected, actual;
    if (!loadPicture("png_compare", argv[1], &expected) ||
        !loadPicture("png_compare", argv[2], &actual))
        return 2;
    if (!sameSize("png_compare", argv[1], expected, argv[2], actual)) return 1;
    long differing = 0;
    int firstX = -1, firstY = -1;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            const long at = (static_cast<long>(y) * expected.width + x) * 3;
            const unsigned char* e = expected.rgb.get() + at;
            const unsigned char* a = actual.rgb.get() + at;
            if (e[0] == a[0] && e[1] == a[1] && e[2] == a[2]) continue;
            if (differing++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    if (differing == 0) return 0;
    const long at = (static_cast<long>(firstY) * expected.width + firstX) * 3;
    const unsigned char* e = expected.rgb.get() + at;
    const unsigned char* a = actual.rgb.get() + at;
    std::fprintf(stderr,
                 "png_compare: %ld pixels differ; the first at (%d, %d): expected %02x%02x%02x, "
                 "got %02x%02x%02x\n",
                 differing, firstX, firstY, e[0], e[1], e[2], a[0], a[1], a[2]);
    return 1;
}
