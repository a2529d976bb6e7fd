#!/usr/bin/env bash
# Stops the window manager and the X server that start_x.sh started for the
# state directory given, and forgets the display. Harmless when none runs.
set -euo pipefail
state=${1:?usage: stop_x.sh STATE_DIR}
source "$(dirname "$0")/x_processes.sh"

[ -d "$state" ] || exit 0
rm -f "$state/display"
vx_stop_recorded "$state" openbox
vx_stop_recorded "$state" xvfb
