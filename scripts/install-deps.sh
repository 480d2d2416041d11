#!/usr/bin/env bash
# Installs the Debian packages Orlim needs to build and test, only when some are
# missing. Never asks questions; uses sudo when not run as root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
    libglib2.0-dev liburiparser-dev libxcb1-dev libxcb-ewmh-dev
    libwayland-dev wayland-protocols qt6-base-private-dev qt6-wayland
    libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
    dpkg-dev appstream lintian
    desktop-file-utils xvfb xauth xdotool wmctrl openbox fonts-noto-cjk
    dbus-daemon libglib2.0-bin mutter kwin-wayland python3-dbus python3-pyatspi at-spi2-core
)

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
