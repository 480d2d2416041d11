#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's screenshots under Xvfb with GNOME's window manager (mutter
# on X11, which honours the windows' hints; trayer as the tray host, when
# installed), and one of the picker under mutter as a Wayland compositor; needs
# imagemagick (import, convert) besides what the tests install:
# scripts/screenshots.sh BUILD_DIR [RULES_BUILD_DIR]. The desktop's light or
# dark preference comes from a stand-in portal, switched while Orlim runs.
set -euo pipefail
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || exec dbus-run-session -- "$0" "$@"
build="$(realpath "${1:-build}")"
rules_build="${2:-}"
[ -n "$rules_build" ] && rules_build="$(realpath "$rules_build")"
out="$(cd "$(dirname "$0")/.." && pwd)/docs/screenshots"
work="$(mktemp -d)"
display=":$((150 + $$ % 100))"
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

mkdir -p "$out" "$work"/{home,config/google-chrome/Default,data/applications,dd,rt}
chmod 700 "$work/rt"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_DATA_DIRS="$work/dd:/usr/share" XDG_RUNTIME_DIR="$work/rt" DISPLAY="$display"
export ORLIM_FAKE_CHROME_LOG="$work/chrome.log"
unset QT_QPA_PLATFORM
printf '[Desktop Entry]\nType=Application\nName=Chrome\nExec=%s %%U\n' \
    "$build/fake-chrome" > "$work/data/applications/google-chrome.desktop"
convert -size 96x96 radial-gradient:'#ffd27a'-'#d2601a' "$work/config/google-chrome/Default/picture.png"

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset & pids+=($!)
sleep 1
mutter --x11 --replace --sm-disable 2>/dev/null & pids+=($!)
until xdotool get_desktop >/dev/null 2>&1; do sleep 0.1; done
if command -v trayer >/dev/null; then trayer --edge top --align right --widthtype request & pids+=($!); fi

local_state() { # directories..., the first with a picture
    python3 - "$@" > "$work/config/google-chrome/Local State" <<'PY'
import json, sys
names = {"Default": "個人用", "Profile 1": "Work", "Profile 2": "田中 (Family)", "Profile 3": "Side project",
         "Profile 4": "Testing", "Profile 5": "Client A", "Profile 6": "Client B", "Profile 7": "Research",
         "Profile 8": "Shopping", "Profile 9": "Banking", "Profile 10": "Old account"}
colours = [-14654801, -16732594, -2937041, -5317, -10011977, -1086464, -12627531, -16738680, -4056997, -6543440, -8825528]
cache = {}
for i, d in enumerate(sys.argv[1:]):
    cache[d] = {"name": names.get(d, d), "default_avatar_fill_color": colours[i % len(colours)],
                "default_avatar_stroke_color": -1}
cache["Default"]["gaia_picture_file_name"] = "picture.png"
print(json.dumps({"profile": {"info_cache": cache, "profiles_order": sys.argv[1:]}}))
PY
}

shoot() { # window title, file
    local id
    for _ in $(seq 50); do id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$id" ] && break; sleep 0.1; done
    # import with no window would wait for a click: say which window never came.
    [ -n "$id" ] || { echo "no window titled $1 for $2" >&2; return 1; }
    sleep 0.4
    import -frame -window "$id" "$out/$2"
    echo "wrote $out/$2"
}

# The application itself, in the foreground: `orlim` would leave it running
# in a session of its own, out of reach of the cleanup.
start() { "$1/orlim-app" "${@:2}" & pids+=($!); }

# Firefox ESR beside Chrome, both shown in one picker; "off" shows Chrome alone again.
two_browsers() {
    if [ "${1:-}" = off ]; then rm -f "$work/config/orlim/browser.json"; return; fi
    printf '[Desktop Entry]\nType=Application\nName=Firefox ESR\nExec=%s %%u\n' \
        "$build/fake-chrome" > "$work/data/applications/firefox-esr.desktop"
    mkdir -p "$work/config/mozilla/firefox" "$work/config/orlim"
    # As Firefox's profile manager keeps them: names and theme colours in its store.
    printf '[Profile%s]\nName=%s\nIsRelative=1\nPath=%s\nStoreID=5a1e\n\n' 0 仕事用 a1.work \
        1 Personal b2.personal 2 "Open source" c3.oss > "$work/config/mozilla/firefox/profiles.ini"
    mkdir -p "$work/config/mozilla/firefox/Profile Groups"
    rm -f "$work/config/mozilla/firefox/Profile Groups/5a1e.sqlite"
    sqlite3 "$work/config/mozilla/firefox/Profile Groups/5a1e.sqlite" <<'SQL'
CREATE TABLE Profiles (id INTEGER NOT NULL, path TEXT NOT NULL UNIQUE, name TEXT NOT NULL,
    avatar TEXT NOT NULL, themeId TEXT NOT NULL, themeFg TEXT NOT NULL, themeBg TEXT NOT NULL,
    PRIMARY KEY(id));
INSERT INTO Profiles VALUES (1, 'a1.work', '仕事用', 'briefcase', 'default', 'rgb(255,255,255)', 'rgb(0,97,224)'),
    (2, 'b2.personal', 'Personal', 'flower', 'default', 'rgb(255,255,255)', 'rgb(148,51,198)'),
    (3, 'c3.oss', 'Open source', 'book', 'default', 'rgb(255,255,255)', 'rgb(42,122,60)');
SQL
    echo '{"browser": "google-chrome.desktop", "shown": ["google-chrome.desktop", "firefox-esr.desktop"]}' \
        > "$work/config/orlim/browser.json"
}

# The desktop's light or dark preference, served by a stand-in portal: light
# first, switched to dark below while Orlim runs.
mkfifo "$work/portal-in"
/usr/bin/python3 "$(dirname "$0")/../tests/desktop/portal.py" readone 2 < "$work/portal-in" \
    > "$work/portal.log" & pids+=($!)
exec 7>"$work/portal-in"
until grep -q ready "$work/portal.log"; do sleep 0.1; done

local_state Default "Profile 1" "Profile 2"
first_app=${#pids[@]} # the processes from here on are Orlim's
start "$build" "https://github.com/example/orlim/pull/42?tab=files#diff-7f3a"
shoot Orlim picker.png
"$build/orlim" "https://mail.example.co.jp/inbox/8812" "https://calendar.example.com/event/31"
shoot Orlim picker-waiting.png
xdotool key ctrl+Escape
"$build/orlim" "https://nam02.safelinks.protection.outlook.com/?url=https%3A%2F%2Fintranet.example.co.jp%2Fhr%2Fpayslips%2F2026-12&data=05%7C02%7Cuser%40example.com%7C1f2e3d4c&sdata=AbCdEf%2BgHi%3D&reserved=0"
shoot Orlim picker-wrapped.png
xdotool key Escape
local_state Default "Profile 1" "Profile 2" "Profile 3" "Profile 4" "Profile 5" "Profile 6" \
    "Profile 7" "Profile 8" "Profile 9" "Profile 10"
"$build/orlim" "https://docs.example.com/handbook/chapter-7/section-3?lang=ja"
shoot Orlim picker-eleven.png
xdotool key Escape
local_state Default "Profile 1" "Profile 2"
two_browsers
"$build/orlim" "https://github.com/example/orlim/pull/42?tab=files#diff-7f3a"
shoot Orlim picker-two-browsers.png
xdotool key Escape
two_browsers off
local_state Default "Profile 1" "Profile 2"
"$build/orlim"
shoot "Orlim 設定" settings.png
xdotool key ctrl+w 2>/dev/null || true
# One profile hidden from the picker, beside Firefox's.
two_browsers
echo '{"shown": ["google-chrome.desktop", "firefox-esr.desktop"], "hidden": {"google-chrome.desktop": ["Profile 2"]}}' \
    > "$work/config/orlim/browser.json"
"$build/orlim"
shoot "Orlim 設定" settings-hidden.png
# The list of browsers alone, cut from it.
convert "$out/settings-hidden.png" -crop 463x135+0+165 +repage "$out/settings-browsers.png"
echo "wrote $out/settings-browsers.png"
xdotool key ctrl+w 2>/dev/null || true
two_browsers off

# Dark, switched while Orlim runs.
echo "set 1" >&7
sleep 0.5
"$build/orlim" "https://github.com/example/orlim/pull/42?tab=files#diff-7f3a"
shoot Orlim picker-dark.png
xdotool key Escape
two_browsers
"$build/orlim" "https://github.com/example/orlim/pull/42?tab=files#diff-7f3a"
shoot Orlim picker-two-browsers-dark.png
xdotool key Escape
two_browsers off
"$build/orlim"
shoot "Orlim 設定" settings-dark.png
# Closed, or the list of links not opened below would wait for it to let the
# keyboard go.
wmctrl -c "Orlim 設定"
echo "set 2" >&7
sleep 0.5

if command -v trayer >/dev/null; then
    # The tray icon is Orlim's one small window.
    for w in $(xdotool search --classname orlim); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$WIDTH" -lt 64 ] && [ "$HEIGHT" -lt 64 ] && break
    done
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
    sleep 0.6
    import -window root -crop 300x130+980+0 "$out/tray-menu.png"
    echo "wrote $out/tray-menu.png"
    xdotool key Escape
fi

# Links that could not be opened: a browser that fails at once, and no
# notification service, so Orlim's own window lists them.
printf '[Desktop Entry]\nType=Application\nName=Chrome\nExec=/bin/false %%U\n' \
    > "$work/data/applications/google-chrome.desktop"
rm -f "$work/config/google-chrome/Local State"
"$build/orlim" "https://shop.example/cart?item=4711&qty=2" "https://news.example.com/world/2026/12/06/story"
sleep 1
shoot Orlim links-not-opened.png
xdotool key Escape 2>/dev/null || true
wmctrl -c Orlim 2>/dev/null || true
printf '[Desktop Entry]\nType=Application\nName=Chrome\nExec=%s %%U\n' \
    "$build/fake-chrome" > "$work/data/applications/google-chrome.desktop"
local_state Default "Profile 1" "Profile 2"

sed "s|^Exec=orlim %U|Exec=$build/orlim %U|" data/orlim.desktop > "$work/data/applications/orlim.desktop"
"$build/orlim" --make-default-browser >/dev/null
"$build/orlim"
shoot "Orlim 設定" settings-default.png

if [ -n "$rules_build" ]; then
    kill "${pids[@]:$first_app}" 2>/dev/null || true
    sleep 0.5
    mkdir -p "$work/config/orlim"
    cat > "$work/config/orlim/rules.json" <<'JSON'
[{"prefix": "https://github.com/example", "profileDirectory": "Profile 1"},
 {"prefix": "https://mail.example.co.jp", "profileDirectory": "Default"},
 {"prefix": "https://school.example.org/classes/2026/autumn/mathematics/homework", "profileDirectory": "Profile 7"}]
JSON
    start "$rules_build" "https://news.example.com/world/2026/12/06/story"
    shoot Orlim picker-rules.png
    xdotool key Escape
    "$rules_build/orlim"
    shoot "Orlim 設定" settings-rules.png
fi

# The picker on GNOME's compositor in Wayland: mutter nested in an X11 window.
kill "${pids[@]:1}" 2>/dev/null || true
sleep 0.5
mutter --wayland --nested --no-x11 --wayland-display orlim-shot 2>/dev/null & pids+=($!)
until [ -S "$XDG_RUNTIME_DIR/orlim-shot" ]; do sleep 0.1; done
sleep 1
rm -f "$work/config/orlim/rules.json"
local_state Default "Profile 1" "Profile 2"
WAYLAND_DISPLAY=orlim-shot QT_QPA_PLATFORM=wayland "$build/orlim" \
    "https://github.com/example/orlim/pull/42?tab=files#diff-7f3a" & pids+=($!)
sleep 2
import -window root -crop 800x600+0+0 +repage "$out/picker-wayland.png"
echo "wrote $out/picker-wayland.png"
