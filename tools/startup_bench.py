#!/usr/bin/env python3
"""Start-up of the window to its first shown frame, and its peak resident memory, beside its floor
(a Qt 6 dialog built from the same layout table with the same controls and texts, but no dialog
application and no framebuffer) and an empty Qt 6 dialog of the same size, measured in the same
run.

Usage: tools/startup_bench.py [--check] BUILD_DIR [RUNS]
With --check it only checks that the three programs are built and a display can be had.

All three quit right after their first frame when KORZENIK_QUIT_AFTER_FIRST_FRAME is set. They
run in turn (A B C A B C ...) after one warm-up each, on the display in DISPLAY; without one the
script runs itself again under xvfb-run. Each run's wall time is taken from its start to its
exit, its peak resident set from the kernel's accounting of that process (wait4). Medians are
compared; the target is at most 1.1 times the floor's. The empty dialog's ratio is shown beside
it for reference.
"""

import os
import shutil
import statistics
import subprocess
import sys
import time

LIMIT = 1.1


def run_once(program):
    env = dict(os.environ, KORZENIK_QUIT_AFTER_FIRST_FRAME="1", QT_QPA_PLATFORM="xcb")
    start = time.perf_counter()
    proc = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    err = proc.stderr.read().decode(errors="replace")
    proc.stderr.close()
    if proc.returncode != 0:
        sys.exit(f"startup_bench: {program} exited with {proc.returncode}\n{err}")
    return elapsed, usage.ru_maxrss  # seconds, KiB


def main(argv):
    check = argv[:1] == ["--check"]
    argv = argv[1:] if check else argv
    if len(argv) < 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    build = argv[0]
    runs = int(argv[1]) if len(argv) > 1 else 15
    programs = {
        "korzenik": os.path.join(build, "qt", "korzenik"),
        "same controls": os.path.join(build, "bench", "controls_dialog"),
        "empty dialog": os.path.join(build, "bench", "empty_dialog"),
    }
    for path in programs.values():
        if not os.access(path, os.X_OK):
            sys.exit(f"startup_bench: {path} is not built")
    if not os.environ.get("DISPLAY") and not shutil.which("xvfb-run"):
        sys.exit("startup_bench: no DISPLAY and no xvfb-run")
    if check:
        return 0

    if not os.environ.get("DISPLAY"):
        return subprocess.call(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24",
                                sys.executable, os.path.abspath(__file__)] + argv)

    samples = {name: [] for name in programs}
    for name, path in programs.items():
        run_once(path)  # warm-up: libraries and fonts into the page cache
    for _ in range(runs):
        for name, path in programs.items():
            samples[name].append(run_once(path))

    def median(name, i):
        return statistics.median(s[i] for s in samples[name])

    a, floor, empty = programs.keys()
    rows = [("time to first frame (ms)", 0, 1000.0), ("peak resident memory (MiB)", 1, 1 / 1024)]
    print(f"Start-up, {runs} runs each, medians:")
    print(f"{'':<28} {a:>9} {floor:>14} {'ratio':>6} {empty:>13} {'ratio':>6}  verdict")
    for label, i, scale in rows:
        va, vf, ve = median(a, i), median(floor, i), median(empty, i)
        ratio = va / vf
        verdict = "ok" if ratio <= LIMIT else f"MISSED ratio <= {LIMIT} of the floor"
        print(f"{label:<28} {va * scale:>9.1f} {vf * scale:>14.1f} {ratio:>6.2f} "
              f"{ve * scale:>13.1f} {va / ve:>6.2f}  {verdict}")
    spread = [min(s[0] for s in samples[a]) * 1000, max(s[0] for s in samples[a]) * 1000]
    print(f"(korzenik's times ranged {spread[0]:.0f} to {spread[1]:.0f} ms)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
