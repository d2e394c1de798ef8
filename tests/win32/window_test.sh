#!/bin/sh
# window_test.sh KORZENIK SCRIPT_EXE WINDOW_CHECK SESSION WORKDIR
#
# Korzenik.exe under Wine on a virtual display (Xvfb), driven with the keyboard and the mouse
# through the session that SESSION describes for korzenik-script: Confirm with nothing chosen, a
# function, an interval with a refused end, the end typed again, Confirm, Auto, Compute. Every
# message box must appear with the caption the transcript names, in its order, and is closed
# with Enter; then the screen must show korzenik-script's picture wherever no control covers the
# client area, and the results list its lines (WINDOW_CHECK). The About box is opened from the
# system menu and closed, and Alt+F4 must end the program with status 0.
#
# Under Wine without a window manager a box or menu that lies wholly over the main window stays
# black until it is moved; the test finds them by caption and never looks at their pixels.
#
# The Wine prefix and the display are the test's own, made in WORKDIR and removed at the end.
set -eu
# Window titles and file names pass between Wine, X and xdotool as UTF-8 only in a UTF-8 locale.
export LC_ALL=C.UTF-8
korzenik=$1 script_exe=$2 check=$3 session=$4 work=$5
wine=/usr/lib/wine/wine64

# A failure leaves a screenshot of the display in WORKDIR/failure.xwd.
fail() {
    echo "window test: $*" >&2
    [ -z "${DISPLAY-}" ] || xwd -root -silent >"$work/failure.xwd" 2>/dev/null || true
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
cd "$work"
xvfb_pid=
korzenik_pid=
cleanup() {
    status=$?
    [ -z "$korzenik_pid" ] || kill "$korzenik_pid" 2>/dev/null || true
    if [ -d "$work/prefix" ]; then
        WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
        WINEPREFIX="$work/prefix" wineserver -w 2>/dev/null || true
    fi
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work/prefix"
    exit $status
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# A display of our own: Xvfb picks a free number and writes it to the file.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>display 2>xvfb.log &
xvfb_pid=$!
i=0
while [ ! -s display ]; do
    i=$((i + 1))
    [ $i -le 100 ] || fail "Xvfb did not start"
    sleep 0.1
done
export DISPLAY=":$(cat display)"

# A Wine prefix of our own, with Wine's fonts in it (Wine does not load them from the package's
# folder) and windows placed by Wine itself, as there is no window manager.
# Its server runs from the start to the end of the test: persistent, so that no program starts
# just as it quits after the last one, and given none of our output streams, or CTest would wait
# for it.
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
wineboot -i </dev/null >/dev/null 2>&1
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
$wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
$wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d Y /f >/dev/null 2>&1

# What the window must show: korzenik-script's picture and transcript of the same session.
$wine "$script_exe" "$session" >expected.jsonl || fail "korzenik-script failed"
picture=$(sed -n 's/^png //p' "$session")
[ -s "$picture" ] || fail "korzenik-script drew no picture"

$wine "$korzenik" &
korzenik_pid=$!
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korzenik$' | head -n 1)
[ -n "$main" ] || fail "the window did not open"

# Gives a window the keyboard focus and waits (20 s at most) until it has it.
focus() { timeout 20 xdotool windowfocus --sync "$1" || fail "window $1 got no focus"; }
# The main window, once it has put the focus back on one of its controls.
focus_main() {
    focus "$main"
    $wine "$check" focus || fail "the focus did not come back to a control"
}
# A click on control $1, once the control has the focus.
click() {
    at=$($wine "$check" centre "$1") || fail "no control $1"
    xdotool mousemove $at click 1
    $wine "$check" focus "$1" || fail "control $1 did not take the focus"
}
# The message boxes the transcript names from its line $1 on, closed in their order with Enter.
close_boxes_from=1
close_boxes() {
    grep -o '"event":"message"[^}]*"caption":"[^"]*"' expected.jsonl |
        sed 's/.*"caption":"//; s/"$//' | sed -n "${close_boxes_from},${1}p" >boxes
    while IFS= read -r caption; do
        box=
        i=0
        while [ -z "$box" ]; do
            i=$((i + 1))
            [ $i -le 200 ] || fail "no message box \"$caption\""
            box=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | grep -vx "$main" |
                head -n 1) || true
            [ -n "$box" ] || sleep 0.1
        done
        focus "$box"
        xdotool key Return
        i=0
        while xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | grep -qx "$box"; do
            i=$((i + 1))
            [ $i -le 100 ] || fail "message box \"$caption\" did not close"
            sleep 0.1
        done
        focus "$main"
    done <boxes
    # The next box may already be up while the main window takes the activation back, so only
    # once the last one is closed can the focus be awaited on the window's controls.
    focus_main
    close_boxes_from=$(($1 + 1))
}

focus_main
# Enter and Escape on "Zatwierdź" (four tab stops after the drop-down) do nothing: a press
# would show two more message boxes than the transcript has.
xdotool key Tab Tab Tab Tab Return Escape
# Confirm with nothing chosen: no function, and start equals end.
xdotool key alt+z
close_boxes 2
# The function (the last of the drop-down) and the interval, typed field after field.
click 1002
xdotool key shift+Tab Down Down Down Down Down Tab
xdotool type -- '-1'
xdotool key Tab
xdotool type -- 'x3'
xdotool key Tab
xdotool type -- '0.001'
xdotool key alt+z
# "Please enter a number."; the press goes on without a function and writes the old interval
# back. Tabbing into a field selects its text, so typing replaces it.
close_boxes 5
click 1002
xdotool key shift+Tab Tab
xdotool type -- '-1'
xdotool key Tab
xdotool type -- '3'
xdotool key alt+z
click 1007
xdotool key alt+l
close_boxes 6

xwd -root -silent >screen.xwd || fail "no screenshot"
$wine "$check" compare "$work/screen.xwd" "$work/$picture" "$work/expected.jsonl" ||
    fail "the window differs from korzenik-script's session"

# The About box from the system menu, where it is the last entry; Enter closes it.
xdotool key alt+space
$wine "$check" menu || fail "Alt+Space opened no system menu"
xdotool key Up Return
about=$(timeout 20 xdotool search --sync --onlyvisible --name '^O projekcie KORZENIK$' | head -n 1)
[ -n "$about" ] || fail "no About box"
focus "$about"
xdotool key Return
i=0
while xdotool search --onlyvisible --name '^O projekcie KORZENIK$' >/dev/null 2>&1; do
    i=$((i + 1))
    [ $i -le 100 ] || fail "the About box did not close"
    sleep 0.1
done

focus_main
xdotool key alt+F4
i=0
while kill -0 "$korzenik_pid" 2>/dev/null; do
    i=$((i + 1))
    [ $i -le 100 ] || fail "Alt+F4 did not close the window"
    sleep 0.1
done
wait "$korzenik_pid" || fail "Korzenik.exe ended with status $?"
korzenik_pid=
echo "window test: passed"
