#!/usr/bin/env bash
# The program on Wayland: a headless weston of its own, the program on Qt's
# wayland platform with no X display to fall back on. Passes when the window
# is mapped natively (its toplevel configured, a frame attached) under the
# application id, the program is still running after it, and SIGTERM ends it
# with the status given.
#   wayland_smoke.sh PROGRAM APP_ID STATUS_ON_SIGTERM
set -euo pipefail
program=$1 app_id=$2 status_on_term=$3

# Generous: the machine may be busy with builds.
readonly wait_tenths=600

state=$(mktemp -d)  # private, 0700, as XDG_RUNTIME_DIR must be
weston_pid= program_pid=
finish() {
    local pid
    for pid in $program_pid $weston_pid; do
        { kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; } || true
    done
    rm -rf "$state"
}
trap finish EXIT
fail() {
    echo "FAIL: $*" >&2
    for log in weston.log program.log; do
        [ -s "$state/$log" ] && { echo "--- $log" >&2; tail -n 40 "$state/$log" >&2; }
    done
    exit 1
}

export XDG_RUNTIME_DIR=$state
socket=wayland-smoke
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 --no-config \
    --log="$state/weston.log" </dev/null >/dev/null 2>&1 &
weston_pid=$!
for ((tries = 0; ; tries++)); do
    [ -S "$state/$socket" ] && break
    ((tries < wait_tenths)) || fail "weston did not open its socket in time"
    kill -0 "$weston_pid" 2>/dev/null || fail "weston ended"
    sleep 0.1
done

# WAYLAND_DEBUG traces the requests the program makes of the compositor.
env -u DISPLAY WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
    "$program" </dev/null >/dev/null 2>"$state/program.log" &
program_pid=$!

# The window is shown once a frame is attached after the first configure.
shown() {
    grep -q "xdg_toplevel@[0-9]*\.set_app_id(\"$app_id\")" "$state/program.log" &&
        sed -n '/xdg_surface@[0-9]*\.ack_configure(/,$p' "$state/program.log" |
        grep -q 'wl_surface@[0-9]*\.attach(wl_buffer@'
}
for ((tries = 0; ; tries++)); do
    shown && break
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended before its window was shown"
    ((tries < wait_tenths)) || fail "no window with the app id $app_id was shown in time"
    sleep 0.1
done

# Still up a moment later: the guard and copy timers have ticked.
sleep 1
kill -0 "$program_pid" 2>/dev/null || fail "the program ended after showing its window"
if grep -v '^\[' "$state/program.log" | grep -i 'warning\|error\|critical'; then
    fail "the program complained on Wayland (above)"
fi

kill -TERM "$program_pid"
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq "$status_on_term" ] ||
    fail "the program ended with status $status on SIGTERM, not $status_on_term"
echo "wayland: window shown as $app_id, ended with status $status"
