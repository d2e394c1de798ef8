// png_compare EXPECTED ACTUAL: exit status 0 when both pictures have the same size and the same
// RGB pixels, 1 with the first differing pixel and the count of differing pixels otherwise, 2
// when a picture cannot be read. How the pixels are encoded (indexed or RGB, the compression)
// does not matter. It is built with stb_image so every edition's build can run it.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <cstdio>
#include <memory>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> rgb{nullptr, stbi_image_free};
};

bool load(const char* path, Picture* picture) {
    int channels = 0;
    picture->rgb.reset(stbi_load(path, &picture->width, &picture->height, &channels, 3));
    if (!picture->rgb)
        std::fprintf(stderr, "png_compare: cannot read %s: %s\n", path, stbi_failure_reason());
    return picture->rgb != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: png_compare EXPECTED ACTUAL\n");
        return 2;
    }
    Picture expected, actual;
    if (!load(argv[1], &expected) || !load(argv[2], &actual)) return 2;
    if (expected.width != actual.width || expected.height != actual.height) {
        std::fprintf(stderr, "png_compare: %s is %dx%d, %s is %dx%d\n", argv[1], expected.width,
                     expected.height, argv[2], actual.width, actual.height);
        return 1;
    }
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
