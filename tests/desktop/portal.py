#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Stands in for the XDG desktop portal's Settings on the session bus.

Usage: portal.py MODE VALUE. MODE "readone" serves ReadOne and Read (version
2), "read" only Read (portals before version 2), "silent" never answers.
Prints "ready" once it owns the portal's name; each line "set N" on standard
input changes color-scheme to N and emits SettingChanged.
"""
import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.portal.Desktop"
SETTINGS = "org.freedesktop.portal.Settings"


class Portal(dbus.service.Object):
    def __init__(self, bus, mode, value):
        super().__init__(bus, "/org/freedesktop/portal/desktop")
        self.mode = mode
        self.value = value

    def lookup(self, namespace, key):
        if (namespace, key) != ("org.freedesktop.appearance", "color-scheme"):
            raise dbus.exceptions.DBusException(
                "no such setting", name="org.freedesktop.portal.Error.NotFound")
        return dbus.UInt32(self.value, variant_level=1)

    @dbus.service.method(SETTINGS, in_signature="ss", out_signature="v",
                         async_callbacks=("reply", "error"))
    def ReadOne(self, namespace, key, reply, error):
        if self.mode == "silent":
            return
        if self.mode == "read":
            error(dbus.exceptions.DBusException(
                "no ReadOne", name="org.freedesktop.DBus.Error.UnknownMethod"))
            return
        reply(self.lookup(namespace, key))

    @dbus.service.method(SETTINGS, in_signature="ss", out_signature="v",
                         async_callbacks=("reply", "error"))
    def Read(self, namespace, key, reply, error):
        if self.mode == "silent":
            return
        self.lookup(namespace, key)
        reply(dbus.UInt32(self.value, variant_level=2))

    @dbus.service.signal(SETTINGS, signature="ssv")
    def SettingChanged(self, namespace, key, value):
        pass


def main():
    mode, value = sys.argv[1], int(sys.argv[2])
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(NAME, bus)
    portal = Portal(bus, mode, value)

    pending = b""

    def command(fd, _condition):
        nonlocal pending
        data = os.read(fd, 4096)
        if not data:
            loop.quit()
            return False
        pending += data
        while b"\n" in pending:
            line, pending = pending.split(b"\n", 1)
            if line.startswith(b"set "):
                portal.value = int(line.split()[1])
                portal.SettingChanged("org.freedesktop.appearance", "color-scheme",
                                      dbus.UInt32(portal.value, variant_level=1))
        return True

    loop = GLib.MainLoop()
    GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP, command)
    print("ready", flush=True)
    loop.run()
    del name
    return 0


if __name__ == "__main__":
    sys.exit(main())
