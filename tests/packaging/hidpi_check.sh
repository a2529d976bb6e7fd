#!/usr/bin/env bash
# The window at QT_SCALE_FACTOR 1 and 2 on the X server of the x11_server
# fixture: a screenshot of each, the sizes of the icon images it hands the
# window manager, and a close with Alt+F4 (openbox's Close), which must end
# the program with status 0.
#   hidpi_check.sh PROGRAM WINDOW_SHOT SHOT_CHECK SCRATCH_DIR
set -euo pipefail
program=$1 window_shot=$2 shot_check=$3 scratch=$4

pid=
finish() { [ -z "$pid" ] || { kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; } || true; }
trap finish EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$scratch"
mkdir -p -m 0700 "$scratch"
export XDG_RUNTIME_DIR=$scratch

# Prints the sizes of the images in the window's _NET_WM_ICON, in order.
icon_sizes() {
    xprop -id "$1" _NET_WM_ICON | sed -n 's/.*Icon (\([0-9]*\) x \([0-9]*\)).*/\1/p' | xargs
}

for scale in 1 2; do
    QT_SCALE_FACTOR=$scale "$program" </dev/null >"$scratch/program-$scale.log" 2>&1 &
    pid=$!
    window=$(timeout 120 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) ||
        fail "no window at scale $scale"
    "$window_shot" "$window" "$scratch/scale-$scale.png" || fail "no screenshot at scale $scale"
    sizes=$(icon_sizes "$window")
    echo "scale $scale: icon images of $sizes pixels"
    case $scale in
    1) [ "$sizes" = "16 32 48" ] || fail "at scale 1 the icon is not the 16, 32 and 48 images" ;;
    2)
        # Each asked for at twice its size, each answered by an image drawn
        # at that size: none is enlarged.
        for size in $sizes; do
            case $size in 32 | 64 | 96) ;; *) fail "at scale 2 an icon image of $size pixels" ;; esac
        done
        [[ " $sizes " == *" 64 "* && " $sizes " == *" 96 "* ]] ||
            fail "at scale 2 the icon lacks its 64 and 96 pixel images"
        ;;
    esac

    xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
    status=0
    timeout 120 tail --pid="$pid" -f /dev/null || fail "the program did not end after Alt+F4"
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || fail "closed at scale $scale, the program ended with status $status"
done

"$shot_check" "$scratch/scale-1.png" "$scratch/scale-2.png"
echo "high density: ok"
