#!/usr/bin/env bash
# Every way the start can find, or not find, a display: Qt's wayland platform plugin installed
# or hidden, WAYLAND_DISPLAY live, stale or unset, DISPLAY live, unreachable or unset. Each
# start either shows the window or ends with status 2 and the program's message; none ends in
# Qt's abort. The live displays are a headless sway and its XWayland; the plugin is hidden by a
# mount namespace in which Qt's platforms folder lacks it.
#   displaymatrix.sh path/to/Mervel QT_PLATFORMS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wayland/session.sh"
wayland_reexec "$here/displaymatrix.sh" "$@"
app=$(realpath "$1")
wayland_session
live_wayland=$WAYLAND_DISPLAY
unset WAYLAND_DISPLAY

# A socket a crashed compositor left behind: the file is there, nobody listens.
/usr/bin/python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' \
    "$XDG_RUNTIME_DIR/wayland-stale"
unreachable=
for n in $(seq 400 999); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { unreachable=:$n; break; }
done

platforms=$2
ls "$platforms"/libqwayland* >/dev/null ||
    { echo "Qt's wayland platform plugin is not installed in $platforms" >&2; exit 1; }
mkdir "$work/platforms"
for plugin in "$platforms"/*; do
    case ${plugin##*/} in libqwayland*) ;; *) cp "$plugin" "$work/platforms/" ;; esac
done

start() {  # plugin, then the program's environment
    local plugin=$1
    shift
    if [ "$plugin" = present ]; then
        exec env "$@" "$app"
    else
        exec unshare --user --map-root-user --mount -- sh -c \
            'mount --bind "$0" "$1" && shift && exec env "$@"' "$work/platforms" "$platforms" \
            "$@" "$app"
    fi
}

gone() {  # no window of the program is left on screen
    for _ in $(seq 100); do
        views | grep -q 'Mervel-' || return 0
        sleep 0.1
    done
    return 1
}

cell() {  # plugin, WAYLAND_DISPLAY, DISPLAY: what the start does
    local plugin=$1 wayland=$2 x=$3 vars=()
    case $wayland in live) vars+=("WAYLAND_DISPLAY=$live_wayland") ;; stale) vars+=(WAYLAND_DISPLAY=wayland-stale) ;; esac
    case $x in live) vars+=("DISPLAY=$xdisplay") ;; unreachable) vars+=("DISPLAY=$unreachable") ;; esac
    start "$plugin" "${vars[@]}" >"$work/app.log" 2>&1 &
    local pid=$! status=0
    local expected=message
    { [ "$plugin" = present ] && [ "$wayland" = live ]; } || [ "$x" = live ] && expected=window
    local got=
    for _ in $(seq 200); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" || status=$?
            got="status $status"
            [ "$status" = 2 ] && grep -q 'WAYLAND_DISPLAY' "$work/app.log" &&
                grep -q '  DISPLAY' "$work/app.log" && got=message
            break
        fi
        views | grep -q 'Mervel-' && { got=window; break; }
        sleep 0.1
    done
    if [ "$got" = window ]; then
        end_processes "$pid"
        gone
    elif [ -z "$got" ]; then
        end_processes "$pid"
        got="neither window nor end in 20 s"
    fi
    check "Qt's wayland plugin $plugin, WAYLAND_DISPLAY $wayland, DISPLAY $x: $expected" \
        same "$expected" "$got"
    [ "$got" = "$expected" ] || sed 's/^/    /' "$work/app.log"
}

for plugin in present hidden; do
    for wayland in live stale unset; do
        for x in live unreachable unset; do
            cell "$plugin" "$wayland" "$x"
        done
    done
done
finish
