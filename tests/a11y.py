"""Drives Mervel through the accessibility bus alone, as a screen reader does.

Run inside a D-Bus session on an X display: a11y.py path/to/Mervel. Every wait is bounded and
says what it waited for when it gives up.
"""
import subprocess
import sys
import time

import pyatspi

from atspi import Failure, check, children, find_app, find_showing, press, selected, text_of, \
    wait_for

CATEGORIES = [
    "Линейные размеры", "Площади", "Объемы", "Скорости", "Ускорения", "Моменты",
    "Распределенные моменты", "Углы", "Времена", "Силы", "Распределенные силы", "Давления",
    "Удельные веса",
]


def run(program):
    wait_for("the accessibility bus (org.a11y.Bus) and its registry",
             lambda: pyatspi.Registry.getDesktop(0) is not None)
    proc = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=sys.stderr)
    try:
        app = find_app(proc.pid)

        # 1. The categories are a page tab list whose tabs are named by their captions.
        strip = wait_for("a page tab list", lambda: pyatspi.findDescendant(
            app, lambda a: a is not None and a.getRole() == pyatspi.ROLE_PAGE_TAB_LIST))
        tabs = children(strip)
        check(all(t.getRole() == pyatspi.ROLE_PAGE_TAB for t in tabs), "a child is no page tab")
        names = [t.name for t in tabs]
        check(names == CATEGORIES, f"the tabs are {names}")
        picked = [t.name for t in tabs if selected(t)]
        check(picked == [CATEGORIES[0]], f"selected at start: {picked}")

        # 2. Pressures, chosen by name.
        pressures = next(t for t in tabs if t.name == "Давления")
        press(pressures)
        wait_for("'Давления' to become the selected tab", lambda: selected(pressures))
        numerator = find_showing(app, "Единица первого значения", pyatspi.ROLE_COMBO_BOX)

        # 3. Units in both boxes, picked by name: kN/см^2 above, кПа below.
        def pick(picker_name, unit):
            picker = find_showing(app, picker_name, pyatspi.ROLE_COMBO_BOX)
            rows = children(picker)
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
                 lambda: numerator.getState().contains(pyatspi.STATE_FOCUSED))

        # 4. A value typed into the upper box, found by its name.
        first = find_showing(app, "Первое значение", pyatspi.ROLE_TEXT)
        second = find_showing(app, "Второе значение", pyatspi.ROLE_TEXT)
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
