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
# sets WAYLAND_DISPLAY, SWAYSOCK and xdisplay (XWayland's DISPLAY), with a session bus and its
# accessibility bus. On exit every process in
# pids is ended, the session's own among them, and $work is removed. The sounds played are
# counted in $work/sounds (see sounds()).
wayland_session() {
    source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
    work=$(mktemp -d)
    trap session_end EXIT
    export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime LC_ALL=C.UTF-8
    mkdir -p "$HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET SWAYSOCK QT_QPA_PLATFORM PULSE_SERVER
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --log-target=stderr \
        -L module-native-protocol-unix -L "module-null-sink sink_name=speaker" \
        >"$work/pulse.log" 2>&1 &
    pids+=($!)
    wait_until 10 "PulseAudio (see $work/pulse.log)" pactl info
    # Every sound a program plays is a new stream on the sink.
    pactl subscribe >"$work/sounds" &
    pids+=($!)

    printf '%s\n' 'output HEADLESS-1 resolution 1280x800' 'xwayland enable' >"$work/sway.conf"
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
    pids+=($!)
    wait_until 10 "sway (see $work/sway.log)" \
        bash -c 'find "$1" -maxdepth 1 -type s -name "sway-ipc.*" | grep -q .' - "$XDG_RUNTIME_DIR"
    SWAYSOCK=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'sway-ipc.*' | head -n1)
    WAYLAND_DISPLAY=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' |
        head -n1)
    export SWAYSOCK WAYLAND_DISPLAY
    timeout 10 swaymsg -q exec "printf %s \"\$DISPLAY\" >'$work/xdisplay'"
    wait_until 5 "XWayland's display name" test -s "$work/xdisplay"
    xdisplay=$(cat "$work/xdisplay")
    session_bus
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
