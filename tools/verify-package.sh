#!/usr/bin/env bash
# Installs a built .deb on this machine, runs the demo session with the installed
# korzenik-script and starts the installed korzenik on a virtual display (it quits after its
# first frame), then removes the package again. Needs root (or sudo), xvfb-run.
# Usage: tools/verify-package.sh FILE.deb
set -euo pipefail
deb=$(realpath "${1:?usage: tools/verify-package.sh FILE.deb}")
cd "$(dirname "$0")/.."

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if dpkg-query -W -f='${Status}' korzenik 2>/dev/null | grep -q "install ok installed"; then
    echo "verify-package: korzenik is already installed; remove it first" >&2
    exit 1
fi
remove() { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q korzenik >/dev/null; }
trap remove EXIT

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get install -y -q "$deb"

echo "== the demo session with the installed korzenik-script"
out=$(mktemp -d)
sed "s|png out/demo.png|png $out/demo.png|" script/demo.ksc | /usr/bin/korzenik-script >"$out/demo.jsonl"
grep -q '"Wyznaczono miejsce zerowe funkcji w punkcie x=1.99995"' "$out/demo.jsonl"
test -s "$out/demo.png"
echo "transcript: $(wc -l <"$out/demo.jsonl") events, picture: $(stat -c %s "$out/demo.png") bytes"

echo "== the installed korzenik on a virtual display"
KORZENIK_QUIT_AFTER_FIRST_FRAME=1 timeout 60 \
    xvfb-run -a -s "-screen 0 1024x768x24" /usr/bin/korzenik
echo "korzenik showed its window and quit"
rm -rf "$out"
echo "verify-package: ok (the package is removed again)"
