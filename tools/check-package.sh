#!/usr/bin/env bash
# Checks a built .deb: its dependencies were detected, lintian (pedantic) reports nothing at all,
# and the desktop entry it ships passes desktop-file-validate.
# Usage: tools/check-package.sh FILE.deb
set -euo pipefail
deb=${1:?usage: tools/check-package.sh FILE.deb}

echo "== $deb"
dpkg-deb --field "$deb" Package Version Depends
depends=$(dpkg-deb --field "$deb" Depends)
if [ -z "$depends" ] || ! grep -q 'libqt6widgets6' <<<"$depends"; then
    echo "check-package: the shared-library dependencies were not detected" >&2
    exit 1
fi

echo "== lintian"
lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$deb"

echo "== desktop-file-validate"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"
desktop-file-validate "$tmp"/usr/share/applications/*.desktop
echo "check-package: ok"
