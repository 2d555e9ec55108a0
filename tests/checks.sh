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

end_processes() {  # pids...: a plain signal, so Xvfb removes its lock file and socket; waits up
    # to 5 s, then kills what is left
    [ "$#" -gt 0 ] || return 0
    kill "$@" 2>/dev/null || true
    local pid
    for _ in $(seq 50); do
        for pid in "$@"; do
            kill -0 "$pid" 2>/dev/null && break
            pid=
        done
        [ -z "$pid" ] && break
        sleep 0.1
    done
    kill -9 "$@" 2>/dev/null || true
    wait "$@" 2>/dev/null || true
}
