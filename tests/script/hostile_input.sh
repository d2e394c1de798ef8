#!/bin/sh
# Hostile and careless input to korzenik-script, one fault per check:
#   hostile_input.sh PROGRAM stream   an endless script under a memory limit is run as it is read
#   hostile_input.sh PROGRAM picture  a picture that cannot be written leaves the old file intact
#   hostile_input.sh PROGRAM reason   a script that cannot be read says why
#   hostile_input.sh PROGRAM usage    a bad option is named, then the whole usage text
#   hostile_input.sh PROGRAM special  a picture never replaces what is not a regular file, and a
#                                     name near the file system's limit still fits
#   hostile_input.sh PROGRAM mode     a replaced file keeps its mode
#   hostile_input.sh PROGRAM killed   a program killed while it writes a picture (by the file-size
#                                     limit's signal, which it must not ignore) leaves the old
#                                     picture intact and nothing beside it
#   hostile_input.sh PROGRAM streams  a closed or full standard stream is a failure, and a script
#                                     named by a pipe (/dev/stdin) runs as from a file
# MEMORY_LIMIT_KB (unset under the sanitizers, which reserve far more address space) caps the
# address space of the program. FILE_SIZE_REASON is the reason the program gives for a write
# past the file-size limit ("File too large"; Wine has a word of its own).
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
picture | killed)
    printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\npng old.png\n' >session.ksc
    head -c 20000 /dev/urandom >old.png
    cp old.png expected.png
    # Once without the limit first: an emulator makes what it needs on its first run (Wine its
    # prefix and its server), which would not get made under it.
    "$program" --version >/dev/null 2>&1
    out=$( (ulimit -f 1; exec "$program" session.ksc) 2>&1 >/dev/null)
    status=$?
    if [ "$check" = killed ]; then
        [ $status -gt 128 ] || fail "not killed: exit status $status"
    else
        [ $status -eq 2 ] || fail "exit status $status under a file-size limit"
        # The first line: a coverage build's runtime adds its own complaints, its counts being
        # files too large for the same limit.
        case $(printf '%s\n' "$out" | head -n 1) in
        *"cannot write 'old.png': ${FILE_SIZE_REASON:-File too large}") ;;
        *) fail "message: $out" ;;
        esac
    fi
    cmp -s old.png expected.png || fail "the old picture was damaged"
    [ "$(ls -A)" = "$(printf 'expected.png\nold.png\nsession.ksc')" ] ||
        fail "left behind: $(ls -A)"
    ;;
reason)
    mkdir folder
    out=$("$program" folder 2>&1 >/dev/null)
    [ "$out" = "korzenik-script: cannot read 'folder': Is a directory" ] || fail "$out"
    ;;
special)
    printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\npng %s\n' >session.ksc
    mkfifo fifo
    ln -s fifo link
    for target in fifo link; do
        sed "s|^png .*|png $target|" session.ksc >s.ksc
        out=$("$program" s.ksc 2>&1 >/dev/null)
        status=$?
        [ $status -eq 2 ] || fail "$target: exit status $status"
        [ "$out" = "korzenik-script: line 5: cannot write '$target': not a regular file" ] ||
            fail "$target: $out"
    done
    [ -p fifo ] && [ -L link ] || fail "a special file was replaced"
    # A name near the file system's limit still fits, the temporary name beside it too.
    long=$(printf '%0250d.png' 0)
    sed "s|^png .*|png $long|" session.ksc >s.ksc
    "$program" s.ksc >/dev/null || fail "a long name: exit status $?"
    [ "$(ls -A | wc -l)" -eq 5 ] || fail "left behind: $(ls -A)"
    ;;
mode)
    # A private picture stays private.
    printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\npng private.png\n' >session.ksc
    echo secret >private.png
    chmod 600 private.png
    "$program" session.ksc >/dev/null || fail "exit status $?"
    [ "$(stat -c %a private.png)" = 600 ] || fail "mode $(stat -c %a private.png)"
    [ "$(ls -A | wc -l)" -eq 2 ] || fail "left behind: $(ls -A)"
    ;;
streams)
    printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\ncompute\n' >session.ksc
    "$program" session.ksc >expected || fail "the session: exit status $?"
    out=$("$program" session.ksc 2>&1 >&-)
    status=$?
    [ $status -eq 2 ] || fail "closed standard output: exit status $status"
    [ "$out" = "korzenik-script: cannot write the transcript: Bad file descriptor" ] ||
        fail "closed standard output: $out"
    out=$("$program" 2>&1 <&-)
    status=$?
    [ $status -eq 2 ] || fail "closed standard input: exit status $status"
    [ "$out" = "korzenik-script: cannot read standard input: Bad file descriptor" ] ||
        fail "closed standard input: $out"
    for option in --help --version; do
        "$program" $option >/dev/full 2>/dev/null
        status=$?
        [ $status -eq 2 ] || fail "$option into a full disk: exit status $status"
    done
    out=$(cat session.ksc | "$program" /dev/stdin 2>&1)
    status=$?
    [ $status -eq 0 ] || fail "a script from a pipe: exit status $status: $out"
    [ "$out" = "$(cat expected)" ] || fail "a script from a pipe: $out"
    ;;
usage)
    out=$("$program" --bogus 2>&1 >/dev/null)
    status=$?
    [ $status -eq 2 ] || fail "exit status $status"
    case $out in
    "korzenik-script: unknown option '--bogus'"*"png PATH"*) ;;
    *) fail "$out" ;;
    esac
    ;;
*)
    fail "unknown check"
    ;;
esac
