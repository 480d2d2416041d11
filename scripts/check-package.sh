#!/usr/bin/env bash
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
XDG_DATA_HOME=/nonexistent XDG_DATA_DIRS=/usr/share gio mime x-scheme-handler/https | grep -q orlim.desktop
echo "package ok: $deb"
