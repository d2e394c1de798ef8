// Cost of the chart: one Confirm's drawing (scale, axes, curve) into the window's framebuffer for
// each function and for the worst intervals, each next to the bare cost of the 492 function
// evaluations it cannot avoid, and one overlay step next to its three evaluations.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "chart/axes.h"
#include "chart/curve.h"
#include "chart/framebuffer.h"
#include "core/precision.h"

using namespace korzenik;

namespace {

struct Case {
    const char* name;
    float start;
    float end;
    FunctionIndex k;
};

constexpr std::array<Case, 8> kCases = {{
    {"x*x-4 on -3..3", -3.f, 3.f, 1},
    {"cubic on -6..2", -6.f, 2.f, 2},
    {"sin on -10..10", -10.f, 10.f, 3},
    {"3sin(x^2)+2cos on -3..3", -3.f, 3.f, 4},
    {"2sin(x^3)-cos(x^2)+5cos on -3..3", -3.f, 3.f, 5},
    // Worst cases for the tick passes.
    {"extremes near 1e38: cubic on -5e12..5e12", -5e12f, 5e12f, 2},
    {"range of 1e6: sin on -5e5..5e5", -500000.f, 500000.f, 3},
    {"bound beyond the counter: sin on 3e12..", 3e12f, 3.000001e12f, 3},
}};

/// The evaluations a scale makes: the one at start and the 491 samples.
double evaluations(const Case& c) {
    int flag = 0;
    const float xStep = single((widen(c.end) - widen(c.start)) / ChartFrame::width);
    double sum = evaluateFunction(c.start, c.k, flag);
    for (std::int32_t i = 0; i <= ChartFrame::width; ++i) {
        sum += evaluateFunction(single(i * widen(xStep) + widen(c.start)), c.k, flag);
    }
    return sum;
}

void BM_ConfirmDrawing(benchmark::State& state, Case c) {
    Framebuffer window(802, 566, kWhite);
    for (auto _ : state) {
        FramebufferSurface surface(window);
        int flag = 0;
        const ChartScale scale = computeChartScale(c.start, c.end, c.k, flag);
        drawAxes(surface, scale, flag);
        drawCurve(surface, scale, c.k, flag);
        benchmark::DoNotOptimize(window.rgb.data());
        benchmark::ClobberMemory();
    }
}

void BM_Evaluations492(benchmark::State& state, Case c) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.start);
        benchmark::DoNotOptimize(evaluations(c));
    }
}

// The first step on x*x-4 from 0 to 3: chord and gray line, three evaluations.
void BM_OverlayStep(benchmark::State& state) {
    Framebuffer window(802, 566, kWhite);
    int flag = 0;
    const ChartScale scale = computeChartScale(0.f, 3.f, 1, flag);
    for (auto _ : state) {
        FramebufferSurface surface(window);
        drawIterationStep(surface, scale, 0.f, 3.f, 1.3333334f, 1);
        benchmark::DoNotOptimize(window.rgb.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OverlayStep);

void BM_OverlayEvaluations(benchmark::State& state) {
    int flag = 0;
    float x = 1.3333334f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(evaluateFunction(0.f, 1, flag) + evaluateFunction(3.f, 1, flag) +
                                 evaluateFunction(x, 1, flag));
    }
}
BENCHMARK(BM_OverlayEvaluations);

const bool kRegistered = [] {
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string("ConfirmDrawing/") + c.name).c_str(),
                                     BM_ConfirmDrawing, c);
        benchmark::RegisterBenchmark((std::string("Evaluations492/") + c.name).c_str(),
                                     BM_Evaluations492, c);
    }
    return true;
}();

}  // namespace
