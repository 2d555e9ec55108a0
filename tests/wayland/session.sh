# Sourced by the Wayland tests: a headless sway with XWayland, and a PulseAudio of its own
# with a null sink, all in $work. Sway will not run as root, so a test started as root runs
# itself again first as an ordinary user of a user namespace of its own (which also owns the
# files root owns outside it):  wayland_reexec "$0" "$@"
wayland_reexec() {
    if [ "$(id -u)" = 0 ]; then
        exec unshare --user --map-user=1000 --map-group=1000 -- "$@"
    fi
}

# Makes the scratch folder $work and starts the session in it, with the checks of checks.sh;
# on exit ends every process in pids and the session, and removes $work.
wayland_session() {
    work=$(mktemp -d)
    pids=()
    session_pids=()
    trap wayland_cleanup EXIT
    source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
    wayland_start
    export LC_ALL=C.UTF-8
}

wayland_cleanup() {
    local all=("${pids[@]}" "${session_pids[@]}")  # never empty: a bare wait waits for all
    kill "${all[@]}" 2>/dev/null || true
    wait "${all[@]}" 2>/dev/null || true
    rm -rf "$work"
}

# Starts the session; sets WAYLAND_DISPLAY, SWAYSOCK, xdisplay (XWayland's DISPLAY) and
# session_pids. The sounds played are counted in $work/sounds (see sounds()).
wayland_start() {
    export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
    mkdir -p "$HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET SWAYSOCK QT_QPA_PLATFORM PULSE_SERVER
    session_pids=()
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --log-target=stderr \
        -L module-native-protocol-unix -L "module-null-sink sink_name=speaker" \
        >"$work/pulse.log" 2>&1 &
    session_pids+=($!)
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    pactl info >/dev/null || { echo "PulseAudio did not start (see $work/pulse.log)" >&2; return 1; }
    # Every sound a program plays is a new stream on the sink.
    pactl subscribe >"$work/sounds" &
    session_pids+=($!)

    printf '%s\n' 'output HEADLESS-1 resolution 1280x800' 'xwayland enable' >"$work/sway.conf"
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
    session_pids+=($!)
    local socket=
    for _ in $(seq 100); do
        socket=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'sway-ipc.*' | head -n1)
        [ -n "$socket" ] && break
        sleep 0.1
    done
    [ -n "$socket" ] || { echo "sway did not start (see $work/sway.log)" >&2; return 1; }
    export SWAYSOCK=$socket
    WAYLAND_DISPLAY=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' |
        head -n1)
    export WAYLAND_DISPLAY
    swaymsg -q exec "printf %s \"\$DISPLAY\" >'$work/xdisplay'"
    for _ in $(seq 50); do
        [ -s "$work/xdisplay" ] && break
        sleep 0.1
    done
    xdisplay=$(cat "$work/xdisplay")
}

sounds() {  # how many sounds have been played so far
    grep -c "'new' on sink-input" "$work/sounds" || true
}

# The windows on screen, one a line: the shell (xdg_shell or xwayland), the app_id, the title.
views() {
    swaymsg -t get_tree | /usr/bin/python3 -c '
import json, sys
def walk(node):
    if node.get("pid") and node.get("type") in ("con", "floating_con"):
        print("%s\t%s\t%s" % (node.get("shell"), node.get("app_id"), node.get("name")))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}

view() {  # the first window whose title matches, within 20 s, as views() writes it
    local found=
    for _ in $(seq 200); do
        found=$(views | awk -F'\t' -v re="$1" '$3 ~ re' | head -n1)
        [ -n "$found" ] && break
        sleep 0.1
    done
    [ -n "$found" ] || { echo "no window titled '$1' after 20 s" >&2; return 1; }
    printf '%s' "$found"
}
