#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Orlim's folders are floors, lowest first: text, platform, instance, actions,
# browser, rules, ui, app. A file may include its own floor and those below, never one above.
# The interface is rooms by what the user sees: the shared look at the bottom,
# the windows' placement and keys on it, then the picker, the settings, the
# tray and the notice of links not opened, side by side, none of which
# includes another. Prints every include that
# breaks this and fails if there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"
# The room of a path: its folder under ui/, else its top folder.
room() {
    case "$1" in
    ui/*/*) local rest="${1#ui/}"; echo "ui/${rest%%/*}" ;;
    *) echo "${1%%/*}" ;;
    esac
}
level() {
    case "$1" in
    text) echo 0 ;;
    platform) echo 1 ;;
    instance) echo 2 ;;
    actions) echo 3 ;;
    browser) echo 4 ;;
    rules) echo 5 ;;
    ui/look) echo 6 ;;
    ui/window) echo 7 ;;
    ui/picker | ui/settings | ui/tray | ui/notice) echo 8 ;;
    app) echo 9 ;;
    *) echo 99 ;;
    esac
}
status=0
while IFS= read -r -d '' file; do
    own=$(room "$file")
    [ "$(level "$own")" -ne 99 ] || { echo "src/$file is in no known room"; status=1; continue; }
    while IFS= read -r included; do
        target=$(room "$included")
        [ "$target" = "$own" ] && continue
        [ "$(level "$target")" -lt "$(level "$own")" ] && continue
        echo "src/$file includes $included, in $target: not below its own room ($own)"
        status=1
    done < <(sed -n 's|^#include "\([a-z]*/[^"]*\)".*|\1|p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | tr '\n' '\0')
exit "$status"
