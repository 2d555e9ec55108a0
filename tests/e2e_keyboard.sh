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

find_window() {  # the first visible window whose title matches, within 20 s
    local found
    found=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n1 || true)
    [ -n "$found" ] || { echo "no visible window named '$1' after 20 s" >&2; return 1; }
    printf '%s' "$found"
}

visible() {  # how many visible windows have a matching title
    xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l
}

clip() {
    printf '%s' "$1" | timeout --foreground 5 xclip -selection clipboard
}

# The text of the focused box, copied with Ctrl+Insert, which works under every layout.
focused_text() {
    clip ''
    xdotool key Home shift+End ctrl+Insert
    local text=""
    for _ in $(seq 50); do
        text=$(timeout --foreground 2 xclip -o -selection clipboard 2>/dev/null || true)
        [ -n "$text" ] && break
        sleep 0.1
    done
    printf '%s' "$text"
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

# --- Alt+A, the key of Ф, opens Файл under the Latin layout; Выход ends the program.
xdotool windowfocus --sync "$window" key alt+a Down Return
status=0
timeout 10 tail --pid="$app_pid" -f /dev/null || status=$?
check "Alt+A (the key of Ф), Выход end the program under the Latin layout" same "0" "$status"

finish
