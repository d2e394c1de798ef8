#!/bin/sh
# Hostile and careless input to korzenik-script, one fault per check:
#   hostile_input.sh PROGRAM stream   an endless script under a memory limit is run as it is read
#   hostile_input.sh PROGRAM picture  a picture that cannot be written leaves the old file intact
#   hostile_input.sh PROGRAM reason   a script that cannot be read says why
# MEMORY_LIMIT_KB (unset under the sanitizers, which reserve far more address space) caps the
# address space of the program.
set -u
program=$1
check=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "hostile_input $check: $*" >&2; exit 1; }

# The program under the memory limit, and stopped after 20 s whatever it does.
limited() {
    if [ -n "${MEMORY_LIMIT_KB:-}" ]; then ulimit -v "$MEMORY_LIMIT_KB" || exit 1; fi
    exec timeout 20 "$program" "$@"
}

case $check in
stream)
    # The first events must arrive while the script is still being written; a program that read
    # the whole script first would print nothing before its memory ran out or its time did. Once
    # the four are read, the pipe closes and takes the program and the generator with it.
    yes confirm | (limited) 2>err | head -n 4 >events
    [ "$(wc -l <events)" -eq 4 ] || fail "no events from an endless script: $(cat err)"
    grep -q '"caption":"Brak funkcji"' events || fail "unexpected events: $(cat events)"
    # One endless line is refused at its limit, not read whole.
    out=$(head -c 1000000 /dev/zero | (limited) 2>&1 >/dev/null)
    status=$?
    [ $status -eq 2 ] || fail "an overlong line: exit status $status"
    [ "$out" = "korzenik-script: line 1: longer than 65536 bytes" ] || fail "overlong: $out"
    ;;
picture)
    printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\npng old.png\n' >session.ksc
    head -c 20000 /dev/urandom >old.png
    cp old.png expected.png
    out=$( (ulimit -f 1; exec "$program" session.ksc) 2>&1 >/dev/null)
    status=$?
    [ $status -eq 2 ] || fail "exit status $status under a file-size limit"
    # The first line: a coverage build's runtime adds its own complaints, its counts being files
    # too large for the same limit.
    case $(printf '%s\n' "$out" | head -n 1) in
    *"cannot write 'old.png': File too large") ;;
    *) fail "message: $out" ;;
    esac
    cmp -s old.png expected.png || fail "the old picture was damaged"
    [ "$(ls)" = "$(printf 'expected.png\nold.png\nsession.ksc')" ] || fail "left behind: $(ls)"
    ;;
reason)
    mkdir folder
    out=$("$program" folder 2>&1 >/dev/null)
    [ "$out" = "korzenik-script: cannot read 'folder': Is a directory" ] || fail "$out"
    ;;
*)
    fail "unknown check"
    ;;
esac
