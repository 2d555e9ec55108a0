#!/usr/bin/env python3
"""Presses the given keys with xdotool and prints, one a line, the names of the items of the
first menu in which an item then takes the focus, as the accessibility bus reports them.
Usage: menuitems.py KEY..."""
import subprocess
import sys

import pyatspi
from gi.repository import GLib

names = []


def on_focus(event):
    if names or event.source is None or event.source.getRoleName() != "menu item":
        return
    menu = event.source.parent
    names.extend(menu.getChildAtIndex(i).name for i in range(menu.childCount))
    pyatspi.Registry.stop()


def press():
    for key in sys.argv[1:]:
        subprocess.run(["xdotool", "key", key], check=True)
        subprocess.run(["sleep", "0.3"], check=True)
    return False


pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused", "focus:")
GLib.timeout_add(300, press)
GLib.timeout_add(15000, pyatspi.Registry.stop)
pyatspi.Registry.start()
if not names:
    sys.exit("menuitems.py: no menu item took the focus")
for name in names:
    print(name)
