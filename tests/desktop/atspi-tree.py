#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads Orlim's windows through AT-SPI, as a screen reader does.

First prints "listening" once the accessibility registry answers, so that the
caller starts Orlim only then, as a screen reader is running before the
applications it reads. Then waits for the picker dialog, prints one JSON line
describing it, then "ready"; records focus and selection events until it has
seen the second item become focused (or 10 s pass) and prints them, with the
list's state, as a second JSON line.
"""
import json
import sys
import time

import pyatspi
from gi.repository import Gio, GLib


def retrying(what, timeout=25):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            found = what()
        except GLib.Error as error:  # not answering yet, or an object gone meanwhile
            print("retrying: %s" % error.message, file=sys.stderr, flush=True)
            found = None
        if found is not None:
            return found
        time.sleep(0.2)
    return None


def wait_for_registry():
    """Returns once the registry lists applications. libatspi asks it once per
    process and keeps an unanswered list empty for good, so the registry is
    asked directly, with a short timeout, until it answers."""
    session = Gio.bus_get_sync(Gio.BusType.SESSION)

    def registry_answers():
        address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                    None, None, Gio.DBusCallFlags.NONE, 2000).unpack()[0]
        bus = Gio.DBusConnection.new_for_address_sync(
            address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
            Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
        bus.call_sync("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root",
                      "org.a11y.atspi.Accessible", "GetChildren", None, None,
                      Gio.DBusCallFlags.NONE, 2000)
        bus.close_sync()
        return True

    if retrying(registry_answers) is None:
        sys.exit("the accessibility registry does not answer")
    print("listening", flush=True)


def find_dialog(name):
    def search():
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name not in ("orlim", "orlim-app"):
                continue
            for window in app:
                if window is not None and window.name == name and window.getState().contains(
                        pyatspi.STATE_SHOWING):
                    return window
        return None
    return retrying(search) or sys.exit("no window named %s" % name)


def descendants(node, role):
    return pyatspi.findAllDescendants(node, lambda n: n is not None and n.getRole() == role)


def items_of(dialog):
    lists = descendants(dialog, pyatspi.ROLE_LIST)
    if len(lists) != 1:
        sys.exit("expected one list, found %d" % len(lists))
    return lists[0], [child for child in lists[0] if child is not None]


def item_state(item):
    state = item.getState()
    return {"name": item.name, "role": item.getRoleName(), "description": item.description,
            "selected": state.contains(pyatspi.STATE_SELECTED),
            "focused": state.contains(pyatspi.STATE_FOCUSED)}


def picker():
    dialog = find_dialog("Orlim")
    the_list, items = items_of(dialog)
    print(json.dumps({"role": dialog.getRoleName(), "description": dialog.description,
                      "list": the_list.name, "items": [item_state(i) for i in items],
                      "children_of_first": items[0].childCount if items else -1},
                     ensure_ascii=False), flush=True)
    events = []
    loop = GLib.MainLoop()

    def on_event(event):
        source = event.source
        try:
            name = source.name if source is not None else ""
        except Exception:  # the object may be gone
            name = ""
        events.append({"type": event.type, "source": name, "detail": event.detail1})
        if name == items[1].name and "focus" in event.type and event.detail1:
            GLib.idle_add(loop.quit)

    pyatspi.Registry.registerEventListener(on_event, "object:state-changed:focused",
                                           "object:state-changed:selected",
                                           "object:selection-changed", "focus:")
    print("ready", flush=True)
    GLib.timeout_add_seconds(10, loop.quit)
    loop.run()
    print(json.dumps({"events": events, "items": [item_state(i) for i in items]},
                     ensure_ascii=False), flush=True)


if __name__ == "__main__":
    wait_for_registry()
    picker()
