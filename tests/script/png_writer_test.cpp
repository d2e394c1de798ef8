// The PNG writer, compiled once with each encoder (libpng and stb_image_write); pictures are read
// back with libpng.
#include "script/png_writer.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace korzenik;
using namespace korzenik::script;

// A picture of more colours than a palette holds keeps every pixel; the chart's own pictures (a
// handful of colours) are checked by the golden sessions.
TEST(PngWriter, ManyColoursRoundTripExactly) {
    Framebuffer many(300, 2, 0);
    for (std::int32_t x = 0; x < 300; ++x) many.setPixel(x, 1, static_cast<Colour>(x * 0x010203));
    const std::string path = "png_writer_test.png";
    std::string err;
    ASSERT_TRUE(writePng(path, many, &err)) << err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(pixels, many.rgb);
    std::remove(path.c_str());

    // A folder in the way: the system's reason, and nothing left behind.
    std::filesystem::create_directory("png_writer_folder");
    EXPECT_FALSE(writePng("png_writer_folder", many, &err));
    EXPECT_EQ(err, "Is a directory");
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }
}
