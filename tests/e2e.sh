#!/usr/bin/env bash
# End to end: the built program on a real X server (Xvfb), typed into with real X key events,
# its answers read back through the clipboard. Usage: e2e.sh path/to/Mervel
set -euo pipefail
app=$(realpath "$1")
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime LC_ALL=C.UTF-8
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
    kill -9 "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$display

passed=0
failed=0
check() {  # name expected actual
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
        echo "PASS: $1"
    else
        failed=$((failed + 1))
        echo "FAIL: $1: expected '$2', got '$3'"
    fi
}

start() {
    "$app" >"$work/app.log" 2>&1 &
    pids+=($!)
    app_pid=$!
    window=$(xdotool search --sync --onlyvisible --name 'Mervel-' | head -n1)
    xdotool windowfocus --sync "$window"
}

# The text of the focused box: select it all and copy with Ctrl+Insert, which the boxes leave
# to the editor (it delivers no character).
focused_text() {
    printf '' | xclip -selection clipboard
    xdotool key Home shift+End ctrl+Insert
    local text=""
    for _ in $(seq 50); do
        text=$(xclip -o -selection clipboard 2>/dev/null || true)
        [ -n "$text" ] && break
        sleep 0.1
    done
    printf '%s' "$text"
}

start
# Focus starts on the tab strip; Tab reaches box 0 of the lengths panel.
xdotool key Tab BackSpace
xdotool type --delay 50 '2,5'
sleep 0.3
xdotool key Tab Tab  # the left list, then box 1
check "typing converts, the comma turned into the locale's point" "2.5" "$(focused_text)"
xdotool key Tab Down  # the right list: Метр
sleep 0.3
xdotool key shift+Tab
check "a unit pick converts box 0 into box 1" "2500" "$(focused_text)"
xdotool key x
check "a letter is refused" "2500" "$(focused_text)"

# A second copy is refused with a message and ends once it is answered.
"$app" >"$work/second.log" 2>&1 &
second=$!
pids+=($second)
box=$(xdotool search --sync --onlyvisible --name '^Mervel$' | head -n1)
xdotool windowfocus --sync "$box" key Return
status=0
wait "$second" || status=$?
check "a second copy ends after its message" "1" "$status"

# A killed copy leaves no lock behind.
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null || true
start
check "after a killed copy the next one opens" "0" "$(xdotool search --onlyvisible --name 'Mervel-' >/dev/null; echo $?)"

# Файл > Выход ends the program.
xdotool mousemove --window "$window" 20 10 click 1
sleep 0.5
xdotool key Down Return
status=0
timeout 10 tail --pid="$app_pid" -f /dev/null || status=$?
check "Выход ends the program" "0" "$status"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
