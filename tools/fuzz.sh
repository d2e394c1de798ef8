#!/usr/bin/env bash
# Runs every libFuzzer target for a bounded time on its seeds: the number reader on
# fuzz/corpus/number_reader, typed functions on fuzz/corpus/expression, whole sessions on every golden session (tests/script/*.ksc) and the
# demo (script/demo.ksc).
# Usage: tools/fuzz.sh BUILD_DIR SECONDS_PER_TARGET
# New inputs the fuzzer finds go to BUILD_DIR/fuzz-work/<target>/corpus (the seeds are only
# read); a failing input is saved there as crash-*, leak-* or timeout-* and the script stops with
# a non-zero status. Each input is bounded by the CPU time it takes (fuzz/cpu_budget.h), not by
# wall time: libFuzzer's own timeout, which counts wall time, is off, so a busy machine never
# stops a run that found nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:?usage: tools/fuzz.sh BUILD_DIR SECONDS}
seconds=${2:?usage: tools/fuzz.sh BUILD_DIR SECONDS}

# libFuzzer reads its seeds from folders: the session seeds are gathered into one.
session_seeds="$build/fuzz-work/session/seeds"
rm -rf "$session_seeds"
mkdir -p "$session_seeds"
cp tests/script/*.ksc script/demo.ksc "$session_seeds/"

for target in number_reader expression session; do
    work="$build/fuzz-work/$target"
    case $target in
    session) seeds=$session_seeds ;;
    *) seeds=fuzz/corpus/$target ;;
    esac
    mkdir -p "$work/corpus"
    echo "== $target: ${seconds}s"
    if ! "$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=0 -rss_limit_mb=4096 \
            -print_final_stats=1 -artifact_prefix="$work/" "$work/corpus" "$seeds" \
            >"$work/log.txt" 2>&1; then
        tail -n 60 "$work/log.txt"
        echo "fuzz: $target failed; the input is saved in $work/" >&2
        exit 1
    fi
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done)' "$work/log.txt" || true
done
echo "fuzz: every target ran clean"
