// The record of a window's drawing must draw again exactly what was drawn, and stay bounded by
// the window's pixels however long the drawing goes on.
#include "chart/drawing_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "chart/framebuffer.h"
#include "chart/recording_surface.h"

using namespace korzenik;

namespace {

constexpr std::int32_t kWidth = 40;
constexpr std::int32_t kHeight = 30;
constexpr Colour kFace = 0xF0F0F0;

using Drawing = std::function<void(DrawingSurface&)>;

/// The pixels of drawing painted straight onto a framebuffer, and those of its record replayed.
std::pair<Framebuffer, Framebuffer> paintedAndReplayed(const Drawing& drawing) {
    Framebuffer direct(kWidth, kHeight, kFace);
    FramebufferSurface surface(direct);
    drawing(surface);
    DrawingRecord record(kWidth, kHeight);
    drawing(record);
    Framebuffer replayed(kWidth, kHeight, kFace);
    FramebufferSurface again(replayed);
    record.replay(again);
    return {direct, replayed};
}

}  // namespace

TEST(DrawingRecord, ReplaysExactlyWhatWasDrawn) {
    const Point zigzag[] = {{5, 25}, {9, 2}, {14, 20}, {-50, 12}, {39, 29}};
    const std::vector<std::pair<const char*, Drawing>> drawings = {
        {"lines over a fill over lines",
         [](DrawingSurface& s) {
             s.selectPen(kRed);
             s.moveTo(0, 0);
             s.lineTo(39, 29);
             s.fillSolidRect(10, 5, 12, 30, kWhite);
             s.selectPen(kBlue);
             s.moveTo(30, 2);
             s.lineTo(2, 27);
             s.deletePen();
             s.lineTo(38, 20);  // the stock black pen, on from the last end
         }},
        {"a polyline, its ends off the image",
         [&](DrawingSurface& s) {
             s.selectPen(kGray);
             s.moveTo(-100, -100);
             s.polylineTo(zigzag, std::size(zigzag));
         }},
        {"a line drawn back over itself in another colour",
         [](DrawingSurface& s) {
             s.selectPen(kRed);
             s.moveTo(3, 3);
             s.lineTo(36, 17);
             s.selectPen(kBlue);
             s.lineTo(3, 3);
         }},
    };
    for (const auto& [name, drawing] : drawings) {
        const auto [direct, replayed] = paintedAndReplayed(drawing);
        EXPECT_EQ(replayed.rgb, direct.rgb) << name;
    }
}

TEST(DrawingRecord, AWipeLetsGoOfWhatItCovers) {
    DrawingRecord record(kWidth, kHeight);
    record.fillSolidRect(0, 0, kWidth, kHeight, kFace);
    record.selectPen(kRed);
    record.moveTo(2, 2);
    record.lineTo(30, 20);
    record.moveTo(0, 28);
    record.lineTo(39, 28);  // partly under the wipe: its ends still show
    record.fillSolidRect(1, 1, 35, 28, kWhite);
    record.selectPen(kBlue);
    record.moveTo(5, 5);
    record.lineTo(6, 5);
    RecordingSurface replayed;
    record.replay(replayed);
    EXPECT_EQ(replayed.calls, (Calls{{SurfaceCall::Op::FillSolidRect, 0, 0, kWidth, kHeight, kFace},
                                     SurfaceCall::segment(0, 28, 39, 28, kRed),
                                     {SurfaceCall::Op::FillSolidRect, 1, 1, 35, 28, kWhite},
                                     SurfaceCall::segment(5, 5, 6, 5, kBlue)}));
}

// A session that draws on for ever (Licz pressed again and again) keeps at most twice as many
// operations as the window has pixels, or the 65536 of the first clean-up, and draws
// again what was drawn all along, the clean-ups included.
TEST(DrawingRecord, StaysBoundedHoweverLongTheDrawingGoesOn) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> x(-5, kWidth + 5), y(-5, kHeight + 5);
    const Colour colours[] = {kRed, kBlue, kGray, kBlack};
    Framebuffer direct(kWidth, kHeight, kFace);
    FramebufferSurface surface(direct);
    DrawingRecord record(kWidth, kHeight);
    std::size_t most = 0;
    for (int i = 0; i < 100'000; ++i) {
        const Point from{x(random), y(random)};
        const Point to{x(random), y(random)};
        for (DrawingSurface* s :
             {static_cast<DrawingSurface*>(&surface), static_cast<DrawingSurface*>(&record)}) {
            s->selectPen(colours[i % 4]);
            s->moveTo(from.x, from.y);
            s->lineTo(to.x, to.y);
            if (i % 30'000 == 0) s->fillSolidRect(0, 0, kWidth, kHeight / 2, kWhite);
        }
        most = std::max(most, record.size());
        if (i % 1000 == 999) {
            Framebuffer replayed(kWidth, kHeight, kFace);
            FramebufferSurface again(replayed);
            record.replay(again);
            ASSERT_EQ(replayed.rgb, direct.rgb) << "after line " << i;
        }
    }
    EXPECT_LE(most, 65536u);
}
