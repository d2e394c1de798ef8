#pragma once
// A PNG picture read as 8-bit RGB with stb_image, for the picture comparing programs, which every
// edition's build can run. Define STB_IMAGE_IMPLEMENTATION in the one source that includes it.
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <cstdio>
#include <memory>

struct Picture {
    int width = 0;
    int height = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> rgb{nullptr, stbi_image_free};

    /// The pixel at (x, y) as 0xRRGGBB.
    long colour(int x, int y) const {
        const unsigned char* p = rgb.get() + (static_cast<long>(y) * width + x) * 3;
        return p[0] << 16 | p[1] << 8 | p[2];
    }
};

/// Reads path into picture; says why on standard error, after program's name, when it cannot.
inline bool loadPicture(const char* program, const char* path, Picture* picture) {
    int channels = 0;
    picture->rgb.reset(stbi_load(path, &picture->width, &picture->height, &channels, 3));
    if (!picture->rgb)
        std::fprintf(stderr, "%s: cannot read %s: %s\n", program, path, stbi_failure_reason());
    return picture->rgb != nullptr;
}

/// Whether both pictures have one size; says what differs when not.
inline bool sameSize(const char* program, const char* pathA, const Picture& a, const char* pathB,
                     const Picture& b) {
    if (a.width == b.width && a.height == b.height) return true;
    std::fprintf(stderr, "%s: %s is %dx%d, %s is %dx%d\n", program, pathA, a.width, a.height, pathB,
                 b.width, b.height);
    return false;
}
