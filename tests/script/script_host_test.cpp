#include <png.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "app/window.h"
#include "script/json_lines.h"
#include "script/png_writer.h"
#include "script/script_host.h"

using namespace korzenik;
using namespace korzenik::script;

TEST(JsonLines, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(encodeJsonString("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(encodeJsonString("\t\n\r\b\f"), R"("\t\n\r\b\f")");
    EXPECT_EQ(encodeJsonString(std::string("\x00\x1f\x7f", 3)), R"("\u0000\u001f\u007f")");
    EXPECT_EQ(encodeJsonString("Zły zakres"), "\"Zły zakres\"");
}

TEST(JsonLines, ReplacesBytesThatAreNotUtf8) {
    EXPECT_EQ(encodeJsonString("a\xff" "b"), "\"a\xEF\xBF\xBD" "b\"");
    EXPECT_EQ(encodeJsonString("\xc5"), "\"\xEF\xBF\xBD\"");                 // cut short
    EXPECT_EQ(encodeJsonString("\xc0\xaf"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");  // overlong
    EXPECT_EQ(encodeJsonString("\xed\xa0\x80"),                              // a surrogate
              "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(encodeJsonString("\xf0\x9f\x98\x80"), "\"\xf0\x9f\x98\x80\"");  // U+1F600 is kept
}

TEST(JsonLines, StateKeysInTheirFixedOrder) {
    DialogSnapshot s;
    s.function = "f(x) = sin(x)";
    s.start = "1";
    s.autoState = 1;
    s.lines = {"a", "b"};
    s.selected = 1;
    EXPECT_EQ(stateEvent(s),
              R"j({"event":"state","function":"f(x) = sin(x)","start":"1","end":"","precision":"",)j"
              R"j("auto":1,"xmin":"","xmax":"","ymin":"","ymax":"","lines":["a","b"],"selected":1})j");
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
    EXPECT_TRUE(host.snapshot().lines.empty());
    host.listDeleteString(0);  // nothing left to remove: no event
    EXPECT_EQ(events.size(), 5u);
    EXPECT_EQ(events[2], R"({"event":"select","index":1})");
    EXPECT_EQ(events[3], R"({"event":"delete","index":0})");
}

TEST(ScriptHost, StartsWithBlankControlsAfterTheFirstExchange) {
    ScriptHost host([](const std::string&) {});
    EXPECT_EQ(host.controlText(res::IDC_XMIN), "Xmin");  // the template caption, until written
    SolverState state;
    CSolverDialog dialog(host, state);
    dialog.OnInitDialog();
    const DialogSnapshot s = host.snapshot();
    EXPECT_EQ(s.xmin, "");
    EXPECT_EQ(s.start, "0");
    EXPECT_EQ(s.function, "");
    EXPECT_FALSE(host.pickFunction("f(x) = SIN(x)"));
    EXPECT_TRUE(host.pickFunction("f(x) = sin(x)"));
    EXPECT_EQ(host.snapshot().function, "f(x) = sin(x)");
}

TEST(WindowPicture, BackdropLiesUnderTheChartRectangle) {
    const Framebuffer fb = makeWindowFramebuffer();
    EXPECT_EQ(fb.width, 802);
    EXPECT_EQ(fb.height, 566);
    EXPECT_EQ(fb.pixel(259, 59), kWhite);
    EXPECT_EQ(fb.pixel(752, 504), kWhite);
    EXPECT_EQ(fb.pixel(258, 59), kFaceColour);
    EXPECT_EQ(fb.pixel(753, 504), kFaceColour);
    EXPECT_EQ(fb.pixel(259, 58), kFaceColour);
    EXPECT_EQ(fb.pixel(752, 505), kFaceColour);
    EXPECT_EQ(fb.pixel(0, 0), kFaceColour);
}

// The PNG holds exactly the window's pixels, chart included.
TEST(PngWriter, WritesTheWindowPixelsExactly) {
    ScriptHost host([](const std::string&) {});
    SolverState state;
    CSolverDialog dialog(host, state);
    dialog.OnInitDialog();
    ASSERT_TRUE(host.pickFunction("f(x) = x*x-4"));
    host.typeText(res::IDC_START, "0");
    host.typeText(res::IDC_END, "3");
    host.typeText(res::IDC_PRECISION, "0.001");
    dialog.OnConfirm();
    dialog.OnCompute();

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
    // The first step's blue chord starts at the curve's right end, the gray line at the axis.
    EXPECT_EQ(host.window().pixel(478, 306), kGray);
    std::remove(path.c_str());
}

TEST(PngWriter, ReportsAPathThatCannotBeWritten) {
    const Framebuffer fb = makeWindowFramebuffer();
    std::string err;
    EXPECT_FALSE(writePng("/nonexistent-korzenik-dir/x.png", fb, &err));
    EXPECT_EQ(err, "No such file or directory");
    EXPECT_FALSE(writePng(".", fb, &err));
    EXPECT_EQ(err, "Is a directory");
}
