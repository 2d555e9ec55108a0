#!/usr/bin/env bash
# Runs a test program on the real X11 platform, on a virtual X server of its own, with an
# accessibility bus, for what the offscreen platform cannot show: it has no accessibility support,
# so Qt sends no accessibility notices there. Usage: onxvfb.sh program [arguments]
set -euo pipefail
source "$(dirname "$0")/checks.sh"
session_start
export QT_QPA_PLATFORM=xcb
timeout 110 "$@"
