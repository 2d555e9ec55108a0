#!/usr/bin/env bash
# What a blind user hears: the built program on Xvfb with the Orca screen reader, in a D-Bus
# session of its own with the accessibility bus, speech through speech-dispatcher and espeak-ng
# (to no sound card: the words are what counts), keys typed with xdotool. What Orca says is
# read from its debug log. Usage: orca.sh path/to/Mervel
set -euo pipefail
app=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
mkdir "$HOME/.config"
unset QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SPEECHD_ADDRESS
xvfb_pid=
cleanup() {
    [ -n "${ORCA_LOG_COPY:-}" ] && cp "$work/orca.log" "$work/app.log" "$ORCA_LOG_COPY" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

source "$here/../scripts/xvfb.sh"
xvfb_start "$work/xvfb.log" 1024x768x24

# espeak-ng speaks into libao's null device: no sound card, no sound server.
cp -r /etc/speech-dispatcher "$HOME/.config/speech-dispatcher"
cat >>"$HOME/.config/speech-dispatcher/speechd.conf" <<CONF
AudioOutputMethod "libao"
DefaultModule espeak-ng
LogDir "$work"
CONF
printf 'default_driver=null\n' >"$HOME/.libao"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=C.UTF-8
timeout 540 dbus-run-session -- /usr/bin/python3 "$here/orca.py" "$app" "$work" "${@:2}"
