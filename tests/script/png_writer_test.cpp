// The PNG writer, compiled once with each encoder (libpng and stb_image_write); pictures are read
// back with libpng.
#include "script/png_writer.h"

#include <png.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace korzenik;
using namespace korzenik::script;

namespace {

/// The picture's pixels, encoded and read back from memory as RGB.
std::vector<std::uint8_t> roundTrip(const Framebuffer& picture) {
    std::vector<unsigned char> png;
    std::string err;
    EXPECT_TRUE(encodePng(picture, &png, &err)) << err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    return pixels;
}

/// A new empty folder of the test's own, removed with all it holds at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "png_writer_XXXXXX").string();
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    /// The names in the folder.
    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            out.insert(entry.path().filename().string());
        }
        return out;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace

// Every pixel comes back: a picture of more colours than a palette holds, and palette pictures
// that start with runs of black (the colour an empty run cache would claim) or are all black.
// The chart's own pictures are checked by the golden sessions.
TEST(PngWriter, PicturesRoundTripExactly) {
    Framebuffer many(300, 2, 0);
    for (std::int32_t x = 0; x < 300; ++x) many.setPixel(x, 1, static_cast<Colour>(x * 0x010203));
    Framebuffer blackStart(40, 3, 0xFFFFFF);
    for (std::int32_t y = 0; y < 2; ++y) {
        for (std::int32_t x = 0; x < 24; ++x) blackStart.setPixel(x, y, 0x000000);
    }
    blackStart.setPixel(30, 2, 0x0000FF);
    Framebuffer allBlack(17, 2, 0x000000);
    for (Framebuffer* picture : {&many, &blackStart, &allBlack}) {
        EXPECT_EQ(roundTrip(*picture), picture->rgb) << picture->width << " pixels wide";
    }
}

// The file is written whole; a folder in the way gives the system's reason and leaves nothing.
TEST(PngWriter, WritesTheFileOrSaysWhyNot) {
    const ScratchFolder scratch;
    ASSERT_FALSE(scratch.path().empty());
    const Framebuffer many(300, 2, 0x123456);
    const std::string path = (scratch.path() / "picture.png").string();
    std::string err;
    ASSERT_TRUE(writePng(path, many, &err)) << err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    EXPECT_EQ(image.width, 300u);
    png_image_free(&image);
    EXPECT_EQ(scratch.names(), std::set<std::string>{"picture.png"});

    const std::filesystem::path folder = scratch.path() / "folder";
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(writePng(folder.string(), many, &err));
    EXPECT_EQ(err, "Is a directory");
    EXPECT_EQ(scratch.names(), (std::set<std::string>{"folder", "picture.png"}));
}
