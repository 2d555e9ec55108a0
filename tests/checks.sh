# Sourced by the shell tests: numbered checks and the closing count. Needs $work, a scratch folder.
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
