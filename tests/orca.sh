#!/usr/bin/env bash
# What a blind user hears: the built program on Xvfb with the Orca screen reader, in a D-Bus
# session of its own with the accessibility bus, speech through speech-dispatcher and espeak-ng
# (to no sound card: the words are what counts), keys typed with xdotool. What Orca says is
# read from its debug log. Usage: orca.sh path/to/Mervel
set -euo pipefail
app=$(realpath "$1")
source "$(dirname "$0")/checks.sh"
session_start 1024x768x24
before_end() {
    [ -z "${ORCA_LOG_COPY:-}" ] || cp "$work/orca.log" "$work/app.log" "$ORCA_LOG_COPY" 2>/dev/null
}
export HOME=$work/home
mkdir -p "$HOME/.config"
unset SPEECHD_ADDRESS

# espeak-ng speaks into libao's null device: no sound card, no sound server.
cp -r /etc/speech-dispatcher "$HOME/.config/speech-dispatcher"
cat >>"$HOME/.config/speech-dispatcher/speechd.conf" <<CONF
AudioOutputMethod "libao"
DefaultModule espeak-ng
LogDir "$work"
CONF
printf 'default_driver=null\n' >"$HOME/.libao"

timeout 540 /usr/bin/python3 "$tests/orca.py" "$app" "$work" "${@:2}"
