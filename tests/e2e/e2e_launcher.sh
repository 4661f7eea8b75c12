#!/usr/bin/env bash
# The real launcher in a real X server, driven only from outside: caption, layout, hover,
# paging, launching, the second copy and File > Exit.
# Usage: e2e_launcher.sh LAUNCHER [SCALE]   (SCALE 1.5 runs the same checks on a 150 % screen)
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
launcher_bin=$1
scale=${2:-1}
trap stop_all EXIT

WORK=$(mktemp -d)
start_x
if [ "$scale" != 1 ]; then
    export QT_SCALE_FACTOR=$scale
fi
# Design twips to screen pixels: 15 twips a pixel at 100 %.
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
# The picture is drawn pixel for pixel: a white button with one solid picture has no blended colours.
button_w=$(( $(px 1695) - 8 ))
button_h=$(( $(px 615) - 8 ))
colours_seen=$(import -window root -crop "${button_w}x${button_h}+$(( cx + $(px 120) + 4 ))+$(( $(place_y 1) - button_h / 2 ))" \
    -depth 8 -format %k info: 2>/dev/null)
[ "${colours_seen:-99}" -le 2 ] || fail "the hovered button's picture is resampled ($colours_seen colours)"
note "picture sharp"

# The description box holds the hovered component's block: select all, copy, read the clipboard.
xdotool mousemove $(( cx + $(px 1680) + $(px 3000) )) $(( client_y + $(px 840) + $(px 2000) )) click 1
xdotool key ctrl+a ctrl+c
expected="$WORK/expected.txt"
printf '   COMP01 Utility \r\n%s\r\nThe Comp01 component, started from the launcher.\r\n\r\n   Executable: run.sh\r\n   Image: pic.png\r\n' \
    "$(printf '_%.0s' $(seq 57))" > "$expected"
copied_is_expected() { xclip -o -selection clipboard > "$WORK/copied.txt" && cmp -s "$expected" "$WORK/copied.txt"; }
wait_for 5 copied_is_expected || fail "the description copied is not the block: $(od -c "$WORK/copied.txt" | head -5)"
note "description copied exactly, CR LF included"

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

# About and Getting Help open from the Help menu; OK returns; the caption keeps one suffix.
menu_y=$(( wy + $(awk -v s="$scale" 'BEGIN {printf "%d", 8 * s}') ))
help_x=$(( wx + $(awk -v s="$scale" 'BEGIN {printf "%d", 48 * s}') ))
open_from_help() { # keys to choose the item, window caption
    local before; before=$(visible_windows)
    xdotool mousemove "$help_x" "$menu_y" click 1
    # The menu is open when one more window of the launcher is on screen.
    wait_for 5 more_windows_than "$before" || fail "the Help menu did not open"
    xdotool key $1
    wait_for 10 window_named "$2" || fail "no window captioned '$2'"
    xdotool windowfocus --sync "$(window_named "$2")" key Return
    wait_for 10 bash -c "! xdotool search --onlyvisible --name '^$2\$' >/dev/null" || fail "OK did not close '$2'"
    wait_for 5 window_named "$caption" || fail "the main window lost its caption after '$2'"
}
open_from_help "Up Return" "About Kestrelkit Launcher"
open_from_help "Down Return" "Getting Help From Vessaly Software Solutions, Inc."
open_from_help "Up Return" "About Kestrelkit Launcher"
note "About and Getting Help open and close; caption unchanged"

# File > Exit ends the launcher; the started component keeps running.
before=$(visible_windows)
xdotool mousemove $(( wx + $(awk -v s="$scale" 'BEGIN {printf "%d", 14 * s}') )) "$menu_y" click 1
wait_for 5 more_windows_than "$before" || fail "the File menu did not open"
# The File menu opens with a separator, then Exit: walk down with the keyboard.
xdotool key Down Down Return
wait_for 10 bash -c "! kill -0 $LAUNCHER_PID 2>/dev/null" || fail "File > Exit did not end the launcher"
LAUNCHER_PID=
kill -0 "$(cat "$WORK/pid-Comp02")" || fail "the started component ended with the launcher"
note "File > Exit ended the launcher, the component runs on"
echo "PASS"
