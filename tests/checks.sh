# Sourced by the shell tests: checks and their count, and every X call, window search, clipboard
# read, accessibility question and wait bounded in time, naming itself when it gives up. Brings
# scripts/session.sh with it. Needs $work, a scratch folder (session_start makes one).
tests=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$tests/../scripts/session.sh"
passed=0
failed=0

check() {  # what, then a command that succeeds when it holds
    local what=$1
    shift
    if "$@" >"$work/check.log" 2>&1; then
        passed=$((passed + 1))
        echo "PASS: $what"
    else
        failed=$((failed + 1))
        echo "FAIL: $what"
        sed 's/^/    /' "$work/check.log"
    fi
}

same() {  # expected actual
    [ "$1" = "$2" ] || { echo "expected '$1', got '$2'"; return 1; }
}

lacks() {  # pattern text
    ! grep -qiE -- "$1" <<<"$2"
}

finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

# A --sync that waits for a window state that never comes fails the run, naming the call,
# instead of running into ctest's cap.
xdotool() {
    local status=0
    timeout 20 xdotool "$@" || status=$?
    [ "$status" -ne 124 ] || echo "xdotool $* did not return within 20 s" >&2
    return "$status"
}

focus() {  # window [xdotool commands to run on it]: fails, naming it, after 10 s without focus
    timeout 10 xdotool windowfocus --sync "$@" ||
        { echo "window '$1' took no focus within 10 s" >&2; return 1; }
}

find_window() {  # the first visible window whose title matches; fails, naming it, after 20 s
    local found
    found=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n1 || true)
    [ -n "$found" ] || { echo "no visible window named '$1' after 20 s" >&2; return 1; }
    printf '%s' "$found"
}

visible() {  # how many visible windows have a matching title
    timeout 20 xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l
}

# Puts text on the clipboard (or the selection named), and reads it back: the test acts on it
# only once the X server hands out what was set.
clip() {  # text [clipboard|primary]
    local selection=${2:-clipboard}
    printf '%s' "$1" | timeout 5 xclip -selection "$selection"
    wait_until 5 "the $selection to hold the text set" \
        bash -c '[ "$(timeout 1 xclip -o -selection "$1")" = "$2" ]' - "$selection" "$1"
}

# The text of the focused box: select it all and copy it with Ctrl+Insert, which the boxes leave
# to the editor under every layout (it delivers no character). A token put on the clipboard first
# tells a copy from no copy; the read gives up after 5 s, saying so, rather than hang the run.
reads=0
focused_text() {
    reads=$((reads + 1))
    local token="mervel-e2e-read-$reads" text=""
    clip "$token"
    xdotool key Home shift+End ctrl+Insert
    for _ in $(seq 50); do
        text=$(timeout 1 xclip -o -selection clipboard 2>/dev/null || true)
        [ -n "$text" ] && [ "$text" != "$token" ] && break
        sleep 0.1
    done
    if [ "$text" = "$token" ] || [ -z "$text" ]; then
        text="<nothing copied in 5 s: the focused box is empty or not a box>"
    fi
    printf '%s' "$text"
}

# The X bells rung since bells_start, which is how the program's beeps are heard on X.
bells_start() {
    /usr/bin/python3 "$tests/bellcount.py" >"$work/bells" &
    pids+=($!)
    wait_until 5 "the bell counter" grep -q ready "$work/bells"
}
bells() {
    sleep 0.3  # the bell reaches the counter after the key
    grep -c bell "$work/bells" || true
}
heard_refused() {  # how many bells, then what to do: the program is heard refusing each key
    local before
    before=$(bells)
    "${@:2}"
    same "$(($1 + before))" "$(bells)"
}

# Questions to the accessibility bus about the program started last ($app_pid, its window
# $window): see atspi.py.
atspi() {
    timeout 60 /usr/bin/python3 "$tests/atspi.py" "$app_pid" "${window:-}" "$@"
}

# Moves the focus on with Tab and picks the unit in the picker it reaches, by the unit's name:
# arrow keys, as many as the bus says the unit lies from the row picked now.
pick() {  # picker name, unit
    local keys
    xdotool key Tab
    keys=$(atspi keys "$1" "$2") || return 1
    [ -z "$keys" ] || xdotool key $keys
}

# Opens the category by its caption, with Ctrl+Tab from the one open now.
category() {
    local keys
    keys=$(atspi keys 'Категория величины' "$1") || return 1
    [ -z "$keys" ] || xdotool key $keys
}

click() {  # button, the name of the control: clicks it where the bus says it is
    local at
    at=$(atspi where "$2") || return 1
    xdotool mousemove ${at} click "$1"
}
