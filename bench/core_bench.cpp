// Cost of the numerical core: one evaluation per catalogue entry, and one chord step.
#include <benchmark/benchmark.h>

#include "core/false_position.h"

using namespace korzenik;

static void BM_EvaluateFunction(benchmark::State& state) {
    const auto k = static_cast<FunctionIndex>(state.range(0));
    int flag = 0;
    float x = 0.3f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(evaluateFunction(x, k, flag));
    }
}
BENCHMARK(BM_EvaluateFunction)->DenseRange(0, 5);

static void BM_FalsePositionStep(benchmark::State& state) {
    SolverState s;
    selectFunction(s, 1);
    for (auto _ : state) {
        commitInterval(s, 0.f, 3.f, 0.001f);
        benchmark::DoNotOptimize(falsePositionStep(s));
    }
}
BENCHMARK(BM_FalsePositionStep);
