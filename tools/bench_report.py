#!/usr/bin/env python3
"""Prints the press benchmarks beside their floors and flags every target that is missed.

Usage: tools/bench_report.py [--strict | --alarm RATIO] RESULT.json [...]

Reads Google Benchmark JSON output (--benchmark_out_format=json). Benchmarks named
"<kind>/<case>/press" and "<kind>/<case>/floor" form a row; with repetitions the fastest
repetition ("min" aggregate) is used, else the median: the machine's noise only adds time.
Targets: an ordinary press (kinds "Confirm" and "Auto") takes at most twice its floor; no press
takes more than 1 ms. Worst-input presses are also shown beside the ordinary Confirm of the same
run. A "Typed Confirm" row is a press with a typed function beside the same press with the
catalogue's entry as its floor: at most 1.5 times. With --strict the exit status is 1 when a target
is missed.

Benchmarks named "Qt list/<case>/press" are a Licz press in the Qt window with that many lines
in its results list (the toolkit's QListWidget): each takes at most 16 ms.

With --alarm RATIO (CI's check) an ordinary press's limit is RATIO times its floor instead, and
the exit status is 1 when an ordinary press exceeds it; nothing else counts. A ratio within one
run does not move when a busy machine slows press and floor alike.

Benchmarks named "Long session/<case>/press" and "Long session/<case>/first" are the same
presses late in a long session and at its start: a Compute press late in the session takes at
most twice what it takes at the start, and the Confirm that empties the list costs no more for
each line it removes than a Compute press that added one.
"""

import json
import re
import sys

RATIO_LIMIT = 2.0
TYPED_LIMIT = 1.5
PRESS_LIMIT_US = 1000.0
QT_LIST_LIMIT_US = 16000.0
ORDINARY_KINDS = ("Confirm", "Auto")

TO_MICROSECONDS = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}


def load(paths):
    """{benchmark name: (cpu time in us, counters)}: the fastest repetition, else the median,
    else the single run."""
    single, median, fastest = {}, {}, {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        for b in data.get("benchmarks", []):
            if b.get("error_occurred"):
                continue
            time_us = b["cpu_time"] * TO_MICROSECONDS[b.get("time_unit", "ns")]
            # A fixed iteration count shows in the name ("/iterations:3"); the pair ignores it.
            name = re.sub(r"/iterations:\d+$", "", b.get("run_name", b["name"]))
            if b.get("run_type") == "aggregate":
                if b.get("aggregate_name") == "median":
                    median[name] = (time_us, b)
                elif b.get("aggregate_name") == "min":
                    fastest[name] = (time_us, b)
            else:
                single.setdefault(name, (time_us, b))
    single.update(median)
    single.update(fastest)
    return single


def rows(results):
    table = []
    for name, (press_us, _) in results.items():
        if not name.endswith("/press"):
            continue
        base = name[: -len("/press")]
        kind, _, case = base.partition("/")
        floor = results.get(base + "/floor")
        if floor is None:
            continue
        floor_us, floor_run = floor
        table.append({
            "kind": kind,
            "case": case,
            "press": press_us,
            "floor": floor_us,
            "ratio": press_us / floor_us if floor_us > 0 else float("inf"),
            "evaluations": floor_run.get("evaluations"),
            "pixels": floor_run.get("pixels"),
        })
    order = {"Confirm": 0, "Auto": 1, "Typed Confirm": 2, "Worst Confirm": 3, "Worst Auto": 4}
    table.sort(key=lambda r: (order.get(r["kind"], 9), r["case"]))
    return table


def long_rows(results):
    """Late and early presses of the long session: (case, late us, early us, counters)."""
    table = []
    for name, (late_us, late_run) in results.items():
        if not name.startswith("Long session/") or not name.endswith("/press"):
            continue
        base = name[: -len("/press")]
        first = results.get(base + "/first")
        if first is not None:
            table.append((base.partition("/")[2], late_us, first[0], late_run, first[1]))
    return sorted(table)


def report_long_session(results):
    """Prints the long session's table; returns the cases that miss their target."""
    table = long_rows(results)
    if not table:
        return []
    # A Compute press at the start of the session: what adding one line costs.
    per_press = [early / run["presses"] for case, _, early, _, run in table
                 if run.get("presses")]
    header = f"{'long session':<50} {'late us':>9} {'first us':>9} {'ratio':>6}  verdict"
    print()
    print(header)
    print("-" * len(header))
    missed = []
    for case, late, early, late_run, _ in table:
        ratio = late / early if early > 0 else float("inf")
        if late_run.get("presses"):
            ok = ratio <= RATIO_LIMIT
            verdict = "ok" if ok else f"MISSED ratio <= {RATIO_LIMIT:g}"
        else:
            per_line = (late - early) / late_run["lines"] * 1e3
            press = per_press[0] * 1e3 if per_press else float("inf")
            ok = per_line <= press
            verdict = (f"{per_line:.0f} ns a line, a Compute press {press:.0f} ns"
                       + ("" if ok else ": MISSED"))
        if not ok:
            missed.append(case)
        print(f"{case:<50} {late:>9.1f} {early:>9.1f} {ratio:>6.2f}  {verdict}")
    print()
    print(f"Targets: late in a session a press takes at most {RATIO_LIMIT:g}x the same press at its "
          f"start; emptying the list costs no more a line than a Compute press that added it.")
    return missed


def report_qt_list(results):
    """Prints the Qt window's presses at long lists; returns the cases that miss the target."""
    table = sorted((name.split("/")[1], us, run) for name, (us, run) in results.items()
                   if name.startswith("Qt list/") and name.endswith("/press"))
    if not table:
        return []
    table.sort(key=lambda row: row[2].get("lines", 0))
    header = f"{'Qt window, Licz press':<50} {'time us':>9}  verdict"
    print()
    print(header)
    print("-" * len(header))
    missed = []
    for case, us, _ in table:
        ok = us <= QT_LIST_LIMIT_US
        if not ok:
            missed.append(case)
        print(f"{case:<50} {us:>9.0f}  {'ok' if ok else f'MISSED {QT_LIST_LIMIT_US / 1e3:g} ms'}")
    print()
    print(f"Target: a Licz press in the Qt window under {QT_LIST_LIMIT_US / 1e3:g} ms however long "
          "its results list (QListWidget, lines of one height).")
    return missed


def number(v):
    return "-" if v is None else f"{v:.0f}"


def main(argv):
    strict = "--strict" in argv
    argv = [a for a in argv if a != "--strict"]
    alarm = None
    if "--alarm" in argv:
        i = argv.index("--alarm")
        try:
            alarm = float(argv[i + 1])
        except (IndexError, ValueError):
            print(__doc__.strip(), file=sys.stderr)
            return 2
        del argv[i:i + 2]
    paths = argv
    if not paths or (strict and alarm is not None):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    ratio_limit = RATIO_LIMIT if alarm is None else alarm
    results = load(paths)
    table = rows(results)
    if not table and not long_rows(results) and alarm is None and any(
            n.startswith("Qt list/") for n in results):
        return 1 if report_qt_list(results) and strict else 0
    if not table and not long_rows(results):
        print("bench_report: no press/floor pairs found", file=sys.stderr)
        return 2

    # A worst input is shown beside the ordinary Confirm of the same function ("sin on ...").
    function_of = lambda case: case.partition(" on ")[0]
    ordinary = {function_of(r["case"]): r["press"] for r in table if r["kind"] == "Confirm"}

    header = (f"{'press':<50} {'time us':>9} {'floor us':>9} {'ratio':>6} "
              f"{'evals':>6} {'pixels':>7}  verdict")
    print(header)
    print("-" * len(header))
    missed = []
    alarmed = []
    for r in table:
        label = f"{r['kind']}: {r['case']}"
        verdicts = []
        if r["press"] > PRESS_LIMIT_US and alarm is None:
            verdicts.append(f"OVER {PRESS_LIMIT_US:.0f} us")
        if r["kind"] in ORDINARY_KINDS:
            if r["ratio"] > ratio_limit:
                verdicts.append(f"MISSED ratio <= {ratio_limit:g}")
                alarmed.append(label)
        elif r["kind"] == "Typed Confirm":
            if r["ratio"] > TYPED_LIMIT:
                verdicts.append(f"MISSED ratio <= {TYPED_LIMIT:g} (the catalogue's own press)")
        elif function_of(r["case"]) in ordinary:
            reference = ordinary[function_of(r["case"])]
            verdicts.append(f"{r['press'] / reference:.1f}x the ordinary Confirm")
        if any(v.startswith(("OVER", "MISSED")) for v in verdicts):
            missed.append(label)
        verdict = "; ".join(verdicts) if verdicts else "ok"
        print(f"{label:<50} {r['press']:>9.1f} {r['floor']:>9.1f} {r['ratio']:>6.2f} "
              f"{number(r['evaluations']):>6} {number(r['pixels']):>7}  {verdict}")

    print()
    if alarm is not None:
        if not any(r["kind"] in ORDINARY_KINDS for r in table):
            print("bench_report: no ordinary press beside its floor", file=sys.stderr)
            return 2
        print(f"Alarm: an ordinary press (Confirm, Auto) over {alarm:g}x its floor measured in the "
              f"same run (the target of make bench is {RATIO_LIMIT:g}x).")
        if alarmed:
            print(f"{len(alarmed)} of {len(table)} presses over the alarm's ratio: "
                  + ", ".join(alarmed))
            return 1
        print(f"No ordinary press over {alarm:g}x its floor.")
        return 0
    print(f"Targets: an ordinary press (Confirm, Auto) within {RATIO_LIMIT:g}x its floor "
          f"(the function evaluations it must make, a plain loop writing the pixels it paints, and the exact printing and reading of its numbers); "
          f"every press under {PRESS_LIMIT_US:.0f} us on one core.")
    if missed:
        print(f"{len(missed)} of {len(table)} presses miss a target: " + ", ".join(missed))
    else:
        print(f"All {len(table)} presses meet their targets.")
    late_missed = report_long_session(results)
    if late_missed:
        print(f"{len(late_missed)} long-session presses miss a target: " + ", ".join(late_missed))
    list_missed = report_qt_list(results)
    return 1 if strict and (missed or late_missed or list_missed) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
