#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Orlim needs, only when some are missing. Never
# asks questions; uses sudo when not run as root.
#
#   install-deps.sh         what building and running Orlim need
#   install-deps.sh test    that, and what the tests, benchmarks and CI add
set -euo pipefail

build=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-private-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins qt6-wayland libgl-dev
    libglib2.0-dev liburiparser-dev libxcb1-dev libxcb-ewmh-dev
    libwayland-dev wayland-protocols fonts-noto-cjk desktop-file-utils dpkg-dev
)
test=(
    libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
    appstream lintian
    xvfb xauth xdotool wmctrl openbox
    dbus-daemon libglib2.0-bin mutter kwin-wayland kwin-x11 plasma-wayland-protocols
    python3-dbus python3-pyatspi at-spi2-core chromium
)

packages=("${build[@]}")
case "${1:-}" in
"") ;;
test) packages+=("${test[@]}") ;;
*) echo "usage: install-deps.sh [test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
