#!/usr/bin/env bash
# End to end, the keyboard on a real X server under the Russian and the Latin layout: category
# steps, refused Ctrl keys (heard as X bells), the menu from the keyboard, Qt's own texts (read
# through the accessibility bus). Run inside its own D-Bus session:
#   dbus-run-session -- e2e_keyboard.sh path/to/Mervel
set -euo pipefail
app=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
unset QT_QPA_PLATFORM  # a real X server, whatever the caller's environment says
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
    declare -F end_processes >/dev/null && end_processes "${pids[@]}"
    rm -rf "$work"
}
trap cleanup EXIT

source "$here/../scripts/xvfb.sh"
xvfb_start "$work/xvfb.log"
pids+=("$xvfb_pid")
source "$here/checks.sh"

# The accessibility bus must run before the program starts, or the program never joins it.
/usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0).childCount' 2>/dev/null

/usr/bin/python3 "$here/bellcount.py" >"$work/bells" &
pids+=($!)
for _ in $(seq 50); do
    grep -q ready "$work/bells" && break
    sleep 0.1
done
bells() {
    sleep 0.3  # the bell reaches the counter after the key
    grep -c bell "$work/bells" || true
}

latin() { setxkbmap -layout us,ru; }    # Latin active, Russian as the second group
russian() { setxkbmap -layout ru,us; }  # Russian active, Latin as the second group
russian_only() { setxkbmap -layout ru; }

visible() {  # how many visible windows have a matching title
    xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l
}

# From the tab strip: 1 typed into box 0, the denominator of box 0 moved from м to см, then
# box 1 read. Tells the category: 1 кН/см^3 is 1000000 кН/м^3, 1 кН/см^2 is 10000 кН/м^2.
probe() {
    xdotool key Tab 1 Tab Tab Down Tab
    focused_text
}

# Whether the About box opens after the keys given, then closes on Escape.
about_opens() {
    xdotool windowfocus --sync "$window"
    xdotool key "$@"
    find_window 'О программе' >/dev/null || return 1
    xdotool key Escape
    for _ in $(seq 50); do
        [ "$(visible 'О программе')" -eq 0 ] && return 0
        sleep 0.1
    done
    echo "the About box stays open after Escape"
    return 1
}

# Steps through every category with Ctrl+Tab and reads the page tabs' places over the
# accessibility bus after each step: the selected tab's row is the one next to the panel (the
# lowest), the other rows keep their order above it, and no row loses or gains a tab.
tab_rows_follow() {
    /usr/bin/python3 - "$app_pid" <<'PYTHON'
import subprocess, sys, time
import pyatspi
from gi.repository import Atspi

def fail(message):
    print(message)
    sys.exit(1)

app = next((a for a in pyatspi.Registry.getDesktop(0)
            if a is not None and a.get_process_id() == int(sys.argv[1])), None)
app or fail("the program is not on the accessibility bus")
app.set_cache_mask(Atspi.Cache.NONE)
strip = pyatspi.findDescendant(app, lambda a: a is not None
                               and a.getRole() == pyatspi.ROLE_PAGE_TAB_LIST)
strip or fail("no page tab list")
tabs = [strip.getChildAtIndex(i) for i in range(strip.childCount)]

def selected():
    return [i for i, t in enumerate(tabs) if t.getState().contains(pyatspi.STATE_SELECTED)]

def rows():  # top to bottom, each row's tabs by number
    by_top = {}
    for i, t in enumerate(tabs):
        box = t.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        by_top.setdefault(box.y, []).append((box.x, i))
    return [[i for _, i in sorted(row)] for _, row in sorted(by_top.items())]

before = sorted(rows())  # the rows in their own order, that of their tabs
len(before) > 1 or fail(f"one row of tabs only: {before}")
current = selected()
for step in range(len(tabs)):
    want = (current[0] + 1) % len(tabs)
    subprocess.run(["xdotool", "key", "ctrl+Tab"], check=True, timeout=20)
    deadline = time.monotonic() + 10
    while selected() != [want]:
        time.monotonic() < deadline or fail(f"step {step + 1}: tab {want + 1} never selected")
        time.sleep(0.05)
    current = [want]
    after = rows()
    moved = next(r for r in before if want in r)
    expected = [r for r in before if r != moved] + [moved]
    after == expected or fail(f"tab {want + 1} ({tabs[want].name}) selected: rows {after}, "
                              f"expected {expected}")
print(f"{len(tabs)} steps, each selected tab in the row next to the panel: {before}")
PYTHON
}

latin
LC_ALL=C.UTF-8 "$app" >"$work/app.log" 2>&1 &
app_pid=$!
pids+=($app_pid)
window=$(find_window 'Mervel-')
xdotool windowfocus --sync "$window"

for layout in latin russian; do
    $layout
    # --- Ctrl+Shift+Tab steps back from the first category to the last, then back again.
    xdotool windowfocus --sync "$window" key ctrl+shift+Tab
    check "$layout: Ctrl+Shift+Tab from the first category wraps to the last" same "1000000" "$(probe)"
    xdotool key ctrl+shift+Tab  # from inside a box
    check "$layout: Ctrl+Shift+Tab steps back one category" same "10000" "$(probe)"
    xdotool key ctrl+Tab ctrl+Tab  # back to the first category
done

# --- The selected tab's row moves next to the panel, as the screen reader is told.
xdotool windowfocus --sync "$window"
check "Ctrl+Tab through every category: the selected tab's row lies next to the panel" \
    tab_rows_follow

# --- Ctrl keys in a box under the Russian layout, alone and with a Latin group beside it: the
# key counts, not the letter it shows.
for layout in russian_only russian; do
    $layout
    xdotool key ctrl+Tab ctrl+shift+Tab Tab  # the first category afresh, then box 0
    xdotool key Home shift+End BackSpace 2 5
    clip '99'
    before=$(bells)
    xdotool key End ctrl+Cyrillic_em
    check "$layout: Ctrl+V (М) pastes nothing" same "25" "$(focused_text)"
    check "$layout: Ctrl+V (М) is refused with a beep" same "$((before + 1))" "$(bells)"
    xdotool key End ctrl+BackSpace
    check "$layout: Ctrl+Backspace deletes nothing" same "25" "$(focused_text)"
    check "$layout: Ctrl+Backspace is refused with a beep" same "$((before + 2))" "$(bells)"
    xdotool key End ctrl+Cyrillic_ha
    check "$layout: Ctrl+[ (Х) is refused with a beep" same "$((before + 3))" "$(bells)"
    xdotool key End ctrl+Cyrillic_er
    check "$layout: Ctrl+H (Р) deletes one character, like Backspace" same "2" "$(focused_text)"
    check "$layout: Ctrl+H is not refused" same "$((before + 3))" "$(bells)"
    xdotool key Tab Tab
    check "$layout: ... and converts what is left" same "2" "$(focused_text)"
done

# --- Dead keys and Compose under the German layout: what they compose is no digit, so the input
# method's text is refused with a beep like a typed letter, and the box keeps its number.
setxkbmap -layout de -option compose:ralt
xdotool key ctrl+Tab ctrl+shift+Tab Tab  # the first category afresh, then box 0
xdotool key Home shift+End BackSpace 7
for keys in "dead_circumflex 2" "dead_circumflex 1" "dead_acute e" "Multi_key o c"; do
    before=$(bells)
    xdotool key End $keys
    check "de: $keys is refused with a beep" same "$((before + 1))" "$(bells)"
    check "de: ... and leaves the box as it was" same "7" "$(focused_text)"
done
xdotool key End 5
check "de: a digit still goes in" same "75" "$(focused_text)"
setxkbmap -layout fr -option ''  # digits take Shift here, and ^ Shift+3 composes ³
before=$(bells)
xdotool key End dead_circumflex shift+3
check "fr: ^ Shift+3 is refused with a beep" same "$((before + 1))" "$(bells)"
check "fr: ... and leaves the box as it was" same "75" "$(focused_text)"

# --- The menu from the keyboard, the About box at its end.
for layout in russian_only latin; do
    $layout
    check "$layout: F10 opens the menu" about_opens F10 Right Down Return
    check "$layout: Alt alone moves to the menu bar" about_opens alt Right Down Down Return
done
russian_only
check "Alt+С, О open the About box under the Russian layout" about_opens alt+Cyrillic_es Cyrillic_o
latin
check "the same keys, Alt+C, J, open it under the Latin layout" about_opens alt+c j

# --- The value box's context menu reads in Russian.
xdotool windowfocus --sync "$window"
items=$(/usr/bin/python3 "$here/menuitems.py" Menu Down)
printf '%s\n' "$items" >"$work/items"
check "the context menu has its items" test "$(grep -c . "$work/items")" -ge 6
check "every item of the context menu is in Russian" \
    bash -c "grep -v '[а-яА-ЯёЁ]' '$work/items' | grep . && exit 1 || exit 0"
xdotool key Escape

# --- Alt+A, the key of Ф, opens Файл on its first item under the Latin layout: Enter runs
# Выход, which ends the program.
xdotool windowfocus --sync "$window" key alt+a Return
end_status "$app_pid" 10
check "Alt+A (the key of Ф), Выход end the program under the Latin layout" same "0" "$ended"

finish
