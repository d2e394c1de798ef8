#!/usr/bin/env python3
"""The scripted demo beside a plotting program: korzenik-script running script/demo.ksc (the
whole session, its picture included) against gnuplot drawing the same bare curve to a PNG of the
same size, each a whole process, run in turn (A B A B ...) after a warm-up. The speed-up is the
median of the pairs' ratios, so that a drift of the machine's speed during the run hits both
sides of a pair alike; it is given for the wall time and for the processor time (user and system)
of each process. The target is the demo at least 5 times faster.

Usage: tools/demo_bench.py [--check] BUILD_DIR [RUNS]
With --check it only checks that korzenik-script is built and gnuplot installed.
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TARGET = 5.0


def measure(command, cwd):
    """Wall seconds and processor seconds of one run of command."""
    start = time.perf_counter()
    proc = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"demo_bench: {command[0]} failed")
    return elapsed, usage.ru_utime + usage.ru_stime


def main(argv):
    check = argv[:1] == ["--check"]
    argv = argv[1:] if check else argv
    if not argv:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    runs = int(argv[1]) if len(argv) > 1 else 41
    program = os.path.abspath(os.path.join(argv[0], "script", "korzenik-script"))
    if not os.access(program, os.X_OK):
        sys.exit(f"demo_bench: {program} is not built")
    if not shutil.which("gnuplot"):
        sys.exit("demo_bench: gnuplot is not installed")
    if check:
        return 0
    demo = os.path.abspath("script/demo.ksc")
    with tempfile.TemporaryDirectory() as work:
        os.mkdir(os.path.join(work, "out"))
        plot = os.path.join(work, "plot.gp")
        with open(plot, "w") as f:
            f.write('set terminal png size 802,566\nset output "curve.png"\nplot [0:3] x*x-4\n')
        demo_cmd = [program, demo]
        plot_cmd = ["gnuplot", plot]
        measure(demo_cmd, work)
        measure(plot_cmd, work)
        pairs = [(measure(demo_cmd, work), measure(plot_cmd, work)) for _ in range(runs)]
    print(f"{'':<36}{'demo ms':>9}{'gnuplot ms':>12}{'speed-up':>10}   (medians of {runs} pairs)")
    missed = False
    for name, i in (("wall time", 0), ("processor time", 1)):
        demo_ms = statistics.median(d[i] for d, _ in pairs) * 1000
        plot_ms = statistics.median(p[i] for _, p in pairs) * 1000
        speedup = statistics.median(p[i] / d[i] for d, p in pairs if d[i] > 0)
        verdict = "ok" if speedup >= TARGET else "MISSED"
        missed = missed or speedup < TARGET
        print(f"{name:<36}{demo_ms:9.2f}{plot_ms:12.2f}{speedup:9.1f}x   {verdict}")
    print(f"target: the demo at least {TARGET:.0f}x faster than gnuplot"
          + (": MISSED" if missed else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
