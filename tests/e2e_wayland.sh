#!/usr/bin/env bash
# End to end on a Wayland desktop (headless sway), natively and again under XWayland in the same
# compositor: real key codes of the real us,ru keymap through a virtual keyboard, refused keys
# heard as sounds on a PulseAudio of the test's own, the boxes read back through the clipboard,
# the window's app_id, F1, the second-copy refusal.
#   e2e_wayland.sh path/to/Mervel path/to/wlkeys
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wayland/session.sh"
wayland_reexec "$here/e2e_wayland.sh" "$@"
app=$(realpath "$1")
wlkeys=$(realpath "$2")
wayland_session

# One virtual keyboard for the whole run; keys() waits until the compositor has taken them.
mkfifo "$work/keys.in" "$work/keys.out"
"$wlkeys" us,ru <"$work/keys.in" >"$work/keys.out" 2>"$work/wlkeys.log" &
pids+=($!)
exec 3>"$work/keys.in" 4<"$work/keys.out"
read -r -t 10 ready <&4 || { echo "the virtual keyboard did not start" >&2; cat "$work/wlkeys.log"; exit 1; }
keys() {
    echo "$*" >&3
    read -r -t 20 _ <&4
}

# The text of the focused box, copied with Ctrl+Insert.
focused_text() {
    wl-copy --clear
    keys Home shift+End ctrl+Insert
    local text=""
    for _ in $(seq 50); do
        text=$(timeout 2 wl-paste --no-newline 2>/dev/null || true)
        [ -n "$text" ] && break
        sleep 0.1
    done
    printf '%s' "$text"
}

# How many sounds the keys given play: the first may wait for the sound library and the
# sound server, so up to 5 s for one to start, then a while for any second one.
sounds_of() {
    local before
    before=$(sounds)
    keys "$@"
    for _ in $(seq 50); do
        [ "$(sounds)" -gt "$before" ] && break
        sleep 0.1
    done
    sleep 0.7
    echo $(($(sounds) - before))
}

not() { ! "$@"; }

canberra_loaded() {
    grep -q libcanberra "/proc/$app_pid/maps"
}

run_checks() {  # what the run is called, the shell its windows must have, the program's variables
    local run=$1 shell=$2
    shift 2
    local env=("$@")
    env "${env[@]}" "$app" >"$work/app.log" 2>&1 &
    app_pid=$!
    pids+=($app_pid)
    local main
    main=$(view '^Mervel-')
    check "$run: the window is a $shell window" same "$shell" "$(cut -f1 <<<"$main")"
    [ "$shell" = xdg_shell ] &&
        check "$run: the app_id names the desktop entry" same example.mervel.Mervel \
            "$(cut -f2 <<<"$main")"
    sleep 0.5  # the window takes the focus once it is mapped

    keys group 0
    keys Tab 5 Tab Tab Tab  # box 0, the left list, box 1, the right list
    keys $(atspi keys 'Единица второго значения' Метр) shift+Tab
    check "$run: 5 km is 5000 m" same "5000" "$(focused_text)"
    keys shift+Tab shift+Tab  # box 0
    check "$run: no sound library before the first beep" not canberra_loaded
    check "$run: a letter is refused with one sound" same 1 "$(sounds_of End x)"
    check "$run: the sound library is loaded at the first beep" canberra_loaded
    wl-copy -- 99
    check "$run: the clipboard holds what was set" same 99 "$(timeout 5 wl-paste --no-newline)"
    check "$run: Ctrl+V is refused with one sound" same 1 "$(sounds_of End ctrl+v)"
    keys group 1
    check "$run: Ctrl+М under the Russian group is refused with one sound" same 1 \
        "$(sounds_of End ctrl+Cyrillic_em)"
    keys group 0
    local digit
    digit=$(sounds_of End 7)
    check "$run: a digit is typed, the refused keys were not" same "57" "$(focused_text)"
    check "$run: ... and plays no sound" same 0 "$digit"

    keys F1
    check "$run: F1 opens the help window" view 'Справка Mervel$'

    env "${env[@]}" "$app" >"$work/second.log" 2>&1 &
    local second_pid=$!
    pids+=($second_pid)
    check "$run: a second copy says that one already runs" view '^Mervel$'
    # Return is pressed again until the copy ends; under the sanitizers it is slow to end.
    for _ in $(seq 10); do
        keys Return
        timeout 1 tail --pid="$second_pid" -s 0.1 -f /dev/null && break
    done
    end_status "$second_pid" 20
    check "$run: ... and ends with status 1" same 1 "$ended"
    check "$run: ... and the first copy still runs" kill -0 "$app_pid"
    end_processes "$app_pid"
}

run_checks native xdg_shell
run_checks XWayland xwayland QT_QPA_PLATFORM=xcb DISPLAY="$xdisplay"
finish
