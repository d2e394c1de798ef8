// A host repaints only the rectangle a released surface reports: a pixel drawn outside it would
// stay unseen in a real window until something covered and uncovered it.
#include "app/window_surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "app/memory_dialog.h"
#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "app/window.h"
#include "chart/drawing_record.h"

using namespace korzenik;

namespace {

/// The pixels that differ between two images of one size, as text for a readable failure, that
/// lie outside a rectangle.
std::string changedOutside(const Framebuffer& before, const Framebuffer& after,
                           const PixelRect& r) {
    std::string out;
    for (std::int32_t y = 0; y < after.height; ++y) {
        for (std::int32_t x = 0; x < after.width; ++x) {
            const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            if (!inside && before.pixel(x, y) != after.pixel(x, y)) {
                // Appended piece by piece: "(" + std::to_string(x) draws a false -Wrestrict from
                // the mingw build's GCC 12.
                out += '(';
                out += std::to_string(x);
                out += ',';
                out += std::to_string(y);
                out += ") ";
                if (out.size() > 200) return out;
            }
        }
    }
    return out;
}

constexpr std::int32_t kFar = std::numeric_limits<std::int32_t>::max();

}  // namespace

TEST(WindowSurface, ReportsEveryPixelOfEveryDrawingCallOnce) {
    const Point curve[] = {{300, 200}, {310, 260}, {320, 90}, {-kFar, 400}, {500, 500}};
    const std::vector<std::pair<const char*, std::function<void(DrawingSurface&)>>> calls = {
        {"fillSolidRect", [](DrawingSurface& s) { s.fillSolidRect(100, 100, 40, 3, kBlue); }},
        {"fill past the edges", [](DrawingSurface& s) { s.fillSolidRect(-9, 500, kFar, 99, 0); }},
        {"lineTo",
         [](DrawingSurface& s) {
             s.moveTo(700, 30);
             s.lineTo(650, 300);
         }},
        {"lineTo from far out",
         [](DrawingSurface& s) {
             s.moveTo(-kFar, 280);
             s.lineTo(kFar, 281);
         }},
        {"polylineTo",
         [&](DrawingSurface& s) {
             s.selectPen(kRed);
             s.moveTo(290, 210);
             s.polylineTo(curve, std::size(curve));
         }},
    };
    for (const auto& [name, draw] : calls) {
        Framebuffer window = makeWindowFramebuffer();
        const Framebuffer before = window;
        int reports = 0;
        PixelRect reported;
        {
            const auto surface = makeWindowSurface(window, [&](const PixelRect& touched) {
                ++reports;
                reported = touched;
            });
            draw(*surface);
        }
        EXPECT_EQ(reports, 1) << name;
        EXPECT_NE(window.rgb, before.rgb) << name;
        EXPECT_EQ(changedOutside(before, window, reported), "") << name;
    }
}

// The whole dialog, on sessions whose charts have no vertical axis to cover the curve's area.
TEST(WindowSurface, EveryPixelACommandDrawsIsReported) {
    struct Check : DialogListener {
        const MemoryDialog* dialog = nullptr;
        Framebuffer shown = makeWindowFramebuffer();
        std::string faults;
        void surfaceReleased(const PixelRect& touched) override {
            faults += changedOutside(shown, dialog->window(), touched);
            shown = dialog->window();
        }
    } check;
    MemoryDialog host(&check);
    check.dialog = &host;
    SolverState state;
    CSolverDialog dialog(host, state);
    dialog.OnInitDialog();
    const struct {
        int item;
        const char* start;
        const char* end;
    } sessions[] = {{0, "1", "3"}, {2, "2", "4"}, {0, "3", "5"}, {4, "-3", "2"}};
    for (const auto& s : sessions) {
        host.setComboSelection(res::IDC_FUNCTION, s.item);
        host.typeText(res::IDC_START, s.start);
        host.typeText(res::IDC_END, s.end);
        host.typeText(res::IDC_PRECISION, "0.001");
        host.setChecked(res::IDC_AUTO, true);
        dialog.OnConfirm();
        dialog.OnCompute();
        host.dismissAllMessages();
    }
    EXPECT_EQ(check.faults, "");
    EXPECT_EQ(check.shown.rgb, host.window().rgb);
}

// A record of the drawing (for an SVG picture) starts where the window does and records through
// every surface, so that it draws again the window's very pixels after any presses.
TEST(WindowSurface, ARecordOfTheDrawingDrawsTheWindowAgain) {
    const auto replayed = [](const DrawingRecord& record) {
        Framebuffer again(kWindowWidth, kWindowHeight, 0);
        FramebufferSurface surface(again);
        record.replay(surface);
        return again;
    };
    {
        // Each surface starts with the stock black pen at (0, 0).
        Framebuffer window = makeWindowFramebuffer();
        DrawingRecord record(kWindowWidth, kWindowHeight);
        paintWindowFace(record);
        const auto surface = [&] {
            return record.recordThrough(makeWindowSurface(window, nullptr));
        };
        surface()->selectPen(kRed);
        {
            const auto held = surface();
            held->moveTo(300, 300);
            held->selectPen(kBlue);
        }
        surface()->lineTo(400, 200);
        EXPECT_EQ(replayed(record).rgb, window.rgb);
    }
    DrawingRecord record(kWindowWidth, kWindowHeight);
    paintWindowFace(record);
    struct RecordedDialog : MemoryDialog {
        DrawingRecord* drawing = nullptr;
        std::unique_ptr<DrawingSurface> windowSurface() override {
            return drawing->recordThrough(MemoryDialog::windowSurface());
        }
    } host;
    host.drawing = &record;
    SolverState state;
    CSolverDialog dialog(host, state);
    dialog.OnInitDialog();
    // Steps drawn over several presses, a Confirm that wipes them, and more steps.
    const struct {
        const char* start;
        bool autoOn;
        int computes;
    } presses[] = {{"-1", false, 3}, {"-1", true, 1}, {"0", false, 2}};
    host.setComboSelection(res::IDC_FUNCTION, 3);
    host.typeText(res::IDC_END, "2");
    host.typeText(res::IDC_PRECISION, "0.0001");
    for (const auto& p : presses) {
        host.typeText(res::IDC_START, p.start);
        host.setChecked(res::IDC_AUTO, p.autoOn);
        dialog.OnConfirm();
        for (int i = 0; i < p.computes; ++i) dialog.OnCompute();
        host.dismissAllMessages();
        EXPECT_EQ(replayed(record).rgb, host.window().rgb) << p.start;
    }
}
