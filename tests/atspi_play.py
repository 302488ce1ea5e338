#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Trebalune developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""atspi_play.py STEP...: plays the game through the accessibility bus as switch access or a screen
reader does: "press NAME" (the press action of the hole so named), "shows NAME" or "heard NAME"."""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

heard = []  # the names screen readers were told of, read afresh rather than from the cache
listener = Atspi.EventListener.new(
    lambda event: event.source.clear_cache() or heard.append(event.source.get_name()))
listener.register("object:property-change:accessible-name")


def wait_for(found, what):
    for _ in range(100):
        while GLib.MainContext.default().iteration(False):
            pass
        if found():
            return found()
        time.sleep(0.05)
    sys.exit(f"FAILED: {what}")


def named(node, name):
    children = (node.get_child_at_index(i) for i in range(node.get_child_count()))
    return node if node.get_name() == name else next(filter(None, (named(c, name) for c in children)), None)


game = wait_for(lambda: named(Atspi.get_desktop(0), "Trebalune"), "the game is not on the bus")
for step, name in zip(sys.argv[1::2], sys.argv[2::2]):
    found = wait_for(lambda: name in heard if step == "heard" else named(game, name), f"{step} {name}")
    if step == "press":
        actions = [found.get_action_name(i) for i in range(found.get_n_actions())]
        found.do_action(actions.index("Press"))
