#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Types keys into GNOME's compositor through its remote-desktop interface.

Reads one X keysym name a line on standard input (for instance "2", "Down",
"Return", "x", or a chord such as "alt+F4") and presses and releases it; prints "ready" once the session
runs and "typed" after each key. "double-click X Y" moves the pointer to X, Y
(from the top left corner, where it stops however far it goes) and clicks the
left button twice, as a hand does; then prints "clicked". The session lives as long as this process
holds its D-Bus connection.
"""
import sys
import time

import dbus

KEYSYMS = {"Return": 0xFF0D, "Down": 0xFF54, "Up": 0xFF52, "Escape": 0xFF1B,
           "alt": 0xFFE9, "shift": 0xFFE1, "ctrl": 0xFFE3, "F4": 0xFFC1, "Tab": 0xFF09}
BTN_LEFT = 0x110


def keysym(name):
    if name in KEYSYMS:
        return KEYSYMS[name]
    if len(name) == 1:
        return ord(name)
    return int(name, 0)


def main():
    bus = dbus.SessionBus()
    desktop = bus.get_object("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop")
    path = desktop.CreateSession(dbus_interface="org.gnome.Mutter.RemoteDesktop")
    session = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", path),
                             "org.gnome.Mutter.RemoteDesktop.Session")
    session.Start()
    print("ready", flush=True)
    for line in sys.stdin:
        name = line.strip()
        if not name:
            continue
        if name.startswith("double-click "):
            x, y = (float(value) for value in name.split()[1:])
            session.NotifyPointerMotionRelative(-100000.0, -100000.0)
            session.NotifyPointerMotionRelative(x, y)
            # The window under the pointer may learn of it only as it enters,
            # at wherever the pointer then was: a motion after a moment tells
            # it where the buttons are pressed.
            for dx in (1.0, -1.0):
                time.sleep(0.1)
                session.NotifyPointerMotionRelative(dx, 0.0)
            for _ in range(2):
                time.sleep(0.08)
                session.NotifyPointerButton(dbus.Int32(BTN_LEFT), True)
                session.NotifyPointerButton(dbus.Int32(BTN_LEFT), False)
            print("clicked", flush=True)
            continue
        codes = [dbus.UInt32(keysym(part)) for part in name.split("+")]
        for code in codes:
            session.NotifyKeyboardKeysym(code, True)
        for code in reversed(codes):
            session.NotifyKeyboardKeysym(code, False)
        print("typed", flush=True)
    try:
        session.Stop()
    except dbus.exceptions.DBusException:
        pass  # the compositor may be gone first


if __name__ == "__main__":
    main()
