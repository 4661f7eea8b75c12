#!/usr/bin/env bash
# The real launcher on a real display, driven only from outside: layout, hover, paging, launching,
# keys and the wheel, the second copy, the information windows and File > Exit.
# Usage: e2e_launcher.sh LAUNCHER [SCALE] [x11|wayland]
#   SCALE 1.5 runs the same checks on a 150 % screen.
#   x11 (the default) runs the launcher on the X server, where its windows are X windows with
#   their captions. wayland runs it natively on weston inside the X server, where windows are
#   found by their pixels; a case that cannot run here exits 77, which ctest counts as skipped.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
launcher_bin=$1
scale=${2:-1}
display_kind=${3:-x11}
trap stop_all EXIT

WORK=$(mktemp -d)
keep_user_files_in_work
start_x
if [ "$display_kind" = wayland ]; then
    start_weston
fi
if [ "$scale" != 1 ]; then
    export QT_SCALE_FACTOR=$scale
fi
# Design twips to screen pixels: 15 twips a pixel at 100 %.
px() { awk -v t="$1" -v s="$scale" 'BEGIN {printf "%d", t / 15 * s + 0.5}'; }
# Screen pixels at 100 % to screen pixels at this scale.
scaled() { awk -v p="$1" -v s="$scale" 'BEGIN {printf "%d", p * s}'; }

mkdir -p "$WORK/suite"
cp "$launcher_bin" "$WORK/suite/"
marker="$WORK/marker.txt"
colours=("#e02020" "#20a020" "#2040e0" "#e0a000" "#a020c0" "#00a0a0" "#805020")
for i in "${!colours[@]}"; do
    make_component "Comp0$i" "${colours[$i]}" "$marker"
done
# Sharper sources, on the second page: Comp07 has a picture twice as large beside its own, a
# checkerboard of one-pixel squares that only a pixel-for-pixel copy keeps; Comp08 an SVG of two
# halves whose edge a smoothly scaled picture would blur.
make_component Comp07 "#FF00FF" "$marker"
convert -size 80x60 pattern:gray50 -fill "#FF00FF" -opaque black -fill "#00FFFF" -opaque white \
    "PNG24:$WORK/suite/Comp07/pic@2x.png"
make_component Comp08 "#000000" "$marker"
printf '%s' "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='30'><rect width='20' height='30' fill='#C02060'/><rect x='20' width='20' height='30' fill='#20C060'/></svg>" \
    > "$WORK/suite/Comp08/pic.svg"
sed -i 's/^IMG:pic.png/IMG:pic.svg/' "$WORK/suite/Comp08/kk.cfg"

caption="Kestrelkit Launcher - Vessaly Software Solutions, Inc -  Version 1.1.0"
(cd "$WORK" && exec "$WORK/suite/kestrelkit-launcher") >"$WORK/launcher.log" 2>&1 &
LAUNCHER_PID=$!

# The client area's top-left corner, below the menu bar: cx, client_y.
if [ "$display_kind" = x11 ]; then
    wait_for 15 window_named "$caption" || fail "no main window captioned '$caption'"
    win=$(window_named "$caption")
    note "main window $win captioned exactly"
    read -r wx wy < <(window_origin "$win")
    client_y=$(( wy + $(xwininfo -id "$win" | awk '/Height:/ {print $2}') - $(px 4665) ))
    cx=$wx
else
    # The compositor places the window where it likes: the first place's picture, drawn pixel for
    # pixel in the middle of its button, tells where the column and so the window are.
    # Whole, as make_component draws it.
    first_picture() { screen_shot "$WORK/start.png" && colour_box "$WORK/start.png" "${colours[0]}" | grep -E '^40x30\+'; }
    wait_for 15 first_picture || fail "no main window on the Wayland display"
    IFS='x+' read -r pw ph pxl pyt < <(first_picture)
    cx=$(( pxl + pw / 2 - $(px 120) - $(px 1695) / 2 ))
    client_y=$(( pyt + ph / 2 - $(px 840) - $(px 360) - $(px 615) / 2 ))
    note "main window found by its first picture"
fi
note "client area at $cx,$client_y"
# The menu bar's titles, found by their letters on the screen, whatever the font makes of them.
read -r file_x menu_y help_x _ < <(menu_titles "$cx" "$client_y" "$(scaled 160)" "$(scaled 20)" "$(scaled 6)" | tr '\n' ' ')
[ -n "${help_x:-}" ] || fail "no File and Help titles on the menu bar"
note "menu titles at $file_x and $help_x, row $menu_y"

# The centre of launch place k (0..4) and of the page buttons, from the design in twips.
place_x=$(( cx + $(px 120) + $(px 1695) / 2 ))
place_y() { echo $(( client_y + $(px 840) + $(px 360) + $1 * $(px 600) + $(px 615) / 2 )); }
down_y=$(( client_y + $(px 840) + $(px 3360) + $(px 375) / 2 ))
up_y=$(( client_y + $(px 840) + $(px 375) / 2 ))
# The upper part of the description box, where its text is, inside its border and scroll bars.
desc_x=$(( cx + $(px 1800) + 4 ))
desc_y=$(( client_y + $(px 1200) + 4 ))
desc_w=$(px 4500)
desc_h=$(px 1500)

# The five places show the first five pictures.
for k in 0 1 2 3 4; do
    wait_for 5 pixel_is "$place_x" "$(place_y $k)" "${colours[$k]^^}" \
        || fail "place $k shows $(pixel "$place_x" "$(place_y $k)"), not ${colours[$k]}"
done
note "places show the first page's pictures"
# The description box is white inside.
pixel_is $(( cx + $(px 1680) + $(px 3000) )) $(( client_y + $(px 840) + $(px 2000) )) "#FFFFFF" \
    || fail "description box is not white"
import -window root -crop "${desc_w}x${desc_h}+${desc_x}+${desc_y}" "$WORK/desc-before.png" 2>/dev/null

# Hover: the button under the pointer turns white around its picture. The pointer rests on the
# button's left end, clear of the picture and of the edge looked at: where the compositor draws
# the pointer into the screen, it would stand in both.
hover_x=$(( cx + $(px 120) + $(scaled 14) ))
edge_x=$(( cx + $(px 120) + 6 ))
# Moved onto the button and within it, again until it shows: a compositor passes motion on only
# once the pointer has entered its window.
hovered() {
    xdotool mousemove "$hover_x" "$(place_y 1)" mousemove $(( hover_x + 2 )) "$(place_y 1)"
    pixel_is "$edge_x" "$(place_y 1)" "#FFFFFF"
}
wait_for 5 hovered || fail "hovered button is not white: $(pixel "$edge_x" "$(place_y 1)")"
pixel_is "$edge_x" "$(place_y 2)" "#FFFFFF" && fail "a button the pointer never touched is white"
note "hovered button is white"
# The picture is drawn pixel for pixel: a white button with one solid picture has no blended
# colours. Looked at from past the pointer to the button's right end.
button_w=$(( $(px 1695) - 8 ))
button_h=$(( $(px 615) - 8 ))
clear_x=$(( hover_x + $(scaled 24) ))
colours_seen=$(import -window root -crop "$(( cx + $(px 120) + 4 + button_w - clear_x ))x${button_h}+${clear_x}+$(( $(place_y 1) - button_h / 2 ))" \
    -depth 8 -format %k info: 2>/dev/null)
[ "${colours_seen:-99}" -le 2 ] || fail "the hovered button's picture is resampled ($colours_seen colours)"
note "picture sharp"
# The description box shows the hovered component's block.
desc_changed() {
    import -window root -crop "${desc_w}x${desc_h}+${desc_x}+${desc_y}" "$WORK/desc-after.png" 2>/dev/null
    [ "$(compare -metric AE "$WORK/desc-before.png" "$WORK/desc-after.png" null: 2>&1)" -ge 200 ] 2>/dev/null
}
wait_for 5 desc_changed || fail "the description box did not change on hover"
note "description shown"

# Exactly the block: select all, copy, read the clipboard. X11 only: the Wayland clipboard is not
# one the X tools can read.
if [ "$display_kind" = x11 ]; then
    xdotool mousemove $(( cx + $(px 1680) + $(px 3000) )) $(( client_y + $(px 840) + $(px 2000) )) click 1
    xdotool key ctrl+a ctrl+c
    expected="$WORK/expected.txt"
    printf '   COMP01 Utility \r\n%s\r\nThe Comp01 component, started from the launcher.\r\n\r\n   Executable: run.sh\r\n   Image: pic.png\r\n' \
        "$(printf '_%.0s' $(seq 57))" > "$expected"
    copied_is_expected() { xclip -o -selection clipboard > "$WORK/copied.txt" && cmp -s "$expected" "$WORK/copied.txt"; }
    wait_for 5 copied_is_expected || fail "the description copied is not the block: $(od -c "$WORK/copied.txt" | head -5)"
    note "description copied exactly, CR LF included"
fi

# Page down: the first place shows button 5's picture, the second button 6's.
xdotool mousemove "$place_x" "$down_y" click 1
wait_for 5 pixel_is "$place_x" "$(place_y 0)" "${colours[5]^^}" || fail "page down did not show button 5"
wait_for 5 pixel_is "$place_x" "$(place_y 1)" "${colours[6]^^}" || fail "page down did not show button 6"
xdotool mousemove "$place_x" "$up_y" click 1
wait_for 5 pixel_is "$place_x" "$(place_y 0)" "${colours[0]^^}" || fail "page up did not show button 0"
note "paging shows the right pictures"

# At every scale a picture covers as many logical pixels as it has pixels, centred on its button.
# place_shot K FILE: the screen in launch place K.
place_shot() {
    import -window root -crop "$(px 1695)x$(px 615)+$(( cx + $(px 120) ))+$(( $(place_y "$1") - $(px 615) / 2 ))" \
        +repage "$2" 2>/dev/null
}
place_shot 0 "$WORK/place0.png"
IFS='x+' read -r bw bh bx by < <(colour_box "$WORK/place0.png" "${colours[0]}")
[ "${bw}x${bh}" = "$(scaled 40)x$(scaled 30)" ] || fail "a 40 x 30 picture covers ${bw}x${bh} pixels"
[ $(( 2 * bx + bw - $(px 1695) )) -ge -3 ] && [ $(( 2 * bx + bw - $(px 1695) )) -le 3 ] \
    && [ $(( 2 * by + bh - $(px 615) )) -ge -3 ] && [ $(( 2 * by + bh - $(px 615) )) -le 3 ] \
    || fail "the picture is not centred on its button: ${bw}x${bh}+$bx+$by"
note "picture covers $(scaled 40) x $(scaled 30) pixels, centred"
xdotool mousemove "$place_x" "$down_y" click 1
wait_for 5 pixel_is "$place_x" "$(place_y 0)" "${colours[5]^^}" || fail "page down did not show button 5"
place_shot 2 "$WORK/place2.png"
place_shot 3 "$WORK/place3.png"
if [ "$scale" = 2 ]; then
    IFS='x+' read -r bw bh bx by < <(colour_box "$WORK/place2.png" "#FF00FF")
    convert "$WORK/place2.png" -crop "${bw}x${bh}+$bx+$by" +repage "PNG24:$WORK/sharper.png"
    [ "$(compare -metric AE "$WORK/suite/Comp07/pic@2x.png" "$WORK/sharper.png" null: 2>&1)" = 0 ] \
        || fail "the @2x picture is not shown pixel for pixel (${bw}x${bh})"
    note "@2x picture shown pixel for pixel"
fi
left=$(colour_box "$WORK/place3.png" "#C02060")
right=$(colour_box "$WORK/place3.png" "#20C060")
half="$(scaled 20)x$(scaled 30)+"
[[ "$left" == "$half"* && "$right" == "$half"* ]] || fail "the SVG's halves are $left and $right"
note "SVG drawn sharp"
xdotool mousemove "$place_x" "$up_y" click 1
wait_for 5 pixel_is "$place_x" "$(place_y 0)" "${colours[0]^^}" || fail "page up did not show button 0"

# A click starts the component; the launcher stays responsive.
xdotool mousemove "$place_x" "$(place_y 2)" click 1
wait_for 10 grep -qx "Comp02" "$marker" || fail "the component did not start"
kill -0 "$LAUNCHER_PID" || fail "the launcher ended after a launch"
note "click started Comp02"

# Keys and the wheel. The pointer rests on the banner, off the column, so that only the keys decide
# what is highlighted.
xdotool mousemove $(( cx + $(px 3600) )) $(( client_y + $(px 400) ))
highlighted() { pixel_is "$edge_x" "$(place_y "$1")" "#FFFFFF"; }
# Typing finds by name: Comp04, in place 4; the button hovered before gets its colour back.
xdotool type --delay 40 comp04
wait_for 5 highlighted 4 || fail "typing comp04 did not highlight place 4: $(pixel "$edge_x" "$(place_y 4)")"
highlighted 1 && fail "the button hovered before is still white after typing"
note "typing found Comp04"
# Page Down turns the page and keeps the place, or, on a shorter page, reaches its last: Comp08,
# in place 3 of the four on the second page.
xdotool key Page_Down
wait_for 5 pixel_is "$place_x" "$(place_y 0)" "${colours[5]^^}" || fail "Page Down did not show button 5 first"
wait_for 5 highlighted 3 || fail "Page Down did not highlight Comp08: $(pixel "$edge_x" "$(place_y 3)")"
note "Page Down reached Comp08"
# Enter starts what was reached, as a click does.
xdotool key Return
wait_for 10 grep -qx "Comp08" "$marker" || fail "Enter did not start Comp08"
note "Enter started Comp08"
# One notch up over the column, below the last button of the short page, turns back a page.
# The pointer stands on the place's left end, clear of the picture looked at.
xdotool mousemove "$hover_x" "$(place_y 4)" mousemove $(( hover_x + 2 )) "$(place_y 4)" click 4
wait_for 5 pixel_is "$place_x" "$(place_y 0)" "${colours[0]^^}" || fail "one wheel notch up did not turn back to the first page"
pixel_is "$place_x" "$(place_y 4)" "${colours[4]^^}" || fail "the wheel did not show button 4 in place 4"
note "one wheel notch turned back a page"

# A second copy shows the refusal and ends once it is acknowledged.
screen_shot "$WORK/before-second.png"
"$WORK/suite/kestrelkit-launcher" >"$WORK/second.log" 2>&1 &
second=$!
if [ "$display_kind" = x11 ]; then
    wait_for 15 window_named "Already running..." || fail "no 'Already running...' box"
    xdotool windowfocus --sync "$(window_named "Already running...")" key Return
else
    # A box is a few hundred pixels across; the compositor gives it the keyboard.
    wait_for 15 differs_from "$WORK/before-second.png" 10000 || fail "no refusal box on the screen"
    kill -0 "$second" 2>/dev/null || fail "the second copy ended before its box was acknowledged"
    xdotool key Return
fi
wait_for 10 bash -c "! kill -0 $second 2>/dev/null" || fail "the second copy did not end"
kill -0 "$LAUNCHER_PID" || fail "the first copy ended"
note "second copy refused"

# Opens the menu whose title is at X: the menu is open when one more window of the launcher is
# on screen. A click on a title is now and then lost on this server (seen right after another
# client's box closed), so the title is clicked again, up to three times, while no menu shows.
open_menu_x11() {
    local before try
    before=$(visible_windows)
    for try in 1 2 3; do
        xdotool mousemove "$1" "$menu_y" click 1
        wait_for 2 more_windows_than "$before" && return 0
    done
    return 1
}

# About and Getting Help open from the Help menu; OK closes them.
open_from_help() { # keys to choose the item, window caption
    if [ "$display_kind" = x11 ]; then
        open_menu_x11 "$help_x" || fail "the Help menu did not open"
        xdotool key $1
        wait_for 10 window_named "$2" || fail "no window captioned '$2'"
        xdotool windowfocus --sync "$(window_named "$2")" key Return
        wait_for 10 bash -c "! xdotool search --onlyvisible --name '^$2\$' >/dev/null" || fail "OK did not close '$2'"
        # The caption keeps one suffix.
        wait_for 5 window_named "$caption" || fail "the main window lost its caption after '$2'"
    else
        xdotool mousemove "$help_x" "$menu_y"
        wait_for 5 screen_settles "$WORK/before-menu.png" || fail "the screen does not settle"
        xdotool click 1
        wait_for 5 differs_from "$WORK/before-menu.png" 500 || fail "the Help menu did not open"
        xdotool key $1
        # Bigger than the menu by far.
        wait_for 10 differs_from "$WORK/before-menu.png" 50000 || fail "no window for '$2'"
        xdotool key Return
        wait_for 10 looks_like "$WORK/before-menu.png" || fail "OK did not close '$2'"
    fi
}
open_from_help "Up Return" "About Kestrelkit Launcher"
open_from_help "Down Return" "Getting Help From Vessaly Software Solutions, Inc."
open_from_help "Up Return" "About Kestrelkit Launcher"
note "About and Getting Help open and close"

# File > Exit ends the launcher with status 0; the started component keeps running.
if [ "$display_kind" = x11 ]; then
    open_menu_x11 "$file_x" || fail "the File menu did not open"
else
    xdotool mousemove "$file_x" "$menu_y"
    wait_for 5 screen_settles "$WORK/before-menu.png" || fail "the screen does not settle"
    xdotool click 1
    wait_for 5 differs_from "$WORK/before-menu.png" 500 || fail "the File menu did not open"
fi
# The File menu opens with a separator, then Exit: walk down with the keyboard.
xdotool key Down Down Return
wait_for 10 bash -c "! kill -0 $LAUNCHER_PID 2>/dev/null" || fail "File > Exit did not end the launcher"
wait "$LAUNCHER_PID"
status=$?
LAUNCHER_PID=
[ "$status" -eq 0 ] || fail "the launcher ended with status $status"
kill -0 "$(cat "$WORK/pid-Comp02")" || fail "the started component ended with the launcher"
note "File > Exit ended the launcher with status 0, the component runs on"
echo "PASS"
