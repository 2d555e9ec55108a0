#!/usr/bin/env bash
# End to end, the keyboard on a real X server under the Russian and the Latin layout: category
# steps, refused Ctrl keys (heard as X bells), the menu from the keyboard, Qt's own texts (read
# through the accessibility bus). Usage: e2e_keyboard.sh path/to/Mervel
set -euo pipefail
app=$(realpath "$1")
source "$(dirname "$0")/checks.sh"
session_start
bells_start

latin() { setxkbmap -layout us,ru; }    # Latin active, Russian as the second group
russian() { setxkbmap -layout ru,us; }  # Russian active, Latin as the second group
russian_only() { setxkbmap -layout ru; }

# From the tab strip: 1 typed into box 0, the denominator of box 0 picked, then box 1 read.
# Tells the category: 1 N/см^3 is 1000000 N/м^3, 1 N/см^2 is 10000 N/м^2.
probe() {  # the denominator
    xdotool key Tab 1 Tab
    pick 'Знаменатель единицы первого значения' "$1"
    xdotool key Tab
    focused_text
}

# Whether the About box opens after the keys given, then closes on Escape.
about_opens() {
    xdotool windowfocus --sync "$window"
    xdotool key "$@"
    find_window 'О программе' >/dev/null || return 1
    xdotool key Escape
    wait_until 5 "the About box to close after Escape" \
        bash -c '[ "$(xdotool search --onlyvisible --name "О программе" | wc -l)" = 0 ]'
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
    check "$layout: Ctrl+Shift+Tab from the first category wraps to the last" same "1000000" \
        "$(probe 'см^3')"
    xdotool key ctrl+shift+Tab  # from inside a box
    check "$layout: Ctrl+Shift+Tab steps back one category" same "10000" "$(probe 'см^2')"
    xdotool key ctrl+Tab ctrl+Tab  # back to the first category
done

# --- The selected tab's row moves next to the panel, as the screen reader is told.
xdotool windowfocus --sync "$window"
check "Ctrl+Tab through every category: the selected tab's row lies next to the panel" \
    atspi tabrows

# --- Ctrl keys in a box under the Russian layout, alone and with a Latin group beside it: the
# key counts, not the letter it shows.
for layout in russian_only russian; do
    $layout
    xdotool key ctrl+Tab ctrl+shift+Tab Tab  # the first category afresh, then box 0
    xdotool key Home shift+End BackSpace 2 5
    clip '99'
    check "$layout: Ctrl+V (М) is refused with a beep" heard_refused 1 xdotool key End ctrl+Cyrillic_em
    check "$layout: ... and pastes nothing" same "25" "$(focused_text)"
    check "$layout: Ctrl+Backspace is refused with a beep" heard_refused 1 xdotool key End ctrl+BackSpace
    check "$layout: ... and deletes nothing" same "25" "$(focused_text)"
    check "$layout: Ctrl+[ (Х) is refused with a beep" heard_refused 1 xdotool key End ctrl+Cyrillic_ha
    before=$(bells)
    xdotool key End ctrl+Cyrillic_er
    check "$layout: Ctrl+H (Р) deletes one character, like Backspace" same "2" "$(focused_text)"
    check "$layout: ... and is not refused" same "$before" "$(bells)"
    xdotool key Tab Tab
    check "$layout: ... and converts what is left" same "2" "$(focused_text)"
done

# --- Dead keys and Compose under the German layout: what they compose is no digit, so the input
# method's text is refused with a beep like a typed letter, and the box keeps its number.
setxkbmap -layout de -option compose:ralt
xdotool key ctrl+Tab ctrl+shift+Tab Tab  # the first category afresh, then box 0
xdotool key Home shift+End BackSpace 7
for keys in "dead_circumflex 2" "dead_circumflex 1" "dead_acute e" "Multi_key o c"; do
    check "de: $keys is refused with a beep" heard_refused 1 xdotool key End $keys
    check "de: ... and leaves the box as it was" same "7" "$(focused_text)"
done
xdotool key End 5
check "de: a digit still goes in" same "75" "$(focused_text)"
setxkbmap -layout fr -option ''  # digits take Shift here, and ^ Shift+3 composes ³
check "fr: ^ Shift+3 is refused with a beep" heard_refused 1 xdotool key End dead_circumflex shift+3
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
items=$(atspi menu Menu Down)
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
