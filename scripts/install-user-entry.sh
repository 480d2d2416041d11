#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts a desktop entry for the Orlim at $1 under ~/.local/share/applications, so
# the desktop offers it as a web browser, and an icon beside it. Used by `make run`.
set -euo pipefail
orlim="${1:?usage: install-user-entry.sh /path/to/orlim}"
here="$(cd "$(dirname "$0")/.." && pwd)"
data="${XDG_DATA_HOME:-$HOME/.local/share}"

mkdir -p "$data/applications" "$data/icons/hicolor/scalable/apps"
sed "s|^Exec=orlim %U|Exec=$orlim %U|" "$here/data/orlim.desktop" > "$data/applications/orlim.desktop"
cp "$here/data/icons/hicolor/scalable/apps/orlim.svg" "$data/icons/hicolor/scalable/apps/orlim.svg"
if command -v update-desktop-database >/dev/null 2>&1; then
    update-desktop-database -q "$data/applications" || true
fi
