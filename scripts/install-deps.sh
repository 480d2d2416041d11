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
    libglib2.0-dev liburiparser-dev libsqlite3-dev libxcb1-dev libxcb-ewmh-dev
    libwayland-dev wayland-protocols fonts-noto-cjk desktop-file-utils dpkg-dev
)
test=(
    libgtest-dev libgmock-dev libbenchmark-dev clang clang-format ccache
    appstream lintian
    xvfb xauth xdotool wmctrl openbox x11-utils
    dbus-daemon libglib2.0-bin mutter kwin-wayland kwin-x11 plasma-wayland-protocols
    python3-dbus python3-pyatspi at-spi2-core chromium firefox-esr sqlite3 imagemagick wl-clipboard xclip
)

packages=("${build[@]}")
case "${1:-}" in
"") ;;
test) packages+=("${test[@]}") ;;
*) echo "usage: install-deps.sh [test]" >&2; exit 2 ;;
esac

# Debian's /usr/bin/chromium takes its switches from files in /etc/chromium.d
# only. The tests start the real Chromium with a few of their own (as root it
# needs --no-sandbox); this hook adds them only when a test asks.
chromium_hook=/etc/chromium.d/orlim-tests
install_chromium_hook() {
    [ -d /etc/chromium.d ] && [ ! -e "$chromium_hook" ] || return 0
    $sudo tee "$chromium_hook" >/dev/null <<'HOOK'
# Installed by Orlim's test setup: the switches its tests give the Chromium
# they start. Nothing happens unless ORLIM_TEST_CHROMIUM_FLAGS is set.
if [ -n "$ORLIM_TEST_CHROMIUM_FLAGS" ]; then
    export CHROMIUM_FLAGS="$CHROMIUM_FLAGS $ORLIM_TEST_CHROMIUM_FLAGS"
fi
HOOK
}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ "${1:-}" = test ]; then
    # The sanitizer runtime that matches the clang installed (14 on Debian 12,
    # 19 on Debian 13).
    clang_major=$(clang -dumpversion | cut -d. -f1)
    runtime="libclang-rt-$clang_major-dev"
    if ! dpkg-query -W -f='${Status}' "$runtime" 2>/dev/null | grep -q "install ok installed"; then
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$runtime"
    fi
    install_chromium_hook
fi
