#!/bin/sh
# Hostile and careless input to korzenik-script, one fault per check:
#   hostile_input.sh PROGRAM stream   an endless script under a memory limit is run as it is read
#   hostile_input.sh PROGRAM picture  a picture that cannot be written leaves the old file intact
#   hostile_input.sh PROGRAM reason   a script that cannot be read says why
#   hostile_input.sh PROGRAM usage    a bad option is named, then the whole usage text; the help
#                                     fits a console of 80 columns
#   hostile_input.sh PROGRAM special  a picture never replaces what is not a regular file, and a
#                                     name near the file system's limit still fits
#   hostile_input.sh PROGRAM mode     a replaced file keeps its mode
#   hostile_input.sh PROGRAM readonly a file whose mode lets nobody write it is never replaced,
#                                     not even by root
#   hostile_input.sh PROGRAM links    a link to a regular file has the file replaced in its own
#                                     folder and stays a link
#   hostile_input.sh PROGRAM dangling a link to nothing is refused, not followed
#   hostile_input.sh PROGRAM descriptors  the process's own descriptors (/dev/stdout, /dev/fd/N,
#                                     /proc/self/fd/N, a link to one) are refused like devices;
#                                     /dev/stdout in a /dev of the check's own when run as root
#   hostile_input.sh PROGRAM acl      a replaced file keeps its access list and its user.
#                                     attributes
#   hostile_input.sh PROGRAM leftovers  temporaries a killed program left never block a write
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
readonly)
    for kind in png svg; do
        printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\n%s protected.%s\n' $kind $kind \
            >session.ksc
        printf OLD >protected.$kind
        chmod 444 protected.$kind
        out=$("$program" session.ksc 2>&1 >/dev/null)
        status=$?
        [ $status -eq 2 ] || fail "$kind: exit status $status"
        [ "$out" = "korzenik-script: line 5: cannot write 'protected.$kind': Permission denied" ] ||
            fail "$kind: $out"
        [ "$(cat protected.$kind)" = OLD ] || fail "$kind: the protected file was replaced"
    done
    [ "$(ls -A | wc -l)" -eq 3 ] || fail "left behind: $(ls -A)"
    ;;
links)
    printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\npng chain.png\nsvg chain.svg\n' \
        >session.ksc
    mkdir pictures
    for kind in png svg; do
        printf OLD >pictures/handout.$kind
        ln -s pictures/handout.$kind link.$kind
        ln -s link.$kind chain.$kind
    done
    "$program" session.ksc >/dev/null || fail "exit status $?"
    for kind in png svg; do
        [ -L link.$kind ] && [ -L chain.$kind ] || fail "$kind: a link was replaced"
        [ "$(readlink chain.$kind)" = link.$kind ] || fail "$kind: a link was changed"
    done
    [ "$(head -c 4 pictures/handout.png | od -An -c | tr -d ' ')" = "211PNG" ] ||
        fail "the picture did not reach the linked file"
    grep -q '<svg' pictures/handout.svg || fail "the drawing did not reach the linked file"
    [ "$(ls -A pictures | wc -l)" -eq 2 ] || fail "left behind: $(ls -A pictures)"
    ;;
dangling)
    # A link to nothing is not followed: that would make a file wherever it points.
    printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\npng dangling.png\n' >s.ksc
    ln -s nowhere.png dangling.png
    out=$("$program" s.ksc 2>&1 >/dev/null)
    [ "$out" = "korzenik-script: line 5: cannot write 'dangling.png': not a regular file" ] ||
        fail "dangling: $out"
    [ ! -e nowhere.png ] || fail "a picture was made through a link to nothing"
    ;;
descriptors)
    # Standard output into a file, the picture named by one of the process's descriptors: the
    # transcript is all that reaches the file, and every link stays a link.
    ln -s /proc/self/fd/1 transcript.jsonl
    for target in transcript.jsonl /proc/self/fd/1 /dev/fd/1 /dev/stdout; do
        printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\nstate\nsvg %s\n' "$target" \
            >session.ksc
        if [ "$target" = /dev/stdout ] && [ "$(id -u)" -eq 0 ]; then
            # Root could replace the system's /dev/stdout: it runs in a /dev of its own.
            unshare -m --propagation private sh -c '
                dev=$(mktemp -d) && mount -t tmpfs none "$dev" || exit 125
                cp -a /dev/null /dev/zero /dev/random /dev/urandom /dev/full "$dev"/ || exit 125
                mkdir "$dev/shm" "$dev/pts" || exit 125
                for n in 0 1 2; do ln -s /proc/self/fd/$n "$dev/$(echo stdin stdout stderr |
                    cut -d " " -f $((n + 1)))"; done
                ln -s /proc/self/fd "$dev/fd"
                mount --bind "$dev" /dev || exit 125
                "$0" session.ksc >out.txt 2>err.txt
                echo $? >status.txt
                [ -L /dev/stdout ] || echo "/dev/stdout is no link any more" >>err.txt' \
                "$program" || fail "no mount namespace of the check's own: status $?"
            status=$(cat status.txt)
        else
            "$program" session.ksc >out.txt 2>err.txt
            status=$?
        fi
        [ "$status" -eq 2 ] || fail "$target: exit status $status"
        [ "$(cat err.txt)" = "korzenik-script: line 6: cannot write '$target': not a regular file" ] ||
            fail "$target: $(cat err.txt)"
        grep -q '^{"event":"state"' out.txt && ! grep -q '<svg' out.txt ||
            fail "$target: standard output holds $(head -c 80 out.txt)"
        [ -L transcript.jsonl ] || fail "$target: the link to the descriptor was replaced"
    done
    ;;
acl)
    printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\npng shared.png\n' >session.ksc
    printf OLD >shared.png
    chmod 640 shared.png
    setfacl -m u:nobody:rw shared.png && setfattr -n user.course -v 'Metody numeryczne' shared.png ||
        fail "setfacl or setfattr failed"
    getfacl --absolute-names shared.png >expected.acl
    "$program" session.ksc >/dev/null || fail "exit status $?"
    [ "$(head -c 4 shared.png | od -An -c | tr -d ' ')" = "211PNG" ] || fail "not replaced"
    getfacl --absolute-names shared.png | diff expected.acl - >&2 || fail "the access list changed"
    [ "$(getfattr --only-values -n user.course shared.png)" = "Metody numeryczne" ] ||
        fail "the user. attribute was lost"
    ;;
leftovers)
    # The temporaries a program killed while writing may have left, under any name it ever used.
    printf 'function f(x) = x*x-4\nstart 0\nend 3\nconfirm\npng old.png\nsvg old.svg\n' >session.ksc
    for n in $(seq 0 120); do : >".korzenik-42-$n.tmp"; done
    "$program" session.ksc >/dev/null || fail "exit status $?"
    [ -s old.png ] && [ -s old.svg ] || fail "no picture"
    [ "$(ls -A | wc -l)" -eq 124 ] || fail "left behind: $(ls -A | grep -v '^.korzenik-42-')"
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
    # The help fits a console of 80 columns, which starts a new line after the 80th character.
    width=$("$program" --help | LC_ALL=C.UTF-8 wc -L)
    [ "$width" -lt 80 ] || fail "--help is $width columns wide"
    ;;
*)
    fail "unknown check"
    ;;
esac
