# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""slow_services.py notifications|settings: a desktop service on the session bus that answers
each call only after 5 seconds, as a stuck desktop might: the notification server, or the
settings portal, which then answers that the desktop is in high contrast."""
import sys

from gi.repository import Gio, GLib

SERVICES = {
    "notifications": ("org.freedesktop.Notifications", "/org/freedesktop/Notifications", """
      <interface name="org.freedesktop.Notifications"><method name="Notify">
        <arg type="s"/><arg type="u"/><arg type="s"/><arg type="s"/><arg type="s"/>
        <arg type="as"/><arg type="a{sv}"/><arg type="i"/><arg type="u" direction="out"/>
      </method></interface>""", GLib.Variant("(u)", (1,))),
    # Wrapped twice, as the portal's Read does.
    "settings": ("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop", """
      <interface name="org.freedesktop.portal.Settings"><method name="Read">
        <arg type="s"/><arg type="s"/><arg type="v" direction="out"/>
      </method></interface>""", GLib.Variant("(v)", (GLib.Variant("v", GLib.Variant("b", True)),))),
}
NAME, PATH, XML, ANSWER = SERVICES[sys.argv[1]]
INTERFACE = Gio.DBusNodeInfo.new_for_xml("<node>" + XML + "</node>").interfaces[0]


def answer_later(connection, sender, path, interface, method, parameters, invocation):
    GLib.timeout_add_seconds(5, lambda: invocation.return_value(ANSWER))


def serve(connection, name):
    connection.register_object(PATH, INTERFACE, answer_later)


Gio.bus_own_name(Gio.BusType.SESSION, NAME, Gio.BusNameOwnerFlags.NONE, serve, None, None)
GLib.MainLoop().run()
