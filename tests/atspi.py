"""What the accessibility bus tells of the program, as a screen reader hears it: helpers for the
end-to-end tests, and a command for the shell scripts. Every wait is bounded and names what it
waited for.

  atspi.py PID WINDOW where NAME    the screen point, in the X server's pixels, right of the middle
                                    of the showing control named NAME
  atspi.py PID WINDOW keys NAME ROW  the keys that move the showing picker, or the page tab
                                    list, NAME from the row it shows to the row named ROW
  atspi.py PID WINDOW menu KEY...   presses the keys, then prints the items of the menu that takes
                                    the focus, one a line
  atspi.py PID WINDOW tabrows       steps through every category with Ctrl+Tab and checks after
                                    each step where the page tabs are drawn
WINDOW is the program's X window (xdotool's id).
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=20.0):
    """Polls probe() until it returns something true; fails naming what was awaited."""
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        try:
            found = probe()
            if found:
                return found
        except Exception as error:  # the bus may not answer yet
            last = error
        time.sleep(0.1)
    raise Failure(f"after {timeout:.0f} s still waiting for {what}"
                  + (f" (last error: {last})" if last else ""))


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, timeout=20, capture_output=True,
                          text=True).stdout


def find_app(pid):
    """The program on the bus; its answers are asked for afresh each time, never cached."""
    def probe():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                app.set_cache_mask(Atspi.Cache.NONE)
                return app
        return None
    return wait_for(f"process {pid} on the accessibility bus", probe)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def selected(acc):
    return acc.getState().contains(pyatspi.STATE_SELECTED)


def find_showing(root, name, role=None):
    return wait_for(f"a showing control named '{name}'", lambda: pyatspi.findDescendant(
        root, lambda a: a is not None and a.name == name and showing(a)
        and (role is None or a.getRole() == role)))


def children(acc):
    return [acc.getChildAtIndex(i) for i in range(acc.childCount)]


def press(acc):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check("Press" in names, f"'{acc.name}' offers no press action, only {names}")
    check(action.doAction(names.index("Press")), f"pressing '{acc.name}' was refused")


def text_of(acc):
    text = acc.queryText()
    return text.getText(0, text.characterCount)


def extents(acc):
    return acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def where(app, window, name):
    """A point inside the control, in the X server's pixels. Qt tells the bus its extents in its
    own device-independent pixels; the window's size on the X server gives the scale."""
    control = find_showing(app, name)
    frame = control
    while frame.parent is not None and frame.getRole() != pyatspi.ROLE_FRAME:
        frame = frame.parent
    shell = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell",
                                                        window).split())
    outer, inner = extents(frame), extents(control)
    scale = int(shell["WIDTH"]) / outer.width
    x = int(shell["X"]) + (inner.x - outer.x + inner.width * 3 / 4) * scale
    y = int(shell["Y"]) + (inner.y - outer.y + inner.height / 2) * scale
    return round(x), round(y)


def keys_to(app, name, row_name):
    """The keys that move the showing control from the row it shows to the named one: arrows in
    a picker, Ctrl+Tab round the end in the page tab list."""
    control = find_showing(app, name)
    rows = children(control)
    names = [row.name for row in rows]
    check(row_name in names, f"'{name}' has no row '{row_name}': {names}")
    now = next((i for i, row in enumerate(rows) if selected(row)), None)
    check(now is not None, f"'{name}' shows no row")
    steps = names.index(row_name) - now
    if control.getRole() == pyatspi.ROLE_PAGE_TAB_LIST:
        return ["ctrl+Tab"] * (steps % len(rows))
    return ["Down"] * steps if steps > 0 else ["Up"] * -steps


def menu_items(keys):
    """The items of the first menu in which an item takes the focus after the keys."""
    names = []

    def on_focus(event):
        if names or event.source is None or event.source.getRoleName() != "menu item":
            return
        menu = event.source.parent
        names.extend(child.name for child in children(menu))
        pyatspi.Registry.stop()

    def type_keys():
        for key in keys:
            xdotool("key", key)
            time.sleep(0.3)
        return False

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused", "focus:")
    GLib.timeout_add(300, type_keys)
    GLib.timeout_add(15000, pyatspi.Registry.stop)
    pyatspi.Registry.start()
    check(names, f"no menu item took the focus within 15 s of {' '.join(keys)}")
    return names


def tab_rows_follow(app):
    """Ctrl+Tab through every category: after each step the selected tab's row is the one next
    to the panel (the lowest), the other rows keep their order above it, no row loses a tab."""
    strip = wait_for("a page tab list", lambda: pyatspi.findDescendant(
        app, lambda a: a is not None and a.getRole() == pyatspi.ROLE_PAGE_TAB_LIST))
    tabs = children(strip)

    def rows():  # top to bottom, each row's tabs by number
        by_top = {}
        for i, tab in enumerate(tabs):
            box = extents(tab)
            by_top.setdefault(box.y, []).append((box.x, i))
        return [[i for _, i in sorted(row)] for _, row in sorted(by_top.items())]

    before = sorted(rows())  # the rows in their own order, that of their tabs
    check(len(before) > 1, f"one row of tabs only: {before}")
    current = [i for i, tab in enumerate(tabs) if selected(tab)]
    for step in range(len(tabs)):
        want = (current[0] + 1) % len(tabs)
        xdotool("key", "ctrl+Tab")
        wait_for(f"step {step + 1}: tab {want + 1} selected",
                 lambda: [i for i, tab in enumerate(tabs) if selected(tab)] == [want], 10)
        current = [want]
        moved = next(r for r in before if want in r)
        expected = [r for r in before if r != moved] + [moved]
        check(rows() == expected, f"tab {want + 1} ({tabs[want].name}) selected: rows {rows()}, "
                                  f"expected {expected}")
    return f"{len(tabs)} steps, each selected tab in the row next to the panel: {before}"


def main(pid, window, command, *args):
    app = find_app(int(pid))
    if command == "where":
        print(*where(app, window, *args))
    elif command == "keys":
        print(*keys_to(app, *args))
    elif command == "menu":
        print(*menu_items(args), sep="\n")
    elif command == "tabrows":
        print(tab_rows_follow(app))
    else:
        raise Failure(f"no command '{command}'")


if __name__ == "__main__":
    try:
        main(*sys.argv[1:])
    except Failure as failure:
        sys.exit(f"atspi.py {' '.join(sys.argv[1:])}: {failure}")
