#!/bin/sh
# korzenik with no display, and with an unknown platform: exit status 1 and one line that says
# so, instead of the toolkit's abort. Usage: no_display.sh PATH/TO/korzenik
korzenik=$1
failed=0

expect() {
    expected=$1
    shift
    out=$(timeout 30 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
          "$@" "$korzenik" 2>&1)
    status=$?
    if [ "$status" -ne 1 ] || [ "$out" != "$expected" ]; then
        echo "FAIL: $* korzenik: status $status, output:"
        echo "$out"
        failed=1
    fi
}

expect "korzenik: no display found; korzenik-script runs sessions without one"
expect "korzenik: no display found (platform \"nowhere\"); korzenik-script runs sessions without one" \
    QT_QPA_PLATFORM=nowhere
exit $failed
