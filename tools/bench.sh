#!/usr/bin/env bash
# `make bench`: every press beside its floor (Google Benchmark, JSON kept in
# BUILD_DIR/bench-results), the table of ratios, the window's start-up beside its floors, and
# the scripted demo beside gnuplot.
# Usage: tools/bench.sh [--check] BUILD_DIR   (BENCH_REPETITIONS, default 5, sets the repetitions)
# With --check (CI) each benchmark only checks that what it runs is there, and the ordinary
# presses run once, briefly: the check fails when one takes over 3 times its floor in that run.
set -euo pipefail
cd "$(dirname "$0")/.."

# One core, the same one throughout; presses and floors interleaved so drift hits both alike.
pin=()
command -v taskset >/dev/null && pin=(taskset -c 0)

check=()
if [ "${1:-}" = --check ]; then
    check=(--check)
    shift
fi
build=${1:?usage: tools/bench.sh [--check] BUILD_DIR}
if [ ${#check[@]} -ne 0 ]; then
    if [ ! -x "$build/bench/press_bench" ]; then
        echo "bench: $build/bench/press_bench is not built" >&2
        exit 1
    fi
    tools/startup_bench.py --check "$build"
    tools/demo_bench.py --check "$build"
    echo "bench: every program the benchmarks run is there"
    # The alarm: a press gone several times slower than its floor, measured in the same process
    # as the fastest of five short repetitions, so that a busy machine, which slows both, does
    # not sound it. make bench holds them to 2 times.
    out="$build/bench-results"
    mkdir -p "$out"
    echo "== ordinary presses, briefly (the fastest of 5 interleaved repetitions)"
    "${pin[@]}" "$build/bench/press_bench" \
        --benchmark_filter='^(Confirm|Auto)/' \
        --benchmark_min_time=0.03 \
        --benchmark_repetitions=5 \
        --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true \
        --benchmark_out="$out/press-check.json" --benchmark_out_format=json >"$out/press-check.txt"
    tools/bench_report.py --alarm 3 "$out/press-check.json"
    exit 0
fi
out="$build/bench-results"
mkdir -p "$out"

echo "== presses (the fastest of ${BENCH_REPETITIONS:-5} interleaved repetitions)"
"${pin[@]}" "$build/bench/press_bench" \
    --benchmark_repetitions="${BENCH_REPETITIONS:-5}" \
    --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/press.json" --benchmark_out_format=json >"$out/press.txt"
tools/bench_report.py "$out/press.json"

if [ -x "$build/bench/list_bench" ]; then
    echo
    echo "== a Licz press in the Qt window at a long results list (offscreen)"
    QT_QPA_PLATFORM=offscreen "${pin[@]}" "$build/bench/list_bench" \
        --benchmark_repetitions="${BENCH_REPETITIONS:-5}" \
        --benchmark_report_aggregates_only=true \
        --benchmark_out="$out/qt-list.json" --benchmark_out_format=json >"$out/qt-list.txt"
    tools/bench_report.py "$out/qt-list.json"
fi

echo
echo "== start-up"
tools/startup_bench.py "$build"

echo
echo "== the scripted demo beside gnuplot"
tools/demo_bench.py "$build"
