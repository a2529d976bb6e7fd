# Helpers of start_x.sh and stop_x.sh. Sourced, not run.
#
# A process is recorded as "PID STARTTIME" (the start time from /proc), so
# that a PID reused by some other program is never taken for ours.

# Prints the start time of a process, or nothing if there is none.
vx_start_time() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
    # The command name in parentheses may hold spaces: cut after the last ')'.
    stat=${stat##*) }
    # Fields after the name: state is the 1st, starttime the 20th.
    set -- $stat
    echo "${20}"
}

# Whether the process runs, a zombie counting as ended.
vx_running() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [ "${stat%% *}" != Z ]
}

# Records the process PID under NAME in the state directory.
vx_record() {
    local state=$1 name=$2 pid=$3
    echo "$pid $(vx_start_time "$pid")" >"$state/$name.pid"
}

# Whether the process recorded under NAME still runs.
vx_recorded_running() {
    local state=$1 name=$2 pid start
    [ -r "$state/$name.pid" ] || return 1
    read -r pid start <"$state/$name.pid" || return 1
    [ -n "$pid" ] && [ -n "$start" ] || return 1
    [ "$(vx_start_time "$pid")" = "$start" ] && vx_running "$pid"
}

# Ends the process recorded under NAME, if it is still the same process:
# SIGTERM, then SIGKILL if it has not ended after a while.
vx_stop_recorded() {
    local state=$1 name=$2 pid start tries
    [ -r "$state/$name.pid" ] || return 0
    read -r pid start <"$state/$name.pid" || true
    if vx_recorded_running "$state" "$name"; then
        kill -TERM "$pid" 2>/dev/null || true
        for ((tries = 0; tries < 300; tries++)); do
            vx_running "$pid" || break
            sleep 0.1
        done
        if vx_running "$pid"; then
            echo "$name ($pid) did not end on SIGTERM; sending SIGKILL" >&2
            kill -KILL "$pid" 2>/dev/null || true
        fi
    fi
    rm -f "$state/$name.pid"
}
