#!/usr/bin/python3
"""atspi_play.py STEP...: plays the running game through the desktop's accessibility bus, as a
player using switch access or a screen reader does. Each step is "press NAME" (the accessible
press action of the hole of that name), "shows NAME" (an object of that name is there) or
"heard NAME" (screen readers were told of a new name), NAME as a screen reader reads it."""
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

warnings.simplefilter("ignore", DeprecationWarning)  # Debian 12's names for the action calls

heard = []
listener = Atspi.EventListener.new(lambda event: heard.append(event.source.get_name()))
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
    if node.get_name() == name:
        return node
    children = (node.get_child_at_index(i) for i in range(node.get_child_count()))
    return next(filter(None, (named(child, name) for child in children)), None)


desktop = Atspi.get_desktop(0)
game = wait_for(lambda: named(desktop, "Trebalune"), "the game is not on the accessibility bus")
time.sleep(0.2)  # for the game to learn that someone listens
steps = sys.argv[1:]
for step, name in zip(steps[::2], steps[1::2]):
    if step == "press":
        hole = wait_for(lambda: named(game, name), f"no hole named {name}")
        actions = [hole.get_action_name(i) for i in range(hole.get_n_actions())]
        hole.do_action(actions.index("Press"))
    elif step == "shows":
        wait_for(lambda: named(game, name), f"nothing named {name}")
    else:
        wait_for(lambda: name in heard, f"screen readers were not told {name}")
