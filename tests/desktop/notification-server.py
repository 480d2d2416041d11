#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Stands in for the desktop's notification service on the session bus.

Prints "ready" once it owns org.freedesktop.Notifications, then one JSON line
for every notification: its id, the id it replaces, its application, summary,
body and actions. A notification that replaces one keeps that one's id.

    notification-server.py [CAPABILITIES [error]]

CAPABILITIES, comma-separated, are what it announces ("actions,body" unless
given); with "error" it refuses every notification; with "fresh" it gives each
one a new id, replacing none. The line "invoke ID TOKEN" on its input picks
notification ID's action as a user would, with TOKEN for the window the action
brings up ("-": no token), and "close ID" closes it.
"""
import json
import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"


class Refused(dbus.DBusException):
    _dbus_error_name = "org.freedesktop.DBus.Error.Failed"


class Server(dbus.service.Object):
    def __init__(self, bus, capabilities, modes):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.last = 0
        self.capabilities = capabilities
        self.refuse = "error" in modes
        self.fresh = "fresh" in modes

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        if self.refuse:
            raise Refused("refused")
        if 0 < replaces <= self.last and not self.fresh:
            id_ = int(replaces)
        else:
            self.last += 1
            id_ = self.last
        print(json.dumps({"id": id_, "replaces": int(replaces), "app": str(app),
                          "summary": str(summary), "body": str(body),
                          "actions": [str(a) for a in actions]}), flush=True)
        return id_

    @dbus.service.method(NAME, out_signature="as")
    def GetCapabilities(self):
        return self.capabilities

    @dbus.service.signal(NAME, signature="us")
    def ActivationToken(self, id_, token):
        pass

    @dbus.service.signal(NAME, signature="us")
    def ActionInvoked(self, id_, action):
        pass

    @dbus.service.signal(NAME, signature="uu")
    def NotificationClosed(self, id_, reason):
        pass

    @dbus.service.method(NAME, out_signature="ssss")
    def GetServerInformation(self):
        return ("stand-in", "orlim tests", "1", "1.2")

    @dbus.service.method(NAME, in_signature="u")
    def CloseNotification(self, _id):
        pass


def main():
    DBusGMainLoop(set_as_default=True)
    capabilities = sys.argv[1].split(",") if len(sys.argv) > 1 else ["actions", "body"]
    bus = dbus.SessionBus()
    name = dbus.service.BusName(NAME, bus)
    server = Server(bus, [c for c in capabilities if c], sys.argv[2:])

    pending = b""

    def command(fd, _condition):
        # Every line that came, not one a wake-up: several may come at once.
        nonlocal pending
        chunk = os.read(fd, 65536)
        if not chunk:
            loop.quit()
            return False
        pending += chunk
        *lines, pending = pending.split(b"\n")
        for line in lines:
            words = line.decode().split()
            if words[:1] == ["invoke"]:
                if words[2] != "-":
                    server.ActivationToken(int(words[1]), words[2])
                server.ActionInvoked(int(words[1]), "copy")
            elif words[:1] == ["close"]:
                server.NotificationClosed(int(words[1]), 2)
        return True

    loop = GLib.MainLoop()
    GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP, command)
    print("ready", flush=True)
    loop.run()
    del name, server
    return 0


if __name__ == "__main__":
    sys.exit(main())
