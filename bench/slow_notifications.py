# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""slow_notifications.py: a notification server on the session bus that answers each
notification only after 5 seconds, as a stuck desktop might."""
import time

from gi.repository import Gio, GLib

INTERFACE = Gio.DBusNodeInfo.new_for_xml("""<node>
  <interface name="org.freedesktop.Notifications"><method name="Notify">
    <arg type="s"/><arg type="u"/><arg type="s"/><arg type="s"/><arg type="s"/>
    <arg type="as"/><arg type="a{sv}"/><arg type="i"/><arg type="u" direction="out"/>
  </method></interface></node>""").interfaces[0]


def notify(connection, sender, path, interface, method, parameters, invocation):
    time.sleep(5)
    invocation.return_value(GLib.Variant("(u)", (1,)))


def serve(connection, name):
    connection.register_object("/org/freedesktop/Notifications", INTERFACE, notify)


Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.Notifications",
                 Gio.BusNameOwnerFlags.NONE, serve, None, None)
GLib.MainLoop().run()
