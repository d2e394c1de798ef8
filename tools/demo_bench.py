#!/usr/bin/env python3
"""The scripted demo beside a plotting program: korzenik-script running script/demo.ksc (the
whole session, its picture included) against gnuplot drawing the same bare curve to a PNG of the
same size, each a whole process, run in turn after a warm-up. Medians of the wall times are
compared; the target is the demo at least 5 times faster.

Usage: tools/demo_bench.py BUILD_DIR [RUNS]
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

TARGET = 5.0


def wall(command, cwd):
    start = time.perf_counter()
    subprocess.run(command, cwd=cwd, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main(argv):
    if not argv:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    runs = int(argv[1]) if len(argv) > 1 else 41
    program = os.path.abspath(os.path.join(argv[0], "script", "korzenik-script"))
    demo = os.path.abspath("script/demo.ksc")
    with tempfile.TemporaryDirectory() as work:
        os.mkdir(os.path.join(work, "out"))
        plot = os.path.join(work, "plot.gp")
        with open(plot, "w") as f:
            f.write('set terminal png size 802,566\nset output "curve.png"\nplot [0:3] x*x-4\n')
        demo_cmd = [program, demo]
        plot_cmd = ["gnuplot", plot]
        wall(demo_cmd, work)
        wall(plot_cmd, work)
        demo_times, plot_times = [], []
        for _ in range(runs):
            demo_times.append(wall(demo_cmd, work))
            plot_times.append(wall(plot_cmd, work))
    demo_ms = statistics.median(demo_times) * 1000
    plot_ms = statistics.median(plot_times) * 1000
    speedup = plot_ms / demo_ms
    verdict = "meets" if speedup >= TARGET else "MISSES"
    print(f"{'korzenik-script script/demo.ksc':<36}{demo_ms:8.2f} ms (median of {runs})")
    print(f"{'gnuplot, the same curve to a PNG':<36}{plot_ms:8.2f} ms")
    print(f"the demo is {speedup:.1f}x faster: {verdict} the target of {TARGET:.0f}x")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
