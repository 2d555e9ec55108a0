#!/usr/bin/env bash
# End to end: the built program on a real X server (Xvfb), typed into with real X key events,
# clicked where the accessibility bus says its controls are, its boxes read back through the
# clipboard, its beeps heard as X bells. Usage: e2e.sh path/to/Mervel [crafted help file]
set -euo pipefail
app=$(realpath "$1")
source "$(dirname "$0")/checks.sh"
session_start
bells_start

start() {  # locale [program [VARIABLE=VALUE...]]
    env "${@:3}" LC_ALL="$1" "${2:-$app}" >"$work/app.log" 2>&1 &
    app_pid=$!
    pids+=($app_pid)
    window=$(find_window 'Mervel-')
    focus "$window"
}

stop() {  # the copy may have ended by itself already: then its pid is no longer ours to signal
    end_processes "$app_pid"
}

type_into_focused() {  # replaces the focused box's text by typing
    xdotool key Home shift+End BackSpace
    xdotool type --delay 30 "$1"
}

# --- Lengths in a point locale: separators, refused keys, edits without character keys.
start C.UTF-8
xdotool key Tab  # the strip, then box 0
type_into_focused '2,5'
check "a typed comma becomes the locale's point" same "2.5" "$(focused_text)"
xdotool key Tab Tab  # the left list, then box 1
check "typing converts at once" same "2.5" "$(focused_text)"
pick 'Единица второго значения' Метр
xdotool key shift+Tab
check "a unit pick converts box 0 into box 1" same "2500" "$(focused_text)"
xdotool key shift+Tab shift+Tab  # box 0
clip '99'
check "a letter and Ctrl+V are heard refused" heard_refused 2 xdotool key End x ctrl+v
check "... and leave the box as it was" same "2.5" "$(focused_text)"
xdotool key Home Delete
xdotool key Tab Tab
check "Delete is an edit: .5 km is 500 m" same "500" "$(focused_text)"
xdotool key shift+Tab shift+Tab
clip '7'
xdotool key Home shift+End shift+Insert
xdotool key Tab Tab
check "Shift+Insert is an edit: 7 km is 7000 m" same "7000" "$(focused_text)"

# --- A paste that would not fit whole (40001 characters) is refused, by key or by middle click,
# where the same paste of one that fits goes in.
long_text="$(printf '0%.0s' $(seq 40000))5"
xdotool key shift+Tab shift+Tab  # box 0, holding 7
clip "$long_text"
check "Shift+Insert of 40001 characters is heard refused" \
    heard_refused 1 xdotool key Home shift+End shift+Insert
check "... and leaves the box as it was" same "7" "$(focused_text | head -c 40)"
for scale in 1 2; do
    # The box is found over the bus, on the window as the fonts and the scale lay it out.
    if [ "$scale" = 2 ]; then
        stop
        start C.UTF-8 "$app" QT_SCALE_FACTOR=2
        xdotool key Tab 7 Tab Tab
        pick 'Единица второго значения' Метр
        xdotool key shift+Tab shift+Tab shift+Tab  # box 0, holding 7
    fi
    xdotool key End  # no selection: the middle click pastes at the cursor
    clip '5' primary
    click 2 'Первое значение'
    xdotool key Tab Tab
    check "scale $scale: a middle click that fits pastes and converts: 75 km is 75000 m" \
        same "75000" "$(focused_text)"
    xdotool key shift+Tab shift+Tab
    clip "$long_text" primary
    xdotool key End
    check "scale $scale: a middle click with 40001 characters is heard refused" \
        heard_refused 1 click 2 'Первое значение'
    check "... and leaves the box as it was" same "75" "$(focused_text | head -c 40)"
done
stop
start C.UTF-8

# --- Speeds: 36 km/h typed, box 1 set to m/s by picking, is 10.
category Скорости
xdotool key Tab
type_into_focused '36'
xdotool key Tab Tab Tab  # past the pickers of box 0, into box 1
pick 'Единица второго значения' м
pick 'Знаменатель единицы второго значения' сек
xdotool key shift+Tab shift+Tab
check "36 км/час is 10 м/сек" same "10" "$(focused_text)"

# --- Pressures: 3 т per square inch in Па.
category Давления
xdotool key Tab
type_into_focused '3'
pick 'Единица первого значения' т
pick 'Знаменатель единицы первого значения' 'дюйм^2'
xdotool key Tab
pick 'Единица второго значения' Па  # a whole unit: no denominator
xdotool key shift+Tab
check "3 т/дюйм^2 is 45616591.2331825 Па" same "45616591.2331825" "$(focused_text)"

# --- Accelerations: a long result is written whole (3 * 0.0254 / 3600 / 9.81).
category Ускорения
xdotool key Tab
type_into_focused '3'
pick 'Единица первого значения' дюйм
pick 'Знаменатель единицы первого значения' 'мин^2'
xdotool key Tab
pick 'Единица второго значения' g
xdotool key shift+Tab
check "3 дюйм/мин^2 is 2.15766224940537E-06 g" same "2.15766224940537E-06" "$(focused_text)"
stop

# --- Moments in a comma locale: the point key gives a comma.
start ru_RU.UTF-8
category Моменты
xdotool key Tab
type_into_focused '1.5'
check "a typed point becomes the locale's comma" same "1,5" "$(focused_text)"
pick 'Сила в единице первого значения' т
pick 'Длина в единице первого значения' см
xdotool key Tab
pick 'Сила в единице второго значения' кг
pick 'Длина в единице второго значения' мм
xdotool key shift+Tab shift+Tab
check "1,5 т*см is 15000 кг*мм" same "15000" "$(focused_text)"
xdotool key shift+Tab shift+Tab shift+Tab  # box 0
type_into_focused '1'
pick 'Сила в единице первого значения' N
pick 'Длина в единице первого значения' м
xdotool key Tab
pick 'Сила в единице второго значения' т
pick 'Длина в единице второго значения' дюйм
xdotool key shift+Tab shift+Tab
check "1 N*м is 0,00401325981041361 т*дюйм, read whole" same "0,00401325981041361" \
    "$(focused_text)"
for _ in $(seq 13); do xdotool key ctrl+Tab; done  # once round all the tabs, back to Моменты
xdotool key Tab Tab Tab Tab  # box 1
check "after a tab switch box 1 is worked out again in N*м" same "1" "$(focused_text)"

# --- A second copy is refused with a message, shows no main window, and ends on Enter.
"$app" >"$work/second.log" 2>&1 &
second=$!
pids+=($second)
box=$(find_window '^Mervel$')
check "the second copy shows no main window" same "1" "$(visible 'Mervel-')"
focus "$box" key Return
end_status "$second" 10
check "the second copy ends after its message" same "1" "$ended"

# --- A killed copy leaves nothing behind that refuses the next start.
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null || true
start C.UTF-8
check "after a killed copy the next one opens" same "1" "$(visible 'Mervel-')"

# --- Help in the program's own window: no CHM viewer and no URL opener on the PATH. F1 shows the
# page of the category on screen, a second F1 brings the one help window forward, Exit closes
# it with the rest.
stop
mkdir "$work/emptybin"
start C.UTF-8 "$app" PATH="$work/emptybin"
category Давления
focus "$window" key F1
help=$(find_window '^Давления — Справка Mervel$' || true)
check "F1 on the pressures tab shows the pressures page" same "yes" "$([ -n "$help" ] && echo yes)"
focus "$window" key F1
wait_until 5 "the help window to take the focus" \
    bash -c "[ \"\$(xdotool getwindowfocus)\" = '$help' ]" || true
check "a second F1 brings the help window forward" same "$help" "$(xdotool getwindowfocus)"
check "... and keeps one help window" same "1" "$(visible 'Справка Mervel$')"
xdotool windowraise "$window" windowfocus --sync "$window"  # no window manager: they overlap
exit_by_menu() {  # Файл > Выход, clicked where the bus says Файл is; sets $ended
    click 1 Файл
    sleep 0.5
    xdotool key Down Return
    end_status "$app_pid" 10
}
exit_by_menu
check "Выход ends the program with its help window" same "0 0" \
    "$ended $(visible 'Справка Mervel$')"

# --- Help with no help file beside the executable: a message, and the command can be repeated.
mkdir "$work/nohelp"
cp "$app" "$work/nohelp/Mervel"
start C.UTF-8 "$work/nohelp/Mervel"
for attempt in 1 2; do
    focus "$window" key F1
    box=$(find_window '^Mervel$' || true)
    check "F1 without the help file shows a message ($attempt)" same "yes" "$([ -n "$box" ] && echo yes)"
    [ -n "$box" ] && focus "$box" key Return
    wait_until 5 "the message to close" \
        bash -c "[ \"\$(xdotool search --onlyvisible --name '^Mervel\$' | wc -l)\" = 0 ]" || true
done

# --- Файл > Выход ends the program.
exit_by_menu
check "Выход ends the program" same "0" "$ended"

# --- A help page that asks for pictures and style sheets outside its help file gets none: strace
# sees every file the program names: the help file, and none outside it. At scale 2, where Qt
# would look on the disk for a sharper copy of each picture.
if [ -n "${2:-}" ]; then
    mkdir -p "$work/crafted/Helpfiles" "$work/cwd"
    cp "$app" "$work/crafted/Mervel"
    cp "$2" "$work/crafted/Helpfiles/Mervel.chm"
    (cd "$work/cwd" && LC_ALL=C.UTF-8 QT_SCALE_FACTOR=2 exec strace -f -qq -e trace=%file -o "$work/strace.log" \
        "$work/crafted/Mervel" >"$work/app.log" 2>&1) &
    tracer=$!
    pids+=($tracer)
    window=$(find_window 'Mervel-')
    focus "$window" key F1
    help=$(find_window '^Outside — Справка Mervel$' || true)
    check "F1 shows the crafted page" same "yes" "$([ -n "$help" ] && echo yes)"
    sleep 1  # the page's pictures are asked for as it is laid out and painted
    kill "$(xdotool getwindowpid "$window")"  # strace's child, alive: its window is there
    end_status "$tracer" 10
    check "strace saw the program open its help file" grep -q 'crafted/Helpfiles/Mervel.chm' \
        "$work/strace.log"
    check "... and no file outside it" lacks OUTSIDE-HELP "$(cat "$work/strace.log")"
fi

# --- An X server whose only client is this program resets itself whenever the program leaves it
# alone, and refuses connections meanwhile: the start's own display check must not leave it
# before Qt has connected, or Qt aborts. Every start keeps running.
x_with_clients=$DISPLAY
xvfb_start "$work/xvfb-alone.log" 800x600x24 resets
running=0
for _ in $(seq 10); do
    status=0
    LC_ALL=C.UTF-8 timeout 2 "$app" >"$work/alone.log" 2>&1 || status=$?
    [ "$status" = 124 ] && running=$((running + 1))
done
check "an X server with no other client: 10 starts of 10 keep running" same 10 "$running"
end_processes "$xvfb_pid"
export DISPLAY=$x_with_clients

# --- Where there is no display to open: no DISPLAY, and a DISPLAY with no X server behind it
# (a number above Xvfb's range with neither socket nor lock file) get the same plain answer.
no_server=
for n in $(seq 900 999); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { no_server=:$n; break; }
done
display_answer() {  # env arguments...: the exit code, then what the program wrote
    local status=0
    timeout 10 env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$app" >"$work/display.log" 2>&1 || status=$?
    echo "$status"
    cat "$work/display.log"
}
unset_answer=$(display_answer -u DISPLAY)
unreachable_answer=$(display_answer DISPLAY="$no_server")
check "no DISPLAY: exit code 2" same 2 "$(head -n1 <<<"$unset_answer")"
check "no DISPLAY: says so plainly" grep -q 'нет графического дисплея' <<<"$unset_answer"
check "an unreachable DISPLAY: exit code 2" same 2 "$(head -n1 <<<"$unreachable_answer")"
check "an unreachable DISPLAY: says so plainly, naming it" \
    grep -q "DISPLAY: $no_server: X-сервер недоступен" <<<"$unreachable_answer"
check "an unreachable DISPLAY: not Qt's abort" lacks reinstall "$unreachable_answer"
check "both suggest a virtual X server" same "$(tail -n1 <<<"$unset_answer")" "$(tail -n1 <<<"$unreachable_answer")"
# Qt told to draw offscreen needs no display at all: the program starts and keeps running.
env -u DISPLAY QT_QPA_PLATFORM=offscreen "$app" >"$work/offscreen.log" 2>&1 &
offscreen_pid=$!
pids+=("$offscreen_pid")
sleep 2
check "offscreen with no DISPLAY starts" kill -0 "$offscreen_pid"
kill "$offscreen_pid"

finish
