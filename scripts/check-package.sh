#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, checks it with lintian, installs it on this
# machine and checks what a user would: `orlim` on PATH, its desktop entry where
# GIO finds it, and `orlim --version` running. Needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

make --no-print-directory package
deb=$(ls build-package/orlim_*.deb)

# `cmake --install` puts the same files in the same places as the package.
stage=build-package/stage
rm -rf "$stage"
DESTDIR="$PWD/$stage" cmake --install build-package --prefix /usr >/dev/null
diff -u <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\./, "", $6); print $6}' | sort) \
        <(cd "$stage" && find . ! -type d | sed 's/^\.//' | sort)

# A distribution's own libexec folder (Arch: lib): `orlim` still finds the
# application in the staged install.
cmake -S . -B build-package -DCMAKE_INSTALL_LIBEXECDIR=lib >/dev/null
cmake --build build-package >/dev/null
rm -rf "$stage-lib"
DESTDIR="$PWD/$stage-lib" cmake --install build-package --prefix /usr >/dev/null
test -x "$stage-lib/usr/lib/orlim/orlim-app"
"$stage-lib/usr/bin/orlim" --version
cmake -S . -B build-package -DCMAKE_INSTALL_LIBEXECDIR=libexec >/dev/null

# Errors and warnings fail; informational tags are printed for the record.
if lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges'; then :; fi
lintian --fail-on error,warning "$deb" >/dev/null 2>&1

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --reinstall "./$deb" >/dev/null
command -v orlim
orlim --version
test -x /usr/libexec/orlim/orlim-app
# Read all of gio's answer: `grep -q` would stop reading at the first match and
# leave gio to die of SIGPIPE, which pipefail reports as a failure.
handlers=$(XDG_DATA_HOME=/nonexistent XDG_DATA_DIRS=/usr/share gio mime x-scheme-handler/https)
[[ $handlers == *orlim.desktop* ]] || { echo "orlim.desktop is not an https handler"; exit 1; }
echo "package ok: $deb"
