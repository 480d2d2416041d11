#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Orlim's folders are floors, lowest first: platform, chrome, rules, ui, app.
# A file may include its own floor and those below, never one above. Prints
# every include that reaches up and fails if there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"
floors=(platform chrome rules ui app)
level() {
    local i
    for i in "${!floors[@]}"; do
        [ "${floors[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}
status=0
while IFS= read -r -d '' file; do
    own=$(level "${file%%/*}")
    while IFS= read -r included; do
        [ "$(level "$included")" -gt "$own" ] || continue
        echo "src/$file includes $included/, a floor above its own"
        status=1
    done < <(sed -n 's|^#include "\([a-z]*\)/.*|\1|p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | tr '\n' '\0')
exit "$status"
