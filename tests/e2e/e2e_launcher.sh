#!/usr/bin/env bash
# The real launcher in a real X server, driven only from outside: caption, layout, hover,
# paging, launching, the second copy and File > Exit.
# Usage: e2e_launcher.sh LAUNCHER [DPI]
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
launcher_bin=$1
dpi=${2:-96}
trap stop_all EXIT

WORK=$(mktemp -d)
start_x "$dpi"
scale=$(awk -v d="$dpi" 'BEGIN {print d / 96}')
px() { awk -v t="$1" -v s="$scale" 'BEGIN {printf "%d", t / 15 * s + 0.5}'; }

mkdir -p "$WORK/suite"
cp "$launcher_bin" "$WORK/suite/"
marker="$WORK/marker.txt"
colours=("#e02020" "#20a020" "#2040e0" "#e0a000" "#a020c0" "#00a0a0" "#805020")
for i in "${!colours[@]}"; do
    make_component "Comp0$i" "${colours[$i]}" "$marker"
done

caption="Kestrelkit Launcher - Vessaly Software Solutions, Inc -  Version 1.1.0"
(cd "$WORK" && exec "$WORK/suite/kestrelkit-launcher") >"$WORK/launcher.log" 2>&1 &
LAUNCHER_PID=$!
wait_for 15 window_named "$caption" || fail "no main window captioned '$caption'"
win=$(window_named "$caption")
note "main window $win captioned exactly"

read -r wx wy < <(window_origin "$win")
# The client area starts below the menu bar: find the banner's top-left frame pixel.
client_y=$(( wy + $(xwininfo -id "$win" | awk '/Height:/ {print $2}') - $(px 4665) ))
cx=$wx
note "client area at $cx,$client_y"

# The centre of launch place k (0..4) and of the page buttons, from the design in twips.
place_x=$(( cx + $(px 120) + $(px 1695) / 2 ))
place_y() { echo $(( client_y + $(px 840) + $(px 360) + $1 * $(px 600) + $(px 615) / 2 )); }
down_y=$(( client_y + $(px 840) + $(px 3360) + $(px 375) / 2 ))
up_y=$(( client_y + $(px 840) + $(px 375) / 2 ))

# The five places show the first five pictures.
for k in 0 1 2 3 4; do
    wait_for 5 pixel_is "$place_x" "$(place_y $k)" "${colours[$k]^^}" \
        || fail "place $k shows $(pixel "$place_x" "$(place_y $k)"), not ${colours[$k]}"
done
note "places show the first page's pictures"
# The description box is white inside.
pixel_is $(( cx + $(px 1680) + $(px 3000) )) $(( client_y + $(px 840) + $(px 2000) )) "#FFFFFF" \
    || fail "description box is not white"

# Hover: the button under the pointer turns white around its picture.
xdotool mousemove "$place_x" "$(place_y 1)"
sleep 0.1
xdotool mousemove $(( place_x + 2 )) "$(place_y 1)"
edge_x=$(( cx + $(px 120) + 6 ))
wait_for 5 pixel_is "$edge_x" "$(place_y 1)" "#FFFFFF" || fail "hovered button is not white: $(pixel "$edge_x" "$(place_y 1)")"
pixel_is "$edge_x" "$(place_y 2)" "#FFFFFF" && fail "a button the pointer never touched is white"
note "hovered button is white"

# Page down: the first place shows button 5's picture, the second button 6's.
xdotool mousemove "$place_x" "$down_y" click 1
wait_for 5 pixel_is "$place_x" "$(place_y 0)" "${colours[5]^^}" || fail "page down did not show button 5"
wait_for 5 pixel_is "$place_x" "$(place_y 1)" "${colours[6]^^}" || fail "page down did not show button 6"
xdotool mousemove "$place_x" "$up_y" click 1
wait_for 5 pixel_is "$place_x" "$(place_y 0)" "${colours[0]^^}" || fail "page up did not show button 0"
note "paging shows the right pictures"

# A click starts the component; the launcher stays responsive.
xdotool mousemove "$place_x" "$(place_y 2)" click 1
wait_for 10 grep -qx "Comp02" "$marker" || fail "the component did not start"
kill -0 "$LAUNCHER_PID" || fail "the launcher ended after a launch"
note "click started Comp02"

# A second copy shows the refusal and ends.
"$WORK/suite/kestrelkit-launcher" >"$WORK/second.log" 2>&1 &
second=$!
wait_for 15 window_named "Already running..." || fail "no 'Already running...' box"
box=$(window_named "Already running...")
xdotool windowfocus --sync "$box" key Return
wait_for 10 bash -c "! kill -0 $second 2>/dev/null" || fail "the second copy did not end"
kill -0 "$LAUNCHER_PID" || fail "the first copy ended"
note "second copy refused"

# File > Exit ends the launcher; the started component keeps running.
menu_y=$(( wy + 8 ))
xdotool mousemove $(( wx + 14 )) "$menu_y" click 1
sleep 0.3
# The File menu opens with a separator, then Exit: walk down with the keyboard.
xdotool key Down Down Return
wait_for 10 bash -c "! kill -0 $LAUNCHER_PID 2>/dev/null" || fail "File > Exit did not end the launcher"
LAUNCHER_PID=
kill -0 "$(cat "$WORK/pid-Comp02")" || fail "the started component ended with the launcher"
note "File > Exit ended the launcher, the component runs on"
echo "PASS"
