#!/usr/bin/env bash
# End to end through the accessibility bus (AT-SPI), as a screen reader drives the program: the
# built program on Xvfb, in a D-Bus session of its own whose accessibility bus is started on
# demand. Usage: a11y.sh path/to/Mervel
set -euo pipefail
app=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

source "$here/../scripts/xvfb.sh"
xvfb_start "$work/xvfb.log"

# Qt joins the accessibility bus only when asked to; a desktop asks through its settings.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=C.UTF-8
# dbus-run-session ends the session bus, and the accessibility bus it activated, on return.
timeout 120 dbus-run-session -- /usr/bin/python3 "$here/a11y.py" "$app"
