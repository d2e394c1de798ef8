#!/bin/sh
# korzenik with no display, and with an unknown platform: exit status 1 and one line that says
# so, instead of the toolkit's abort; --help and --version answer without one. Usage:
# no_display.sh PATH/TO/korzenik
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
for option in --help --version; do
    out=$(timeout 30 env -u DISPLAY -u WAYLAND_DISPLAY "$korzenik" $option 2>&1)
    status=$?
    case $option/$status/$out in
    --help/0/usage:\ korzenik*|--version/0/korzenik\ [0-9]*) ;;
    *) echo "FAIL: korzenik $option: status $status, output:"; echo "$out"; failed=1 ;;
    esac
done
exit $failed
