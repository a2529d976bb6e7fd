#!/usr/bin/env bash
# Starts a virtual X server on a free display and openbox on it, for the
# end-to-end tests, and returns once the window manager runs. Writes into the
# state directory given:
#   display               the DISPLAY value, e.g. ":3" (written last)
#   xvfb.pid, openbox.pid "PID STARTTIME" of each process, for stop_x.sh
#   xvfb.log, openbox.log their output
set -euo pipefail
state=${1:?usage: start_x.sh STATE_DIR}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x_processes.sh"

# Generous: the machine may be busy with builds.
readonly wait_tenths=600

mkdir -p "$state"
state=$(cd "$state" && pwd)
# Leftovers of an interrupted run.
"$here/stop_x.sh" "$state"

fail() {
    echo "start_x.sh: $*" >&2
    for log in "$state/xvfb.log" "$state/openbox.log"; do
        [ -s "$log" ] && { echo "--- $log" >&2; cat "$log" >&2; }
    done
    "$here/stop_x.sh" "$state" || true
    exit 1
}

# Xvfb picks a free display and writes its number to descriptor 3 once it
# accepts connections. Own session, and no descriptor of ours held open, so
# that CTest neither waits for it nor ends it with this script.
rm -f "$state/displayfd"
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$state/displayfd" </dev/null >"$state/xvfb.log" 2>&1 &
vx_record "$state" xvfb $!

number=
for ((tries = 0; tries < wait_tenths; tries++)); do
    # Complete once the line has its newline.
    reported=$(cat "$state/displayfd" 2>/dev/null; echo .)
    if [[ "$reported" == *$'\n.' ]]; then
        number=${reported%$'\n.'}
        break
    fi
    vx_recorded_running "$state" xvfb || fail "Xvfb ended before it took a display"
    sleep 0.1
done
[[ "$number" =~ ^[0-9]+$ ]] || fail "Xvfb did not report a display in time"
display=":$number"

# An empty configuration home, so that openbox runs with the system's
# defaults whatever the user's own settings are.
mkdir -p "$state/xdg-config" "$state/xdg-cache"
DISPLAY=$display XDG_CONFIG_HOME="$state/xdg-config" XDG_CACHE_HOME="$state/xdg-cache" \
    setsid openbox --sm-disable </dev/null >"$state/openbox.log" 2>&1 &
vx_record "$state" openbox $!

# The window manager runs once it has announced itself on the root window.
for ((tries = 0; ; tries++)); do
    if DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        break
    fi
    ((tries < wait_tenths)) || fail "openbox did not start in time on $display"
    vx_recorded_running "$state" openbox || fail "openbox ended on $display"
    sleep 0.1
done

echo "$display" >"$state/display.new"
mv "$state/display.new" "$state/display"
echo "X server on $display with openbox"
