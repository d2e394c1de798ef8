#!/usr/bin/env python3
"""window_test.py KORZENIK SCRIPT_EXE STEPS_EXE WINDOW_CHECK WORKDIR SESSION...

Korzenik.exe under Wine on a virtual display (Xvfb), driven with the keyboard and the mouse
(xdotool) through every SESSION: a .ksc file, or a folder whose .ksc files that write a picture
and have no .stderr beside them (the sessions that fail) are all taken. Each
session runs in a window of its own, started afresh, one line after the other as a user does it:
a function picked from the opened drop-down with the arrow keys and Enter, a field clicked, its
text selected and typed over, Auto clicked, Zatwierdź and Licz pressed with Alt+Z and Alt+L.

The steps, and what the window must show after each, come from session_steps.exe (the scripted
host's own reading of the script, tests/script/session_steps.cpp), which plays the session and
reports the dialog's state after each step: every message box a step brings up must appear with
the transcript's caption and text, in order (each is closed with Enter); after each step the
window's fields, labels, results list and selection must be the state's; and at each "png" line
every client pixel that no control covers must be the picture's, the golden one beside the
session when there is one, else the one session_steps.exe drew. What a step does follows from
the kind of control it works, which the layout (session_steps.exe --layout) names with its
mnemonic. Alt+F4 ends each window with status 0.

After the last session the keyboard of a native dialog is checked: Enter and Escape on a button
do nothing; in the opened drop-down list Enter picks the highlighted function and Escape closes
the list; the About box opens from the system menu and closes with Enter.

Then the display's scale goes to 125 %, 150 % and 175 % (Wine's LogPixels at 120, 144 and 168
dots per inch), and at each the demo and a third of the other sessions play again: the window
takes the monitor's scale, its controls stand where the layout table puts them at that scale
with none over another, the text of a label is as much taller as the scale is larger, and every
device pixel of a client pixel that no control covers has that pixel's colour in the picture.
The screenshots after the demo stay in WORKDIR/screen-DPI.xwd to be looked at.

The Wine prefix and the display are the test's own, made in WORKDIR and removed at the end. A
failure leaves a screenshot of the display in WORKDIR/failure.xwd.
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import time

WINE = "/usr/lib/wine/wine64"
# The display's dots per inch the window is tried at after 96: Windows' 125 %, 150 % and 175 %.
SCALED_DPIS = (120, 144, 168)
STATE_FIELDS = ("function", "expression", "start", "end", "precision", "xmin", "xmax", "ymin",
                "ymax", "auto")


class Failure(Exception):
    pass


def run(command, **kwargs):
    return subprocess.run(command, check=False, **kwargs)


def xdotool(*arguments, timeout=30):
    done = run(["xdotool", *arguments], capture_output=True, text=True, timeout=timeout)
    if done.returncode != 0:
        raise Failure(f"xdotool {' '.join(arguments)} failed: {done.stderr.strip()}")
    return done.stdout


def literal(text):
    """A regular expression matching exactly text, for xdotool's --name."""
    return "^" + re.sub(r"([.\[\](){}*+?|^$\\])", r"\\\1", text) + "$"


def visible_windows_matching(pattern):
    done = run(["xdotool", "search", "--onlyvisible", "--name", pattern], capture_output=True,
               text=True)
    return done.stdout.split()


def visible_windows(name):
    return visible_windows_matching(literal(name))


class Checker:
    """window_check.exe inside Wine, asked one request at a time over a pipe."""

    def __init__(self, path):
        self.process = subprocess.Popen([WINE, path], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True, encoding="utf-8")

    def ask(self, *request, lines=()):
        self.process.stdin.write("\t".join(str(r) for r in request) + "\n")
        for line in lines:
            self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        reply = self.process.stdout.readline().rstrip("\n")
        if not reply.startswith("ok"):
            raise Failure(f"{request[0]}: {reply[5:] if reply else 'window_check stopped'}")
        return reply[3:]

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=30)


class Layout:
    """The main dialog's controls as session_steps.exe reads them from the layout table."""

    def __init__(self, steps_exe):
        done = run([WINE, steps_exe, "--layout"], capture_output=True, text=True,
                   encoding="utf-8")
        if done.returncode != 0:
            raise Failure(f"session_steps.exe --layout failed: {done.stderr.strip()}")
        self.controls = json.loads(done.stdout)["controls"]
        self.id = {c["name"]: c["id"] for c in self.controls}
        self.by_word = {c["word"]: c for c in self.controls if c["word"]}
        self.by_id = {c["id"]: c for c in self.controls}
        self.first = lambda kind: next(c["id"] for c in self.controls if c["kind"] == kind)

    def next_stop(self, control):
        """The tab stop after control, in tab order."""
        order = [c["id"] for c in self.controls if c["tabStop"]]
        return order[(order.index(control) + 1) % len(order)]


class Session:
    """A .ksc file as steps, and what session_steps.exe shows after each of them."""

    def __init__(self, path, work, steps_exe):
        self.path = path
        self.name = os.path.splitext(os.path.basename(path))[0]
        # Each picture session_steps.exe draws, and the golden one beside the session if any.
        drawn = os.path.join(work, "pictures", self.name)
        os.makedirs(drawn)
        done = run([WINE, steps_exe, "--play", path, drawn], capture_output=True, text=True,
                   encoding="utf-8")
        if done.returncode != 0:
            raise Failure(f"session_steps.exe failed on {self.name}: {done.stderr.strip()}")
        self.actions, self.after = [], []  # the steps, and the events of each, its state last
        for line in done.stdout.splitlines():
            item = json.loads(line)
            if "action" in item:
                self.actions.append(item)
                self.after.append([])
            else:
                self.after[-1].append(item)
        # A report is not something the user does.
        kept = [i for i, step in enumerate(self.actions) if step["action"] != "state"]
        self.actions = [self.actions[i] for i in kept]
        self.after = [self.after[i] for i in kept]
        self.pictures = {}
        for i, step in enumerate(self.actions):
            if step["action"] == "png":
                golden = os.path.join(os.path.dirname(path), step["argument"])
                self.pictures[i] = golden if os.path.isfile(golden) else os.path.join(
                    drawn, os.path.basename(step["argument"]))
        # What the window is held to is the golden transcript's, where the session has one.
        golden = path[:-4] + ".jsonl"
        if os.path.isfile(golden):
            with open(golden, encoding="utf-8") as f:
                wanted = [e for e in map(json.loads, f) if e["event"] != "state"]
            played = [e for events in self.after for e in events if e["event"] != "state"]
            if played != wanted:
                raise Failure(f"{self.name}: session_steps.exe's events differ from {golden}")

    @staticmethod
    def expected_state(state):
        # The typed function's field shows in a state only when it holds text.
        lines = [f"{field}\t{state.get(field, '')}" for field in STATE_FIELDS]
        lines += [f"line\t{text}" for text in state["lines"]]
        return lines + [f"selected\t{state['selected']}", ""]


class WindowTest:
    def __init__(self, korzenik, script_exe, check, work):
        self.korzenik, self.script_exe, self.check, self.work = korzenik, script_exe, check, work
        self.xvfb = self.window = self.checker = self.layout = None
        self.main = None

    # --- the display, the prefix and the window -------------------------------------------
    def start_display(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
            pass_fds=(write,), stderr=open(os.path.join(self.work, "xvfb.log"), "w"))
        os.close(write)
        with os.fdopen(read) as f:
            display = f.readline().strip()
        if not display:
            raise Failure("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + display

    def make_prefix(self):
        # Wine's fonts copied in (Wine does not load them from the package's folder), windows
        # placed by Wine itself as there is no window manager. The server runs persistent from the
        # start to the end, so that no program starts just as it quits after the last one, and
        # gets none of our output streams, or CTest would wait for it.
        prefix = os.path.join(self.work, "prefix")
        os.environ.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                          LC_ALL="C.UTF-8")
        os.makedirs(prefix)
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL)
        run(["wineserver", "-p"], **quiet)
        run(["wineboot", "-i"], **quiet)
        for font in glob.glob("/usr/share/wine/fonts/*.ttf"):
            shutil.copy(font, os.path.join(prefix, "drive_c/windows/Fonts"))
        for value, data in (("Managed", "N"), ("Decorated", "Y")):
            run([WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", value, "/d", data,
                 "/f"], **quiet)

    def set_dpi(self, dpi):
        """The display's scale for the programs started from now on, as a user sets it."""
        run([WINE, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
             "REG_DWORD", "/d", str(dpi), "/f"], stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def look(self, dpi):
        """The window as it stands, at dpi: its scale and layout checked; the screenshot kept. The
        height of the text of the label under the chart's left end."""
        scale, width, height = self.checker.ask("scale").split()
        if abs(float(scale) - dpi / 96) > 1e-6:
            raise Failure(f"at {dpi} dpi the window's scale is {scale}, not {dpi / 96}")
        self.checker.ask("layout")
        screen = os.path.join(self.work, f"screen-{dpi}.xwd")
        if run(["xwd", "-root", "-silent", "-out", screen]).returncode != 0:
            raise Failure("no screenshot")
        ink = int(self.checker.ask("ink", self.layout.id["IDC_XMIN"], screen))
        print(f"window test: at {dpi} dpi the client area is {width} x {height}, the label's "
              f"text {ink} pixels high", flush=True)
        return ink

    def open_window(self):
        self.window = subprocess.Popen([WINE, self.korzenik])
        found = xdotool("search", "--sync", "--onlyvisible", "--name", "^Korzenik$").split()
        if not found:
            raise Failure("the window did not open")
        self.main = found[0]
        self.focus_main()

    def close_window(self):
        self.focus_main()
        xdotool("key", "alt+F4")
        try:
            status = self.window.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure("Alt+F4 did not close the window")
        self.window = None
        if status != 0:
            raise Failure(f"Korzenik.exe ended with status {status}")

    # --- what a user does ------------------------------------------------------------------
    def focus(self, window):
        xdotool("windowfocus", "--sync", window, timeout=20)

    def focus_main(self):
        self.focus(self.main)
        self.checker.ask("focus")

    def click(self, control):
        # Without a window manager a click does not bring the activation back to the window (an
        # opened list takes it away), so the window is given the focus first.
        self.focus(self.main)
        x, y = self.checker.ask("centre", control).split()
        # Under Wine the first click after a drop-down's list was closed from the keyboard does not
        # reach the window (without a window manager): as a user would, click again.
        for _ in range(3):
            xdotool("mousemove", x, y, "click", "1")
            for _ in range(40):
                if self.checker.ask("focused") == str(control):
                    return
                time.sleep(0.05)
        self.checker.ask("focus", control)

    def pick(self, combo, label):
        # From the field after it that takes input back to the drop-down, its list opened, the
        # entry counted down from the first, and Enter.
        self.click(self.next_enabled_stop(combo))
        xdotool("key", "shift+Tab")
        self.checker.ask("focus", combo)
        xdotool("key", "alt+Down")
        self.wait_combo(combo, dropped=1)
        index = self.checker.ask("index", combo, label)
        xdotool("key", "Home", *["Down"] * int(index), "Return")
        self.wait_combo(combo, dropped=0, selection=int(index))

    def next_enabled_stop(self, control):
        """The tab stop after control that takes input now, as Tab finds it."""
        stop = self.layout.next_stop(control)
        while self.checker.ask("enabled", stop) != "1":
            stop = self.layout.next_stop(stop)
        return stop

    def wait_combo(self, combo, dropped, selection=None):
        for _ in range(200):
            shown = [int(v) for v in self.checker.ask("combo", combo).split()]
            if shown[0] == dropped and (selection is None or shown[1] == selection):
                return shown
            time.sleep(0.05)
        raise Failure(f"the drop-down is (open, selection) {shown}, expected "
                      f"({dropped}, {selection})")

    def type_into(self, control, text):
        self.click(control)
        xdotool("key", "End", "shift+Home")
        if text:
            xdotool("type", "--", text)
        else:
            xdotool("key", "Delete")
        self.checker.ask("text", control, text)

    def close_boxes(self, events):
        boxes = [e for e in events if e["event"] == "message"]
        for box in boxes:
            self.checker.ask("box", box["caption"], box["text"])
            window = next((w for w in visible_windows(box["caption"]) if w != self.main), None)
            if window is None:
                raise Failure(f"message box \"{box['caption']}\" is not on the display")
            self.focus(window)
            xdotool("key", "Return")
            for _ in range(100):
                if window not in visible_windows(box["caption"]):
                    break
                time.sleep(0.1)
            else:
                raise Failure(f"message box \"{box['caption']}\" did not close")
            self.focus(self.main)
        # The next box may be up while the main window takes the activation back, so only once
        # the last one is closed can the focus be awaited on the window's controls.
        if boxes:
            self.focus_main()

    def compare_picture(self, picture):
        # A press's drawing may still be on its way to the display: a few looks before failing.
        screen = os.path.join(self.work, "screen.xwd")
        for attempt in range(10):
            if run(["xwd", "-root", "-silent", "-out", screen]).returncode != 0:
                raise Failure("no screenshot")
            try:
                return self.checker.ask("compare", screen, picture)
            except Failure:
                if attempt == 9:
                    raise
                time.sleep(0.3)

    def play(self, session, dpi=96):
        """Plays the session in a new window; at its end, for the demo, looks at the window."""
        self.open_window()
        for i, (step, events) in enumerate(zip(session.actions, session.after)):
            action, argument = step["action"], step["argument"]
            if action == "pick":
                self.pick(step["id"], argument)
            elif action == "type":
                self.type_into(step["id"], argument)
            elif action == "tick":
                if self.checker.ask("checked", step["id"]) != ("1" if step["on"] else "0"):
                    self.click(step["id"])
            elif action == "press":
                # A button is pressed with its mnemonic, as the keyboard's user presses it.
                xdotool("key", "alt+" + self.layout.by_id[step["id"]]["key"])
            elif action == "about":
                self.about_box()
            elif action not in ("png", "svg"):
                raise Failure(f"{session.name}: no user action for \"{step['verb']}\"")
            self.close_boxes(events)
            # A refused number leaves the focus in its field for the student to correct, a typed
            # function that does not read with the place selected.
            for event in events:
                if event["event"] == "focus":
                    field = self.layout.by_word[event["control"]]["id"]
                    self.checker.ask("focus", field)
                    if "select" in event:
                        selected = self.checker.ask("selection", field)
                        if selected != " ".join(map(str, event["select"])):
                            raise Failure(f"{session.name}: the field selects {selected}, not "
                                          f"{event['select']}")
            self.checker.ask("expect", lines=Session.expected_state(events[-1]))
            if action == "png":
                self.compare_picture(session.pictures[i])
        print(f"window test: {session.name} at {dpi} dpi: {len(session.actions)} lines as "
              "session_steps.exe played them", flush=True)
        return self.look(dpi) if session.name == "demo" else None

    # --- the keyboard of a native dialog -----------------------------------------------------
    def about_box(self):
        # The About box from the system menu, where it is the last entry; Enter closes it.
        xdotool("key", "alt+space")
        self.checker.ask("menu")
        xdotool("key", "Up", "Return")
        caption = "O projekcie KORZENIK"
        found = xdotool("search", "--sync", "--onlyvisible", "--name", literal(caption)).split()
        self.focus(found[0])
        xdotool("key", "Return")
        for _ in range(100):
            if not visible_windows(caption):
                break
            time.sleep(0.1)
        else:
            raise Failure("the About box did not close")
        self.focus_main()

    def keyboard(self):
        ids = self.layout.id
        combo = self.layout.first("dropdown")
        self.checker.ask("dropdown")
        # Enter and Escape on Zatwierdź neither press it nor close the window: Tab still moves
        # the focus on to Licz, which a message box or a closed window would prevent.
        self.click(ids["IDC_START"])
        xdotool("key", "Tab", "Tab", "Tab")
        self.checker.ask("focus", ids["IDC_CONFIRM"])
        xdotool("key", "Return", "Escape", "Tab")
        self.checker.ask("focus", ids["IDC_COMPUTE"])

        # Enter in the opened list picks the highlighted entry, Escape closes the list.
        self.click(self.next_enabled_stop(combo))
        xdotool("key", "shift+Tab")
        self.checker.ask("focus", combo)
        # The pointer away from where the list drops, which would highlight the entry under it.
        xdotool("mousemove", "0", "0")
        _, before = self.wait_combo(combo, dropped=0)
        step, after = ("Up", before - 1) if before > 0 else ("Down", before + 1)
        xdotool("key", "alt+Down")
        self.wait_combo(combo, dropped=1)
        xdotool("key", step, "Return")
        self.wait_combo(combo, dropped=0, selection=after)
        xdotool("key", "F4")
        self.wait_combo(combo, dropped=1)
        xdotool("key", "Escape")
        self.wait_combo(combo, dropped=0)
        # Escape with the list closed does not close the window either.
        xdotool("key", "Escape", "Tab")
        self.checker.ask("focus", self.next_enabled_stop(combo))
        self.about_box()

    def lone_console(self):
        """korzenik-script.exe started as a double-click starts it, in a console of its own: it
        stays until a key is pressed, which ends it (waiting for a script on standard input, a
        key would not)."""
        # None of our output streams: whoever reads them would wait for the console to end.
        run([WINE, "start", "/unix", self.script_exe], stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        name = r"korzenik-script\.exe$"
        console = xdotool("search", "--sync", "--onlyvisible", "--name", name).split()[0]
        time.sleep(1)
        if console not in visible_windows_matching(name):
            raise Failure("korzenik-script.exe's console closed before a key was pressed")
        self.focus(console)
        xdotool("key", "space")
        for _ in range(100):
            if console not in visible_windows_matching(name):
                return
            time.sleep(0.1)
        raise Failure("korzenik-script.exe's console did not close after a key")

    def fail_screenshot(self):
        if os.environ.get("DISPLAY"):
            run(["xwd", "-root", "-silent", "-out", os.path.join(self.work, "failure.xwd")])

    def stop(self):
        if self.window is not None:
            self.window.kill()
        if self.checker is not None:
            self.checker.process.kill()
        if os.path.isdir(os.path.join(self.work, "prefix")):
            run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
            run(["wineserver", "-w"], stderr=subprocess.DEVNULL)
        if self.xvfb is not None:
            self.xvfb.kill()
        shutil.rmtree(os.path.join(self.work, "prefix"), ignore_errors=True)


def sessions_in(arguments):
    """The sessions named, and those of the folders named that run to their end (no .stderr
    beside them); which of those write a picture, their steps tell."""
    found = []
    for argument in arguments:
        if os.path.isdir(argument):
            found += [path for path in sorted(glob.glob(os.path.join(argument, "*.ksc")))
                      if not os.path.exists(path[:-4] + ".stderr")]
        else:
            found.append(argument)
    return found


def main():
    if len(sys.argv) < 7:
        sys.exit(__doc__.splitlines()[0])
    korzenik, script_exe, steps_exe, check, work = (os.path.abspath(a) for a in sys.argv[1:6])
    found = sessions_in([os.path.abspath(a) for a in sys.argv[6:]])
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    os.chdir(work)
    test = WindowTest(korzenik, script_exe, check, work)
    started = time.monotonic()
    try:
        test.start_display()
        test.make_prefix()
        test.layout = Layout(steps_exe)
        named = {os.path.abspath(a) for a in sys.argv[6:] if not os.path.isdir(a)}
        sessions = [s for s in (Session(path, work, steps_exe) for path in found)
                    if s.pictures or s.path in named]
        test.checker = Checker(check)
        ink = {}
        for i, session in enumerate(sessions):
            ink[96] = test.play(session) or ink.get(96)
            if i == len(sessions) - 1:
                test.keyboard()
            test.close_window()
        test.lone_console()
        test.checker.close()
        test.checker = None
        # The demo at every scale, and each other session at one of them.
        demo = [s for s in sessions if s.name == "demo"]
        others = [s for s in sessions if s.name != "demo"]
        for n, dpi in enumerate(SCALED_DPIS):
            test.set_dpi(dpi)
            test.checker = Checker(check)
            for session in demo + others[n::len(SCALED_DPIS)]:
                ink[dpi] = test.play(session, dpi) or ink.get(dpi)
                test.close_window()
            test.checker.close()
            test.checker = None
        for dpi in SCALED_DPIS:
            if ink[96] is None or ink[dpi] is None or ink[dpi] < round(ink[96] * dpi / 96) - 1:
                raise Failure(f"the label's text is {ink.get(dpi)} pixels high at {dpi} dpi, "
                              f"{ink.get(96)} at 96")
    except (Failure, subprocess.TimeoutExpired, OSError) as error:
        print(f"window test: {error}", file=sys.stderr)
        test.fail_screenshot()
        return 1
    finally:
        test.stop()
    print(f"window test: passed, {len(sessions)} sessions in {time.monotonic() - started:.0f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
