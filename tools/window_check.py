#!/usr/bin/python3
"""The real window as a user sees it, checked against the scripted session's picture.

Usage: tools/window_check.py BUILD_DIR [OUT_DIR]

For each display scale (100 %, 125 %, 150 %, 175 %, 200 %) the script starts a virtual display
(Xvfb) with a window manager (openbox), starts `korzenik` on it and checks that:
  - the window's frame is centred on the work area, and the About box's frame (opened with the
    Menu key) on the window's;
  - after the demo session (script/demo.ksc) typed and clicked in with xdotool, OK pressed on
    every message box, the window's accessibility tree (at 100 %, read through AT-SPI on the
    display's own D-Bus session by tests/qt/accessibility_check.py) names every control as the
    layout table does and describes the chart, and every device pixel of the client area that no control covers shows the
    pixel of korzenik-script's picture of the same session that it shows: the one under the
    device pixel's centre, the sampling every window of the tool follows (app/display_scale.h).
The screenshots are kept in OUT_DIR (default BUILD_DIR/window-check) to be looked at. Exit status
0 when every check passed, 1 otherwise.

Needs the Debian packages xvfb, openbox, xdotool, x11-utils, python3-pil, dbus-daemon,
at-spi2-core and python3-pyatspi (`make window-check` installs them and runs this); runs under
Debian's own python3, where python3-pil and python3-pyatspi live.
"""

import json
import os
import re
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCREEN = (2560, 1600)
SCALES = (1, 1.25, 1.5, 1.75, 2)
DEMO = os.path.join(ROOT, "script", "demo.ksc")
ACCESSIBILITY = os.path.join(ROOT, "tests", "qt", "accessibility_check.py")


def read_layout(build):
    """The main dialog's layout as the build wrote it from the layout table (layout.json)."""
    with open(os.path.join(build, "layout.json"), encoding="utf-8") as f:
        return json.load(f)


def session_steps(build, script, folder):
    """The script's steps as the scripted host reads them, each with the events it brings (its
    pictures written into folder), the reports left out: [(step, events)]."""
    out = subprocess.run([os.path.join(build, "tests", "script", "session_steps"), "--play", script,
                          folder], text=True, check=True, capture_output=True).stdout
    played = []
    for item in map(json.loads, out.splitlines()):
        if "action" in item:
            played.append((item, []))
        else:
            played[-1][1].append(item)
    return [(step, events) for step, events in played if step["action"] != "state"]


def covered_mask(layout, scale):
    """Device pixels of the client area at scale that a control paints: the white backdrop and
    the inside of the group boxes show the face, every other control covers its rectangle. At a
    fractional scale the toolkit puts a control's edges on the nearest device pixel, so each
    rectangle takes a device pixel more all round."""
    w, h = round(layout["client"]["width"] * scale), round(layout["client"]["height"] * scale)
    margin = 0 if scale == int(scale) else 1
    covered = [bytearray(w) for _ in range(h)]

    def cover(x0, y0, x1, y1):
        left, right = max(0, int(x0 * scale) - margin), min(w, -int(-x1 * scale) + margin)
        for y in range(max(0, int(y0 * scale) - margin), min(h, -int(-y1 * scale) + margin)):
            covered[y][left:right] = b"\x01" * max(0, right - left)

    for c in layout["controls"]:
        x, y, cw, ch = c["x"], c["y"], c["width"], c["height"]
        if c["kind"] == "backdrop":
            continue
        if c["kind"] == "group":  # caption band and the etched lines
            cover(x, y, x + cw, y + 20)
            cover(x, y, x + 2, y + ch)
            cover(x + cw - 2, y, x + cw, y + ch)
            cover(x, y + ch - 2, x + cw, y + ch)
            continue
        cover(x, y, x + cw, y + ch)
    return covered


def run(cmd, env, **kw):
    return subprocess.run(cmd, env=env, check=True, capture_output=True, text=True, **kw).stdout


def start_display():
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen",
                             "0", f"{SCREEN[0]}x{SCREEN[1]}x24"], pass_fds=[write_end],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):  # the server writes it once it accepts clients
        chunk = os.read(read_end, 16)
        if not chunk:
            sys.exit("window_check: Xvfb did not start")
        number += chunk
    os.close(read_end)
    number = number.decode().strip()
    env = dict(os.environ, DISPLAY=f":{number}")
    for key in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"):
        env.pop(key, None)
    wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
    for _ in range(100):  # until the window manager has taken the screen
        if "_NET_SUPPORTING_WM_CHECK(WINDOW)" in run(["xprop", "-root"], env):
            break
        time.sleep(0.05)
    # A D-Bus session of the display's own, with the accessibility bus and registry running
    # before the window starts, so that the window shows in the accessibility tree.
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
    env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    run([ACCESSIBILITY, "--wake"], env, timeout=60)
    return env, [wm, bus, xvfb]


def frame_of(window, env):
    """The window's frame (x, y, width, height) in device pixels, from the manager's extents, or
    None while the manager has not framed the window yet (no extents on it)."""
    info = run(["xwininfo", "-id", window], env)
    get = lambda label: int(re.search(label + r":\s+(-?\d+)", info)[1])
    x, y, w, h = (get("Absolute upper-left X"), get("Absolute upper-left Y"), get("Width"),
                  get("Height"))
    extents = re.findall(r"\d+", run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], env)
                         .partition("=")[2])
    if len(extents) != 4:
        return None
    left, right, top, bottom = (int(v) for v in extents)
    return (x - left, y - top, w + left + right, h + top + bottom), (x, y)


def centred(inner, outer, slack):
    ix, iy, iw, ih = inner
    ox, oy, ow, oh = outer
    return (abs((2 * ix + iw) - (2 * ox + ow)) <= 2 * slack and
            abs((2 * iy + ih) - (2 * oy + oh)) <= 2 * slack)


def wait_until(condition, what, seconds=20):
    """Polls until condition() gives something true and returns it; the machine may be busy, so
    no fixed wait is long enough."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            sys.exit(f"window_check: {what} did not happen within {seconds} s")
        time.sleep(0.05)


def visible_windows(pid, env):
    """The program's visible top-level windows: its dialogs, message boxes, menus and lists."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=env,
                           capture_output=True, text=True)
    return found.stdout.split()


def wait_for_window(name, env):
    out = run(["xdotool", "search", "--sync", "--onlyvisible", "--name", name], env, timeout=20)
    return out.split()[0]


def settled_frame(window, env, placed):
    """The window's frame and client origin once placed(frame) holds, or as they stand after 5 s:
    a window is moved to its place once its frame is known, which takes a while on a busy
    machine."""
    deadline = time.monotonic() + 5
    while True:
        frame = frame_of(window, env)
        if frame and (placed(frame[0]) or time.monotonic() > deadline):
            return frame
        if not frame and time.monotonic() > deadline + 15:
            sys.exit("window_check: the window manager never framed the window")
        time.sleep(0.05)


def active_window(env):
    found = subprocess.run(["xdotool", "getactivewindow"], env=env, capture_output=True, text=True)
    return found.stdout.strip()


def press_keys_in_popup(pid, env, keys, shown):
    """Waits for a menu or list to open (shown: the windows visible before), presses keys in it,
    and waits for it to close."""
    popup = wait_until(lambda: set(visible_windows(pid, env)) - set(shown), "the menu's opening")
    run(["xdotool", "key"] + keys, env)
    wait_until(lambda: not popup & set(visible_windows(pid, env)), "the menu's closing")


def play(steps, layout, pid, origin, scale, env):
    """Types and clicks the session's steps into the window as a user would, OK on each message
    box as it comes up."""
    place = {c["id"]: c for c in layout["controls"]}
    chosen = {}  # each drop-down's item, by control
    ticked = {}  # each check box's state, by control

    def click(control):
        c = place[control]
        h = min(c["height"], 24)  # the drop-down's row includes its list
        run(["xdotool", "mousemove", str(origin[0] + round((c["x"] + c["width"] / 2) * scale)),
             str(origin[1] + round((c["y"] + h / 2) * scale)), "click", "1"], env)
        time.sleep(0.15)

    for step, events in steps:
        action, control, argument = step["action"], step.get("id"), step["argument"]
        if action == "pick":
            # A click opens the list and Escape closes it: the focus is on the drop-down.
            shown = visible_windows(pid, env)
            click(control)
            press_keys_in_popup(pid, env, ["Escape"], shown)
            target, now = layout["items"].index(argument), chosen.get(control, -1)
            if target != now:
                key = "Down" if target > now else "Up"
                run(["xdotool", "key"] + [key] * abs(target - now), env)
            chosen[control] = target
        elif action == "type":
            click(control)
            run(["xdotool", "key", "ctrl+a", "type", "--delay", "20", argument], env)
        elif action == "tick":
            if ticked.get(control, False) != step["on"]:
                click(control)
            ticked[control] = step["on"]
        elif action == "press":
            click(control)
        elif action not in ("png", "svg"):
            sys.exit(f"window_check: cannot play line {step['line']} ('{step['verb']}')")
        for caption in [e["caption"] for e in events if e["event"] == "message"]:
            box = wait_for_window(f"^{re.escape(caption)}$", env)
            wait_until(lambda: active_window(env) == box, f"'{caption}' taking the focus")
            run(["xdotool", "key", "Return"], env)
            wait_until(lambda: box not in visible_windows(pid, env), f"closing '{caption}'")


def check_scale(scale, build, steps, picture, layout, out_dir, failures):
    from PIL import ImageGrab
    env, servers = start_display()
    env["QT_SCALE_FACTOR"] = str(scale)
    window_proc = subprocess.Popen([os.path.join(build, "qt", "korzenik")], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    label = f"{round(scale * 100)} %"
    try:
        pid = window_proc.pid
        window = wait_for_window("^Korzenik$", env)
        frame, (cx, cy) = settled_frame(window, env, lambda f: centred(f, (0, 0) + SCREEN, 1.5))
        if not centred(frame, (0, 0) + SCREEN, 1.5):
            failures.append(f"{label}: the window's frame {frame} is not centred")

        shown = visible_windows(pid, env)
        run(["xdotool", "key", "Menu"], env)  # the focus starts on the drop-down
        press_keys_in_popup(pid, env, ["Down", "Down", "Return"], shown)
        about = wait_for_window("^O projekcie KORZENIK$", env)
        about_frame, _ = settled_frame(about, env, lambda f: centred(f, frame, 1.5))
        if not centred(about_frame, frame, 1.5):
            failures.append(f"{label}: the About box's frame {about_frame} is not centred on "
                            f"the window's {frame}")
        run(["xdotool", "key", "Escape"], env)
        wait_until(lambda: about not in visible_windows(pid, env), "closing the About box")

        play(steps, layout, pid, (cx, cy), scale, env)
        if scale == 1:
            check = subprocess.run([ACCESSIBILITY, str(pid)], env=env, capture_output=True,
                                   text=True, timeout=60)
            if check.returncode != 0:
                failures.append(f"{label}: {check.stdout.strip()} {check.stderr.strip()}")

        def shown(device):
            """The window pixel a device pixel shows: the one under its centre."""
            return int((device + 0.5) / scale)

        covered = covered_mask(layout, scale)
        left, top = layout["client"]["left"], layout["client"]["top"]

        def wrong_pixels(shot):
            screen, fb = shot.load(), picture.load()
            wrong = []
            for dy, row in enumerate(covered):
                y = shown(dy)
                for dx, cover in enumerate(row):
                    x = shown(dx)
                    if cover:
                        continue
                    if screen[cx + dx, cy + dy] != fb[x + left, y + top]:
                        wrong.append((x, y))
            return wrong

        # A closed message box leaves its pixels on the screen until the window has painted over
        # them, which takes a while on a busy machine: the screen is looked at again until it
        # shows the picture, for a few seconds.
        deadline = time.monotonic() + 5
        while True:
            shot = ImageGrab.grab(xdisplay=env["DISPLAY"]).convert("RGB")
            wrong = wrong_pixels(shot)
            if not wrong or time.monotonic() > deadline:
                break
            time.sleep(0.2)
        shot.save(os.path.join(out_dir, f"window-{round(scale * 100)}.png"))
        if wrong:
            failures.append(f"{label}: {len(wrong)} device pixels differ from the picture, "
                            f"first at client pixel {wrong[0]}")
        print(f"{label}: window {frame}, About {about_frame}, "
              f"{len(wrong)} uncovered device pixels differ")
    finally:
        for proc in [window_proc] + servers:
            proc.terminate()
            proc.wait()


def main(argv):
    if not argv:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    build = os.path.abspath(argv[0])
    out_dir = argv[1] if len(argv) > 1 else os.path.join(build, "window-check")
    from PIL import Image
    os.makedirs(out_dir, exist_ok=True)
    layout = read_layout(build)
    with tempfile.TemporaryDirectory() as tmp:
        # The session's steps, and its picture as it stands at its end, where the window is
        # looked at.
        steps = session_steps(build, DEMO, tmp)
        png = os.path.join(tmp, "window-check.png")
        with open(DEMO, encoding="utf-8") as f:
            script = f.read() + f"\npng {png}\n"
        for step, _ in steps:  # the session's own pictures, in the folder
            if step["action"] in ("png", "svg"):
                os.makedirs(os.path.join(tmp, os.path.dirname(step["argument"])), exist_ok=True)
        subprocess.run([os.path.join(build, "script", "korzenik-script")], input=script, cwd=tmp,
                       text=True, check=True, stdout=subprocess.DEVNULL)
        picture = Image.open(png).convert("RGB")
        picture.save(os.path.join(out_dir, "script.png"))
    failures = []
    for scale in SCALES:
        check_scale(scale, build, steps, picture, layout, out_dir, failures)
    for failure in failures:
        print("FAILED:", failure)
    print(f"screenshots in {out_dir}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
