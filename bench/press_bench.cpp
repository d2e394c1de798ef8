// Cost of a button press through the dialog application, each beside its floor measured in the
// same run: the function evaluations the press cannot avoid, a plain loop writing the very pixels
// the press paints, and the exact printing and reading of the numbers it must show and read. The
// host keeps a framebuffer and nothing else, so what is timed is the application's own work (the
// exchange, the texts, the scale, the drawing), not a toolkit's.
//
// Benchmarks come in pairs named "<kind>/<case>/press" and "<kind>/<case>/floor", with the
// counters "evaluations" and "pixels" on the floor; tools/bench_report.py reads the JSON output
// and prints the ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/memory_dialog.h"
#include "app/res/resource.h"
#include "app/solver_dialog.h"
#include "app/window.h"
#include "chart/chart_scale.h"
#include "chart/framebuffer.h"
#include "core/false_position.h"
#include "core/function_catalogue.h"
#include "core/number_format.h"
#include "core/precision.h"

using namespace korzenik;

namespace {

/// Records where each drawing operation paints inside the window (a pixel painted twice is
/// recorded twice), as byte offsets into the window's pixels, and paints them there too.
class CountingSurface : public DrawingSurface {
public:
    CountingSurface(std::unique_ptr<DrawingSurface> real, const Framebuffer& window,
                    std::vector<std::size_t>& painted)
        : m_realSurface(std::move(real)),
          m_real(*m_realSurface),
          m_scratch(window.width, window.height, 0),
          m_painted(painted) {}

    void fillSolidRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                       Colour colour) override {
        m_real.fillSolidRect(x, y, cx, cy, colour);
        const std::int64_t left = std::max<std::int64_t>(x, 0);
        const std::int64_t top = std::max<std::int64_t>(y, 0);
        const std::int64_t w = clampedSpan(x, cx, m_scratch.width);
        const std::int64_t h = clampedSpan(y, cy, m_scratch.height);
        for (std::int64_t row = top; row < top + h; ++row) {
            for (std::int64_t col = left; col < left + w; ++col) record(col, row);
        }
    }
    void drawSegment(std::int32_t fromX, std::int32_t fromY, std::int32_t x, std::int32_t y,
                     Colour colour) override {
        m_real.drawSegment(fromX, fromY, x, y, colour);
        // Paint the segment alone into a black scratch image, then count and erase it within
        // its bounding box.
        drawLine(m_scratch, fromX, fromY, x, y, kWhite);
        const std::int64_t x0 = std::max<std::int64_t>(std::min(fromX, x), 0);
        const std::int64_t x1 = std::min<std::int64_t>(std::max(fromX, x), m_scratch.width - 1);
        const std::int64_t y0 = std::max<std::int64_t>(std::min(fromY, y), 0);
        const std::int64_t y1 = std::min<std::int64_t>(std::max(fromY, y), m_scratch.height - 1);
        for (std::int64_t row = y0; row <= y1; ++row) {
            for (std::int64_t col = x0; col <= x1; ++col) {
                const auto c = static_cast<std::int32_t>(col);
                const auto r = static_cast<std::int32_t>(row);
                if (m_scratch.pixel(c, r) != 0) {
                    record(col, row);
                    m_scratch.setPixel(c, r, 0);
                }
            }
        }
    }

private:
    static std::int64_t clampedSpan(std::int32_t at, std::int32_t size, std::int32_t limit) {
        const std::int64_t from = std::max<std::int64_t>(at, 0);
        const std::int64_t to = std::min<std::int64_t>(std::int64_t{at} + size, limit);
        return to > from ? to - from : 0;
    }

    void record(std::int64_t col, std::int64_t row) {
        m_painted.push_back(static_cast<std::size_t>((row * m_scratch.width + col) * 3));
    }

    std::unique_ptr<DrawingSurface> m_realSurface;
    DrawingSurface& m_real;
    Framebuffer m_scratch;
    std::vector<std::size_t>& m_painted;
};

/// The in-memory dialog of every headless front end, whose surfaces can also record where they
/// paint.
class BenchHost : public MemoryDialog {
public:
    bool counting = false;
    std::vector<std::size_t> painted;

    std::unique_ptr<DrawingSurface> windowSurface() override {
        std::unique_ptr<DrawingSurface> real = MemoryDialog::windowSurface();
        if (!counting) return real;
        return std::make_unique<CountingSurface>(std::move(real), window(), painted);
    }
};

struct Inputs {
    FunctionIndex k;
    const char* start;
    const char* end;
    const char* precision;
    const char* expression = "";  ///< typed into the own function's field
};

/// A dialog session: the host, the process's solver state and the dialog over them.
struct Session {
    BenchHost host;
    SolverState state;
    CSolverDialog dialog{host, state};

    explicit Session(const Inputs& in, bool autoOn = false) {
        dialog.OnInitDialog();
        enter(in);
        host.setChecked(res::IDC_AUTO, autoOn);
    }
    /// Types the fields again: a press writes them back with six significant digits. Message
    /// boxes of the last press are dismissed.
    void enter(const Inputs& in) {
        host.dismissAllMessages();
        host.setComboSelection(res::IDC_FUNCTION, in.k - 1);
        host.typeText(res::IDC_EXPRESSION, in.expression);
        host.typeText(res::IDC_START, in.start);
        host.typeText(res::IDC_END, in.end);
        host.typeText(res::IDC_PRECISION, in.precision);
    }
};

float valueOf(const char* text) { return parseDialogNumber(text).value_or(0.f); }

/// The abscissae at which a scale over start..end samples the function: start, then 491 points.
void appendSamples(std::vector<float>& xs, float start, float end) {
    const float range = single(widen(end) - widen(start));
    const float xStep = single(widen(range) / ChartFrame::width);
    xs.push_back(start);
    for (std::int32_t i = 0; i <= ChartFrame::width; ++i) {
        xs.push_back(single(static_cast<double>(i) * widen(xStep) + widen(start)));
    }
}

/// The least a press must do: evaluate the function at its abscissae and write its pixels.
struct Floor {
    FunctionIndex k = 0;
    std::vector<float> abscissae;
    std::vector<std::size_t> pixels;  ///< byte offsets of the pixels the press paints, in order
    /// Numbers the press must print: fixed with their digits after the point (step lines, axis
    /// labels), or general with six significant digits (digits 0: the fields it writes back).
    /// Printing them exactly is work no press can avoid; here they go into a stack buffer.
    std::vector<std::pair<double, int>> printed;
    /// Field texts the press must read as numbers.
    std::vector<std::string> read;
};

void runFloor(benchmark::State& st, const Floor& floor) {
    Framebuffer window = makeWindowFramebuffer();
    for (auto _ : st) {
        int flag = 0;
        double sum = 0;
        for (float x : floor.abscissae) sum += evaluateFunction(x, floor.k, flag);
        benchmark::DoNotOptimize(sum);
        // The very pixels the press paints, in its order, as plain byte writes: the memory
        // traffic of a line's pixels is part of the work, their positions are not.
        std::uint8_t* rgb = window.rgb.data();
        std::uint8_t shade = 0;
        for (const std::size_t at : floor.pixels) {
            std::uint8_t* p = rgb + at;
            p[0] = 0xFF;
            p[1] = 0x00;
            p[2] = ++shade;
        }
        benchmark::DoNotOptimize(rgb);
        for (const auto& [value, digits] : floor.printed) {
            std::array<char, 400> text;
            char* const first = text.data();
            char* const last = first + text.size();
            benchmark::DoNotOptimize(
                digits > 0 ? std::to_chars(first, last, value, std::chars_format::fixed, digits).ptr
                           : std::to_chars(first, last, value, std::chars_format::general, 6).ptr);
        }
        for (const std::string& text : floor.read) {
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            benchmark::DoNotOptimize(value);
        }
        benchmark::ClobberMemory();
    }
    st.counters["evaluations"] = static_cast<double>(floor.abscissae.size());
    st.counters["pixels"] = static_cast<double>(floor.pixels.size());
}

// A Confirm press repeated with the same fields, as a user presses it again: the fields are typed
// anew each time (the press rewrites them with six significant digits), and the second and later
// presses draw over the picture without wiping it.
void confirmPress(benchmark::State& st, Inputs in) {
    Session s(in);
    s.dialog.OnConfirm();
    s.enter(in);
    for (auto _ : st) {
        s.dialog.OnConfirm();
        s.enter(in);
        benchmark::ClobberMemory();
    }
}

Floor confirmFloor(const Inputs& in) {
    Session s(in);
    s.dialog.OnConfirm();
    s.enter(in);
    s.host.counting = true;
    s.dialog.OnConfirm();

    Floor floor;
    floor.k = in.k;
    floor.pixels = s.host.painted;
    const float start = valueOf(in.start);
    const float end = valueOf(in.end);
    appendSamples(floor.abscissae, start, end);  // the scale: 492
    appendSamples(floor.abscissae, start, end);  // the curve: 491
    floor.abscissae.erase(floor.abscissae.begin() + 492);
    floor.abscissae.push_back(valueOf(formatDialogNumber(start).c_str()));  // the endpoint tests
    floor.abscissae.push_back(valueOf(formatDialogNumber(end).c_str()));
    // The four axis labels, the three fields written back, and the fields read twice.
    int flag = 0;
    const ChartScale scale = computeChartScale(start, end, in.k, flag);
    for (const float label : {start, end, scale.max, scale.min}) {
        floor.printed.emplace_back(widen(label), 1);
    }
    for (const char* field : {in.precision, in.end, in.start}) {
        floor.printed.emplace_back(widen(valueOf(field)), 0);
        floor.read.emplace_back(field);
        floor.read.emplace_back(formatDialogNumber(valueOf(field)));
    }
    return floor;
}

// An Auto press from a fresh Confirm with a precision that is never met: 201 steps, each with
// its line and its overlay.
void autoPress(benchmark::State& st, Inputs in) {
    std::optional<Session> s;
    for (auto _ : st) {
        st.PauseTiming();
        s.emplace(in, true);  // a fresh process: the Confirm below commits from scratch
        s->dialog.OnConfirm();
        st.ResumeTiming();
        s->dialog.OnCompute();
        benchmark::DoNotOptimize(s->host.lines().size());
    }
}

Floor autoFloor(const Inputs& in) {
    Session s(in, true);
    s.dialog.OnConfirm();
    SolverState replay = s.state;  // the same steps, to learn where they evaluate
    s.host.counting = true;
    s.dialog.OnCompute();

    Floor floor;
    floor.k = in.k;
    floor.pixels = s.host.painted;
    appendSamples(floor.abscissae, valueOf(in.start), valueOf(in.end));  // the overlay's scale
    floor.abscissae.push_back(replay.bracketB);                          // the sign test
    floor.abscissae.push_back(replay.bracketA);
    for (std::size_t i = 0; i < s.host.lines().size(); ++i) {
        const StepOutcome out = falsePositionStep(replay);
        // The step evaluates both ends and the approximation; its overlay does the same.
        for (int twice = 0; twice < 2; ++twice) {
            floor.abscissae.push_back(out.chordA);
            floor.abscissae.push_back(out.chordB);
            floor.abscissae.push_back(out.approximation);
        }
        // Every step writes its line (x and f(x)) and its root announcement (x once more).
        floor.printed.emplace_back(widen(out.approximation), 5);
        floor.printed.emplace_back(out.functionValue, 6);
        floor.printed.emplace_back(widen(out.approximation), 5);
    }
    return floor;
}

// A long session: Compute pressed 100,000 times without Auto (the precision is never met, so
// each press adds a line), then Confirm with another interval empties the list. Each is timed
// beside the same presses at the start of a session ("<case>/first"): a press must cost the same
// however long the list, and emptying the list no more a line than the press that added it.
constexpr int kLongSession = 100000;
constexpr int kPressesTimed = 1000;
const Inputs kLongInputs{1, "0", "3", "-1"};

/// A session after its Confirm and `presses` presses of Compute.
std::unique_ptr<Session> afterPresses(int presses) {
    auto s = std::make_unique<Session>(kLongInputs);
    s->dialog.OnConfirm();
    for (int i = 0; i < presses; ++i) s->dialog.OnCompute();
    return s;
}

// kPressesTimed presses of Compute after `before` of them.
void computeAfter(benchmark::State& st, int before) {
    for (auto _ : st) {
        st.PauseTiming();
        std::unique_ptr<Session> s = afterPresses(before);
        st.ResumeTiming();
        for (int i = 0; i < kPressesTimed; ++i) s->dialog.OnCompute();
        st.PauseTiming();
        s.reset();
        st.ResumeTiming();
    }
    st.counters["presses"] = kPressesTimed;
    st.counters["lines"] = before;
}

// The Confirm that empties the list after `presses` presses of Compute.
void confirmAfter(benchmark::State& st, int presses) {
    for (auto _ : st) {
        st.PauseTiming();
        std::unique_ptr<Session> s = afterPresses(presses);
        s->host.typeText(res::IDC_END, "4");  // another interval: the list goes
        st.ResumeTiming();
        s->dialog.OnConfirm();
        st.PauseTiming();
        s.reset();
        st.ResumeTiming();
    }
    st.counters["lines"] = presses;
}

struct Case {
    const char* kind;  ///< Confirm, Auto, Worst Confirm, Worst Auto
    const char* name;
    Inputs inputs;
};

// A typed function against the same press with the catalogue's own entry: the typed one reads
// its text at every press and evaluates a program, and may cost at most 1.5 times as much.
void typedConfirmPress(benchmark::State& st, Inputs in) {
    in.expression = "2*sin(x*x*x)-cos(x*x)+5*cos(x)";
    in.k = kOwnFunction;
    confirmPress(st, in);
}

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"Confirm", "x*x-4 on -3..3", {1, "-3", "3", "0.001"}},
        {"Confirm", "cubic on -6..2", {2, "-6", "2", "0.001"}},
        {"Confirm", "sin on -10..10", {3, "-10", "10", "0.001"}},
        {"Confirm", "3sin(x^2)+2cos on -3..3", {4, "-3", "3", "0.001"}},
        {"Confirm", "2sin(x^3)-cos(x^2)+5cos on -3..3", {5, "-3", "3", "0.001"}},
        {"Auto", "x*x-4 on 0..3", {1, "0", "3", "-1"}},
        {"Auto", "cubic on -1..0.5", {2, "-1", "0.5", "-1"}},
        {"Auto", "sin on 2..4", {3, "2", "4", "-1"}},
        {"Auto", "3sin(x^2)+2cos on 0..2", {4, "0", "2", "-1"}},
        {"Auto", "2sin(x^3)-cos(x^2)+5cos on 0..3", {5, "0", "3", "-1"}},
        // Extremes near the single-precision limit: every tick bound lies beyond the counter.
        {"Worst Confirm", "cubic on -5e12..5e12", {2, "-5e12", "5e12", "0.001"}},
        // A range of 1e6: a thousand marks on the horizontal axis.
        {"Worst Confirm", "sin on -5e5..5e5", {3, "-5e5", "5e5", "0.001"}},
        // Values beyond single precision: the extremes are infinite.
        {"Worst Confirm", "cubic on -1e13..1e13", {2, "-1e13", "1e13", "0.001"}},
        // The zero's row lies beyond 32 bits: a span of a few units on values near 2.56e14.
        {"Worst Confirm", "x*x-4 on 16000000..16000001", {1, "16000000", "16000001", "0.001"}},
        // Far from zero: sines of huge arguments, a tick pass whose bound is beyond the counter.
        {"Worst Confirm", "sin on 3e12..3.000001e12", {3, "3e12", "3.000001e12", "0.001"}},
        {"Worst Auto", "sin on 3e12..3.00001e12", {3, "3e12", "3.00001e12", "-1"}},
        {"Worst Auto", "sin on -5e5..5e5", {3, "-5e5", "5e5", "-1"}},
        {"Worst Auto", "cubic on -5e12..5e12", {2, "-5e12", "5e12", "-1"}},
    };
    return all;
}

// The machine is shared, and its noise only ever adds time: each benchmark also reports the
// fastest of its repetitions, and the ratios are taken between those.
double fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

const bool kRegistered = [] {
    for (const Case& c : cases()) {
        const std::string base = std::string(c.kind) + "/" + c.name;
        const bool isAuto = std::string_view(c.kind).find("Auto") != std::string_view::npos;
        benchmark::RegisterBenchmark((base + "/press").c_str(), isAuto ? autoPress : confirmPress,
                                     c.inputs)
            ->Unit(benchmark::kMicrosecond)
            ->ComputeStatistics("min", fastest);
        const Floor floor = isAuto ? autoFloor(c.inputs) : confirmFloor(c.inputs);
        benchmark::RegisterBenchmark((base + "/floor").c_str(), runFloor, floor)
            ->Unit(benchmark::kMicrosecond)
            ->ComputeStatistics("min", fastest);
    }
    const Inputs fifth{5, "-3", "3", "0.001"};
    const std::string typed = "Typed Confirm/2sin(x^3)-cos(x^2)+5cos on -3..3";
    benchmark::RegisterBenchmark((typed + "/press").c_str(), typedConfirmPress, fifth)
        ->Unit(benchmark::kMicrosecond)
        ->ComputeStatistics("min", fastest);
    benchmark::RegisterBenchmark((typed + "/floor").c_str(), confirmPress, fifth)
        ->Unit(benchmark::kMicrosecond)
        ->ComputeStatistics("min", fastest);
    // Each iteration builds a session of 100,000 presses first: a few iterations are enough.
    const std::string computeCase = "Long session/" + std::to_string(kPressesTimed) +
                                    " Compute presses after " + std::to_string(kLongSession);
    const std::string confirmCase =
        "Long session/Confirm emptying " + std::to_string(kLongSession) + " lines";
    using Run = void (*)(benchmark::State&, int);
    const std::pair<std::string, Run> longCases[] = {{computeCase, computeAfter},
                                                     {confirmCase, confirmAfter}};
    for (const auto& [name, run] : longCases) {
        for (const auto& [suffix, presses] :
             {std::pair{"/press", kLongSession}, std::pair{"/first", 0}}) {
            benchmark::RegisterBenchmark((name + suffix).c_str(), run, presses)
                ->Unit(benchmark::kMicrosecond)
                ->Iterations(3)
                ->ComputeStatistics("min", fastest);
        }
    }
    return true;
}();

}  // namespace
