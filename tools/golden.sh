#!/usr/bin/env bash
# `make golden`: runs every golden session of tests/script with BUILD_DIR's korzenik-script and
# writes what it printed and drew over the expected files: NAME.jsonl, NAME.stderr (kept only for
# a session that stops with status 2) and every picture its `png` lines write into the session's
# folder (replaced only when a pixel differs, so that a new encoding of the same pixels changes
# nothing), and for each `svg NAME.svg` line the picture NAME.png drawn in its place.
# Usage: tools/golden.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:?usage: tools/golden.sh BUILD_DIR}")
cd "$(dirname "$0")/../tests/script"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for script in *.ksc; do
    name=${script%.ksc}
    rm -rf "${work:?}"/*
    status=0
    (cd "$work" && exec "$build/script/korzenik-script" "$OLDPWD/$script") \
        >"$name.jsonl" 2>"$name.stderr" || status=$?
    if [ $status -eq 0 ] && [ ! -s "$name.stderr" ]; then
        rm "$name.stderr"
    elif [ $status -ne 2 ]; then
        echo "golden: $script: exit status $status: $(cat "$name.stderr")" >&2
        exit 1
    fi
    if grep -q '^svg ' "$script"; then
        sed 's/^svg \(.*\)\.svg\(\r\{0,1\}\)$/png \1.png\2/' "$script" >"$work/pictures.ksc"
        (cd "$work" && exec "$build/script/korzenik-script" pictures.ksc) >/dev/null
    fi
    for picture in "$work"/*.png; do
        [ -e "$picture" ] || continue
        golden=$(basename "$picture")
        if [ ! -e "$golden" ] || ! "$build/tests/script/png_compare" "$golden" "$picture" \
                >/dev/null 2>&1; then
            cp "$picture" "$golden"
        fi
    done
done
echo "golden: every session run again; what changed:"
git status --short .
