"""Drives Mervel through the accessibility bus alone, as a screen reader does.

Run inside a D-Bus session on an X display: a11y.py path/to/Mervel. Every wait is bounded and
says what it waited for when it gives up.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi

CATEGORIES = [
    "Линейные размеры", "Площади", "Объемы", "Скорости", "Ускорения", "Моменты",
    "Распределенные моменты", "Углы", "Времена", "Силы", "Распределенные силы", "Давления",
    "Удельные веса",
]


class Failure(Exception):
    pass


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


def check(condition, message):
    if not condition:
        raise Failure(message)


def states(acc):
    return acc.getState()


def showing(acc):
    return states(acc).contains(pyatspi.STATE_SHOWING)


def find_showing(root, role, name):
    return pyatspi.findDescendant(
        root, lambda a: a is not None and a.getRole() == role and a.name == name and showing(a))


def press(acc):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check("Press" in names, f"'{acc.name}' offers no press action, only {names}")
    check(action.doAction(names.index("Press")), f"pressing '{acc.name}' was refused")


def text_of(acc):
    text = acc.queryText()
    return text.getText(0, text.characterCount)


def find_app(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def run(program):
    wait_for("the accessibility bus (org.a11y.Bus) and its registry",
             lambda: pyatspi.Registry.getDesktop(0) is not None)
    proc = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=sys.stderr)
    try:
        app = wait_for(f"process {proc.pid} to appear on the accessibility bus",
                       lambda: proc.poll() is None and find_app(proc.pid))
        # A screen reader asks again each time; cached answers would hide what the program says now.
        app.set_cache_mask(Atspi.Cache.NONE)

        # 1. The categories are a page tab list whose tabs are named by their captions.
        strip = wait_for("a page tab list", lambda: pyatspi.findDescendant(
            app, lambda a: a is not None and a.getRole() == pyatspi.ROLE_PAGE_TAB_LIST))
        tabs = [strip.getChildAtIndex(i) for i in range(strip.childCount)]
        check(all(t.getRole() == pyatspi.ROLE_PAGE_TAB for t in tabs), "a child is no page tab")
        names = [t.name for t in tabs]
        check(names == CATEGORIES, f"the tabs are {names}")
        selected = [t.name for t in tabs if states(t).contains(pyatspi.STATE_SELECTED)]
        check(selected == [CATEGORIES[0]], f"selected at start: {selected}")

        # 2. Pressures, chosen by name.
        pressures = next(t for t in tabs if t.name == "Давления")
        press(pressures)
        wait_for("'Давления' to become the selected tab",
                 lambda: states(pressures).contains(pyatspi.STATE_SELECTED))
        numerator = wait_for("the shown picker 'Единица первого значения'", lambda: find_showing(
            app, pyatspi.ROLE_COMBO_BOX, "Единица первого значения"))

        # 3. Units in both boxes, picked by name: kN/см^2 above, кПа below.
        def pick(picker_name, unit):
            picker = wait_for(f"the shown picker '{picker_name}'",
                              lambda: find_showing(app, pyatspi.ROLE_COMBO_BOX, picker_name))
            rows = [picker.getChildAtIndex(i) for i in range(picker.childCount)]
            row = next((r for r in rows if r.name == unit), None)
            check(row is not None, f"'{picker_name}' has no row '{unit}': {[r.name for r in rows]}")
            press(row)
            # The picker keeps its own name; its description gives the unit shown, then its factor.
            wait_for(f"'{picker_name}' to show '{unit}'",
                     lambda: picker.description.split(", ")[0] == unit)
            check(picker.name == picker_name, f"the picker now calls itself '{picker.name}'")
            return picker

        pick("Единица первого значения", "kN")
        pick("Знаменатель единицы первого значения", "см^2")
        pick("Единица второго значения", "кПа")

        # Focus requests through the bus reach a drop-down list.
        check(numerator.queryComponent().grabFocus(), "the picker refused the focus request")
        wait_for("the picker to have the focus",
                 lambda: states(numerator).contains(pyatspi.STATE_FOCUSED))

        # 4. A value typed into the upper box, found by its name.
        first = wait_for("the shown box 'Первое значение'",
                         lambda: find_showing(app, pyatspi.ROLE_TEXT, "Первое значение"))
        second = wait_for("the shown box 'Второе значение'",
                          lambda: find_showing(app, pyatspi.ROLE_TEXT, "Второе значение"))
        check(first.queryComponent().grabFocus(), "the box refused the focus request")
        check(first.queryEditableText().setTextContents("2"), "the box refused the text")
        wait_for("the upper box to hold '2'", lambda: text_of(first) == "2")

        # 5. 2 kN/см^2 is 2 / 0.0001 kN/м^2, i.e. 20000 кПа.
        wait_for("the lower box to show 20000", lambda: text_of(second) == "20000", timeout=10)

        # 6. The longest text a box holds goes in as one edit and converts at once.
        start = time.monotonic()
        check(first.queryEditableText().setTextContents("0" * 32766 + "3"),
              "the box refused 32,767 digits")
        wait_for("the lower box to show 30000", lambda: text_of(second) == "30000", timeout=10)
        took = time.monotonic() - start
        check(took < 1.0, f"32,767 digits took {took:.2f} s to convert")
        print(f"a11y: 13 categories listed, Давления selected, units picked, 2 kN/см^2 = 20000 кПа,"
              f" 32,767 digits converted in {took:.2f} s")
    finally:
        proc.kill()
        proc.wait()


if __name__ == "__main__":
    try:
        run(sys.argv[1])
    except Failure as failure:
        print(f"a11y: FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
