# Sourced by every script that runs the program on a display of its own. One way to set up: a
# virtual X server, a private D-Bus session with its accessibility bus; and one way to end what
# was started: only this shell's own children are signalled.
#
#   session_start [WIDTHxHEIGHTxDEPTH]  makes the scratch folder $work (and the runtime folder in
#       it), starts Xvfb (DISPLAY), a session bus (DBUS_SESSION_BUS_ADDRESS) and its accessibility
#       bus, which Qt joins; on exit ends them all, with every pid in `pids`, and removes $work.
#       A function `before_end`, where defined, runs first.
#   session_bus  the session bus and its accessibility bus alone, in $work
#   xvfb_start LOGFILE [WIDTHxHEIGHTxDEPTH] [resets]  one more X server; sets DISPLAY, xvfb_pid
#   end_processes PID...  ends those that are still this shell's children
#   end_status PID SECONDS  waits that long at most for a child to end: $ended is its exit code,
#       or "still running after N s" (then it is ended)
#   wait_until SECONDS WHAT COMMAND...  polls the command until it succeeds; fails, naming WHAT

pids=()

session_start() {
    work=$(mktemp -d)
    trap session_end EXIT
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # A real X server and a locale of the test's own, whatever the caller's environment says.
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY AT_SPI_BUS_ADDRESS
    export LC_ALL=C.UTF-8
    xvfb_start "$work/xvfb.log" "${1:-800x600x24}"
    session_bus
}

# A session bus in $work, and the accessibility bus it starts on demand.
session_bus() {
    # The accessibility bus must answer before the program starts, or Qt never joins it; a
    # desktop asks Qt to join through its settings, this variable does it here.
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" \
        >"$work/dbus.log" 2>&1 &
    pids+=($!)
    wait_until 10 "the session bus (see $work/dbus.log)" test -S "$work/bus"
    wait_until 10 "the accessibility bus (org.a11y.Bus)" dbus-send --session --print-reply \
        --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
}

session_end() {
    declare -F before_end >/dev/null && before_end
    # The accessibility bus leaves with the session bus that started it.
    end_processes "${pids[@]}"
    rm -rf "$work"
}

wait_until() {
    local seconds=$1 what=$2 n
    shift 2
    for ((n = 0; n < seconds * 10; n++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "after $seconds s still waiting for $what" >&2
    return 1
}

# Whether display n is in use: its lock file names a live process, or it has a socket and no lock
# file. A lock left by a server that died, even by SIGKILL, does not count: the next server on
# that display replaces the lock and the socket itself.
xvfb_display_taken() {
    local lock=/tmp/.X$1-lock holder
    if [ -e "$lock" ]; then
        holder=$({ tr -d ' \n' <"$lock"; } 2>/dev/null || true)
        # /proc, not kill -0: another user's live server would refuse the signal.
        [ -z "$holder" ] || [ -d "/proc/$holder" ]
        return
    fi
    [ -e "/tmp/.X11-unix/X$1" ]
}

# A server on a free display above 99, so it never takes :0 or a display that another program
# uses.
xvfb_start() {
    local log=$1 screen=${2:-800x600x24} reset=-noreset n
    [ "${3:-}" = resets ] && reset=  # as an X server on its own does, for the tests of that
    for n in $(seq 100 299); do
        xvfb_display_taken "$n" && continue
        # -noreset: by default the server resets when its last client leaves, and refuses
        # connections while it does. Between two programs of a test there is often no client at
        # all (the program's own display check connects and leaves before Qt connects), and
        # under load the next one then met "Can't open display".
        Xvfb ":$n" -screen 0 "$screen" -nolisten tcp $reset >"$log" 2>&1 &
        xvfb_pid=$!
        pids+=("$xvfb_pid")
        # Another server may win the display between the check and the start; then try the next.
        # The display is ours once its lock file names our server and its socket is there.
        for _ in $(seq 100); do
            is_child "$xvfb_pid" || break
            if [ "$({ tr -d ' \n' <"/tmp/.X$n-lock"; } 2>/dev/null)" = "$xvfb_pid" ] &&
                [ -S "/tmp/.X11-unix/X$n" ]; then
                export DISPLAY=:$n
                return 0
            fi
            sleep 0.1
        done
        end_processes "$xvfb_pid"
    done
    echo "Xvfb did not start on any display from :100 to :299 (see $log)" >&2
    return 1
}

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

end_processes() {
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
