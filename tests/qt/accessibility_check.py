#!/usr/bin/python3
"""The real window's accessibility tree as a screen reader on Linux reads it (AT-SPI).

Usage: tests/qt/accessibility_check.py --wake
       tests/qt/accessibility_check.py PID

With --wake it starts the session's accessibility bus and registry, which a program must find
running when it starts to be seen. With PID it reads the tree of that `korzenik` after the demo
session (script/demo.ksc) was played in it: every field, button, the check box, the drop-down
and the results list carry the layout table's names and stand in its groups (each field labelled by
its static text, the drop-down, whose name is its entry, by its group),
the list holds the session's lines, the labels that show the axes' extremes say what they are,
and the chart says what it shows. It prints what differs and exits with status 1, else 0.

Runs on the session bus of DBUS_SESSION_BUS_ADDRESS, under Debian's python3 with python3-pyatspi
(tools/window_check.py runs it on a D-Bus session of its own under Xvfb).
"""

import sys
import time

import pyatspi

# role, name, description ('' for none), the name of a text or group that labels it (None for
# none). A drop-down's name is the entry it shows, as the toolkit tells it on Linux, where its
# group labels it. The toolkit's list reports no label relation at all: it must stand in its group.
EXPECTED = [
    ("combo box", "f(x) = x*x-4", "", "Funkcja"),
    ("text", "f(x) =", "", "f(x) ="),
    ("text", "Początek", "", "Początek"),
    ("text", "Koniec", "", "Koniec"),
    ("text", "Precyzja", "", "Precyzja"),
    ("push button", "Zatwierdź", "", "Funkcja"),
    ("push button", "Licz", "", "Funkcja"),
    ("check box", "Auto", "", "Funkcja"),
    ("list", "Kolejne przybliżenia", "", None),
    ("label", "0.0", "najmniejsze x", "Wykres"),
    ("label", "3.0", "największe x", "Wykres"),
    ("label", "-4.0", "najmniejsze y", "Wykres"),
    ("label", "5.0", "największe y", "Wykres"),
    ("filler", "Wykres",
     "Wykres funkcji f(x) = x*x-4 na przedziale od 0 do 3. Oś x od 0.0 do 3.0, oś y od -4.0 do "
     "5.0. Narysowane kroki metody: 6. Ostatnie przybliżenie: x = 1.99995, f(x) = -0.000205.",
     "Wykres"),
]
LINES = 7
LAST_LINE = "x=1.99995      |      f(x)=-0.000205"


def application(pid):
    """The program's accessible application, once it has registered (a few seconds at most)."""
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                return app
        time.sleep(0.2)
    sys.exit(f"accessibility_check: process {pid} never showed in the accessibility tree")


def labels(acc):
    """The names of what labels the accessible: a static text, its group."""
    return {relation.getTarget(i).name for relation in acc.getRelationSet()
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
            for i in range(relation.getNTargets())}


def controls(acc):
    """The window's controls: its children and those of its groups (panels)."""
    for child in acc:
        yield child
        if child.getRoleName() == "panel":
            yield from controls(child)


def main(argv):
    if argv == ["--wake"]:
        pyatspi.Registry.getDesktop(0)
        return 0
    if len(argv) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    window = next(c for c in application(int(argv[0])) if c.getRoleName() == "dialog")
    found = [(c.getRoleName(), c.name, c.description or "", labels(c), c)
             for c in controls(window)]
    failures = []
    for role, name, description, label in EXPECTED:
        if not any(f[:3] == (role, name, description) and (label is None or label in f[3])
                   for f in found):
            failures.append(f"no {role} named {name!r} described {description!r} labelled by "
                            f"{label!r}")
    lists = [f[4] for f in found if f[0] == "list"]
    if lists and lists[0].parent.name != "Funkcja":
        failures.append(f"the list stands in {lists[0].parent.name!r}, not in 'Funkcja'")
    items = [item.name for item in lists[0]] if lists else []
    if len(items) != LINES or items[-1:] != [LAST_LINE]:
        failures.append(f"the list holds {items}, not {LINES} lines ending {LAST_LINE!r}")
    for failure in failures:
        print("accessibility:", failure)
    if failures:
        print("the window's controls:", [f[:4] for f in found])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
