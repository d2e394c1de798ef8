// The pieces of the script host that the golden sessions do not show: escaping of texts no
// session produces, the list's selection between events, and pictures of many colours.
#include <png.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/memory_dialog.h"
#include "script/json_lines.h"
#include "script/png_writer.h"
#include "script/script_host.h"

using namespace korzenik;
using namespace korzenik::script;

// Quotes, backslashes and control characters are escaped; bytes that are not UTF-8 (cut short,
// overlong, surrogates) become U+FFFD each, valid sequences are kept.
TEST(JsonLines, EscapesAndReplacesBytesThatAreNotUtf8) {
    const std::string bad = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"a\"b\\c", R"("a\"b\\c")"},
        {"\t\n\r\b\f", R"("\t\n\r\b\f")"},
        {std::string("\x00\x1f\x7f", 3), R"("\u0000\u001f\u007f")"},
        {"Zły zakres", "\"Zły zakres\""},
        {"a\xff"
         "b",
         "\"a" + bad + "b\""},
        {"\xc5", "\"" + bad + "\""},
        {"\xc0\xaf", "\"" + bad + bad + "\""},
        {"\xed\xa0\x80", "\"" + bad + bad + bad + "\""},
        {"\xf0\x9f\x98\x80", "\"\xf0\x9f\x98\x80\""}};
    for (const auto& [text, json] : cases) EXPECT_EQ(encodeJsonString(text), json) << json;
}

TEST(MemoryDialog, ListDeletionMovesTheSelectionWithItsLine) {
    struct Deletions : DialogListener {
        int count = 0;
        void lineDeleted(int) override { ++count; }
    } deletions;
    MemoryDialog host(&deletions);
    host.listAddString("a");
    host.listAddString("b");
    host.listSetCurSel(1);
    host.listDeleteString(0);
    EXPECT_EQ(host.selectedLine(), 0);
    host.listDeleteString(0);
    EXPECT_EQ(host.selectedLine(), -1);
    host.listDeleteString(0);  // nothing left to remove: no deletion
    EXPECT_EQ(deletions.count, 2);
}

// What a script or a path brings is quoted with its control bytes, NUL and stray bytes escaped,
// valid UTF-8 kept, and cut after 60 characters with a note of the whole length.
TEST(ScriptHost, QuotesUntrustedTextSafely) {
    const std::pair<std::string, std::string> cases[] = {
        {"jump", "'jump'"},
        {std::string("\x1b[2Jx\0y", 7), R"('\x1b[2Jx\0y')"},
        {"a\tb\\c'd\x7f", R"('a\tb\\c\'d\x7f')"},
        {"zły\xff\xc5", R"('zły\xff\xc5')"},
        {std::string(61, 'a'), "'" + std::string(60, 'a') + "' (cut: 61 bytes in all)"},
        {std::string(59, 'a') + "ż!", "'" + std::string(59, 'a') + "ż' (cut: 62 bytes in all)"},
    };
    for (const auto& [text, quoted] : cases) EXPECT_EQ(quoteUntrusted(text), quoted) << quoted;
}

// A picture of more colours than a palette holds is written as RGB, pixel for pixel; the chart's
// own pictures (a handful of colours) are checked by the golden sessions.
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
