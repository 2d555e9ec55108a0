# Sourced by the shell tests that drive the program on X: checks and their count, and X calls,
# window searches, clipboard reads and waits that are all bounded in time.
# Needs $work, a scratch folder.
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

finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

# Every xdotool call is bounded: one that the X server never answers (a --sync that waits for a
# window state that never comes) fails the run, naming itself, instead of running into ctest's cap.
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

clip() {  # puts text on the clipboard
    printf '%s' "$1" | timeout 5 xclip -selection clipboard
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

# end_status pid seconds: waits that long at most for a child of this shell to end, and sets
# $ended to its exit code, or to "still running after N s" (then it is ended here).
end_status() {
    ended=0
    if timeout "$2" tail --pid="$1" -f /dev/null; then
        wait "$1" || ended=$?
    else
        ended="still running after $2 s"
        end_processes "$1"
    fi
}

is_child() {  # pid: whether it is still a process of this shell's own, running or not waited for
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }  # after the command's name, which may hold spaces: state, then parent
    [ "$(cut -d' ' -f2 <<<"$stat")" = "$$" ]
}

end_processes() {  # pids...: ends those that are still this shell's children
    # A pid whose process has ended may by now be anyone's (pids wrap within minutes on a busy
    # machine): signalling it could kill another test's X server. Only our children are ended.
    local pid live=()
    for pid in "$@"; do
        is_child "$pid" && live+=("$pid")
    done
    [ "${#live[@]}" -gt 0 ] || return 0
    # A plain signal lets Xvfb remove its lock file and socket; what is left after 5 s is killed.
    kill "${live[@]}" 2>/dev/null || true
    for _ in $(seq 50); do
        for pid in "${live[@]}"; do
            kill -0 "$pid" 2>/dev/null && break
            pid=
        done
        [ -z "$pid" ] && break
        sleep 0.1
    done
    kill -9 "${live[@]}" 2>/dev/null || true
    wait "${live[@]}" 2>/dev/null || true
}
