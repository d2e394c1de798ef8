// The pieces of the script host that the golden transcripts do not show: escaping of texts no
// session produces, the list's selection between events, and the PNG's pixels.
#include <png.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "app/window.h"
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

TEST(ScriptHost, ListDeletionMovesTheSelectionWithItsLine) {
    std::vector<std::string> events;
    ScriptHost host([&](const std::string& e) { events.push_back(e); });
    host.listAddString("a");
    host.listAddString("b");
    host.listSetCurSel(1);
    host.listDeleteString(0);
    EXPECT_EQ(host.snapshot().selected, 0);
    host.listDeleteString(0);
    EXPECT_EQ(host.snapshot().selected, -1);
    host.listDeleteString(0);  // nothing left to remove: no event
    EXPECT_EQ(events.size(), 5u);
}

TEST(WindowPicture, BackdropLiesUnderTheChartRectangle) {
    const Framebuffer fb = makeWindowFramebuffer();
    EXPECT_EQ(fb.width, 802);
    EXPECT_EQ(fb.height, 566);
    for (const auto& [x, y, c] : {std::tuple{259, 59, kWhite},
                                  {752, 504, kWhite},
                                  {258, 59, kFaceColour},
                                  {753, 504, kFaceColour},
                                  {259, 58, kFaceColour},
                                  {752, 505, kFaceColour}}) {
        EXPECT_EQ(fb.pixel(x, y), c) << x << ", " << y;
    }
}

// The PNG holds exactly the window's pixels, chart and overlay included.
TEST(PngWriter, WritesTheWindowPixelsExactly) {
    ScriptHost host([](const std::string&) {});
    SolverState state;
    CSolverDialog dialog(host, state);
    dialog.OnInitDialog();
    ASSERT_TRUE(host.pickFunction("f(x) = x*x-4"));
    host.typeText(res::IDC_END, "3");
    host.typeText(res::IDC_PRECISION, "0.001");
    dialog.OnConfirm();
    dialog.OnCompute();
    ASSERT_EQ(host.window().pixel(478, 306), kGray);

    const std::string path = "png_writer_test.png";
    std::string err;
    ASSERT_TRUE(writePng(path, host.window(), &err)) << err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    EXPECT_EQ(image.width, 802u);
    EXPECT_EQ(image.height, 566u);
    EXPECT_EQ(image.format, PNG_FORMAT_RGB);
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(pixels, host.window().rgb);
    std::remove(path.c_str());

    EXPECT_FALSE(writePng(".", host.window(), &err));
    EXPECT_EQ(err, "Is a directory");
}
