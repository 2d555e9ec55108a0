# Sourced by the scripts that need a virtual X server. xvfb_start starts one on a free display
# above 99, so it never takes :0 or a display that another program uses, and sets DISPLAY and
# xvfb_pid. Usage: xvfb_start LOGFILE [WIDTHxHEIGHTxDEPTH] [resets]

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
        # Another server may win the display between the check and the start; then try the next.
        # The display is ours once its lock file names our server and its socket is there.
        for _ in $(seq 100); do
            kill -0 "$xvfb_pid" 2>/dev/null || break
            if [ "$({ tr -d ' \n' <"/tmp/.X$n-lock"; } 2>/dev/null)" = "$xvfb_pid" ] &&
                [ -S "/tmp/.X11-unix/X$n" ]; then
                export DISPLAY=:$n
                return 0
            fi
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    done
    echo "Xvfb did not start on any display from :100 to :299 (see $log)" >&2
    return 1
}
