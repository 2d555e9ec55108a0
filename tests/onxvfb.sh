#!/usr/bin/env bash
# Runs a test program on the real X11 platform, on a virtual X server of its own, with an
# accessibility bus, for what the offscreen platform cannot show: it has no accessibility support,
# so Qt sends no accessibility notices there. Usage: onxvfb.sh program [arguments]
set -euo pipefail
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/../scripts/xvfb.sh"
xvfb_start "$work/xvfb.log"
# A private session bus, with the accessibility bus started before the program so that Qt finds
# it and turns its accessibility on. No screen reader listens there.
timeout 110 dbus-run-session -- sh -c '
    dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress >/dev/null || { echo "no accessibility bus (org.a11y.Bus)" >&2; exit 1; }
    exec "$@"' sh "$@"
