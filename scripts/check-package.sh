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

# Errors and warnings fail; informational tags are explained in the README.
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
