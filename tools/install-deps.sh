#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when all are present.
# Usage: tools/install-deps.sh [extra-package...]
set -euo pipefail

packages=(cmake ninja-build g++ pkgconf qt6-base-dev qt6-translations-l10n libpng-dev libstb-dev
          libgtest-dev libbenchmark-dev libfast-float-dev locales librsvg2-bin libacl1-dev
          libattr1-dev acl attr "$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
