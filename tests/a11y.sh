#!/usr/bin/env bash
# End to end through the accessibility bus (AT-SPI), as a screen reader drives the program: the
# built program on Xvfb, in a D-Bus session of its own. Usage: a11y.sh path/to/Mervel
set -euo pipefail
app=$(realpath "$1")
source "$(dirname "$0")/checks.sh"
session_start
timeout 120 /usr/bin/python3 "$tests/a11y.py" "$app"
