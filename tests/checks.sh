# Sourced by the shell tests: numbered checks, the closing count, and a bounded window focus.
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

focus() {  # window [xdotool commands to run on it]: fails, naming it, after 10 s without focus
    timeout 10 xdotool windowfocus --sync "$@" ||
        { echo "window '$1' took no focus within 10 s" >&2; return 1; }
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
