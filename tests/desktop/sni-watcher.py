#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Stands in for KDE Plasma's tray: a StatusNotifierWatcher with a host.

Prints "ready" once it owns the watcher's name, then, when an item registers,
reads its menu over com.canonical.dbusmenu and prints one JSON line with the
item's service, title and the menu's labels; clicks the item labelled by the
first argument and prints "clicked".
"""
import json
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
# Qt reads the host's presence as a property, which it learns by introspection.
INTROSPECTION = """<node><interface name="org.kde.StatusNotifierWatcher">
<method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
<method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
<signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
<property name="RegisteredStatusNotifierItems" type="as" access="read"/>
<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
<property name="ProtocolVersion" type="i" access="read"/>
</interface><interface name="org.freedesktop.DBus.Properties">
<method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/>
<arg type="v" direction="out"/></method>
<method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
</interface></node>"""


def labels(layout):
    _id, props, children = layout
    found = [(int(_id), str(props.get("label", "")))]
    for child in children:
        found += labels(child)
    return found


class Watcher(dbus.service.Object):
    def __init__(self, bus, wanted):
        self.bus = bus
        self.wanted = wanted
        self.items = []
        dbus.service.Object.__init__(self, bus, "/StatusNotifierWatcher")

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        name = sender if service.startswith("/") else service
        path = service if service.startswith("/") else "/StatusNotifierItem"
        self.items.append(name + path)
        self.StatusNotifierItemRegistered(name + path)
        GLib.idle_add(self.inspect, name, path)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, item):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, prop):
        return self.GetAll(interface)[prop]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": True, "ProtocolVersion": dbus.Int32(0)}

    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
    def Introspect(self):
        return INTROSPECTION

    def inspect(self, name, path):
        item = self.bus.get_object(name, path)
        props = dbus.Interface(item, dbus.PROPERTIES_IFACE)
        title = props.Get("org.kde.StatusNotifierItem", "Title")
        menu_path = props.Get("org.kde.StatusNotifierItem", "Menu")
        menu = dbus.Interface(self.bus.get_object(name, menu_path), "com.canonical.dbusmenu")
        _revision, layout = menu.GetLayout(0, -1, [])
        entries = labels(layout)
        print(json.dumps({"title": str(title), "labels": [l for _, l in entries if l]},
                         ensure_ascii=False), flush=True)
        for entry_id, label in entries:
            if label == self.wanted:
                menu.Event(entry_id, "clicked", dbus.String("", variant_level=1), dbus.UInt32(0))
                print("clicked", flush=True)
        return False


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    _name = dbus.service.BusName(WATCHER, bus)
    Watcher(bus, sys.argv[1] if len(sys.argv) > 1 else "")
    print("ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
