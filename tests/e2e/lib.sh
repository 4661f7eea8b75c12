# Helpers for the end-to-end tests: a private X server, bounded waits, pixels and windows.
# Sourced by the test scripts; every wait has a limit, so a broken launcher fails instead of hanging.

fail() {
    echo "FAIL: $*" >&2
    # And what the launcher said, if anything.
    if [ -s "${WORK:-}/launcher.log" ]; then
        echo "launcher's output:" >&2
        tail -n "${KK_E2E_LOG_LINES:-40}" "$WORK/launcher.log" >&2
    fi
    # Leave a picture of the screen for whoever reads the failure.
    if [ -n "${DISPLAY:-}" ]; then
        local shot="${KK_E2E_SHOTS:-${TMPDIR:-/tmp}}/kk-e2e-failure-$$.png"
        import -window root "$shot" 2>/dev/null && echo "screen at failure: $shot" >&2
    fi
    exit 1
}
note() { echo "-- $*"; }

# wait_for SECONDS COMMAND...: polls COMMAND every 50 ms until it succeeds, for SECONDS times
# KK_TEST_SLOWDOWN, which sanitizer builds set.
wait_for() {
    local limit=$(( $1 * ${KK_TEST_SLOWDOWN:-1} )); shift
    local deadline=$(( $(date +%s%N) + limit * 1000000000 ))
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Starts Xvfb on a free display and exports DISPLAY; stops it on exit.
start_x() {
    local dpi=${1:-96}
    local fdfile; fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi "$dpi" -nolisten tcp -noreset 3>"$fdfile" 2>/dev/null &
    XVFB_PID=$!
    wait_for 10 test -s "$fdfile" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$fdfile")"
    rm -f "$fdfile"
    wait_for 10 xdpyinfo || fail "X server $DISPLAY does not answer"
}

# Keeps what the launcher keeps for its user (the single-instance token's file) in the test's own
# folders, so that a copy the test kills leaves nothing in the real user's folders.
keep_user_files_in_work() {
    export XDG_CACHE_HOME="$WORK/cache" XDG_RUNTIME_DIR="$WORK/runtime"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME"
}

stop_all() {
    [ -n "${LAUNCHER_PID:-}" ] && kill "$LAUNCHER_PID" 2>/dev/null
    [ -n "${WESTON_PID:-}" ] && kill "$WESTON_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    if [ -n "${WORK:-}" ]; then
        for pidfile in "$WORK"/pid-*; do
            [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
        done
        rm -rf "$WORK"
    fi
    return 0
}

# The id of the first visible window whose name is exactly NAME.
window_named() {
    local id
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        if [ "$(xdotool getwindowname "$id")" = "$1" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# How many windows of the launcher are on screen (menus are windows of their own).
visible_windows() { xdotool search --onlyvisible --class kestrelkit-launcher 2>/dev/null | wc -l; }
more_windows_than() { [ "$(visible_windows)" -gt "$1" ]; }

# Absolute position of a window's top-left corner: "X Y".
window_origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'
}

# The colour of one screen pixel as "#RRGGBB".
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | awk 'NR==2 {print $3}'
}

pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }

# A distinct-colour component: folder, picture colour, marker file.
make_component() {
    local folder=$1 colour=$2 marker=$3
    mkdir -p "$WORK/suite/$folder"
    printf 'NAME:%s\r\nIMG:pic.png\r\nEXE:run.sh\r\nDESC:The %s component, started from the launcher.\r\n' \
        "$folder" "$folder" > "$WORK/suite/$folder/kk.cfg"
    convert -size 40x30 "xc:$colour" "$WORK/suite/$folder/pic.png"
    # Records its start, leaves its process id for the test, and keeps running for a while.
    printf '#!/bin/sh\necho $$ > "%s/pid-%s"\nprintf "%%s\\n" "%s" >> "%s"\nexec sleep 60\n' \
        "$WORK" "$folder" "$folder" "$marker" > "$WORK/suite/$folder/run.sh"
    chmod +x "$WORK/suite/$folder/run.sh"
}

# Native Wayland inside the X server: weston's X11 backend draws its output into one X window at
# the top-left of the screen, so that screen pixels are output pixels, and passes on the pointer
# and keys that xdotool sends to that window. Windows on it are no X windows: they are found by
# their pixels. Exports WAYLAND_DISPLAY and QT_QPA_PLATFORM for the programs started after it.
WESTON_WIDTH=1024
WESTON_HEIGHT=768
start_weston() {
    command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
    keep_user_files_in_work
    # A plain background and no panel, clock or animation, so that only the launcher changes pixels.
    printf '[core]\nidle-time=0\n[shell]\nbackground-color=0xff303030\npanel-position=none\nlocking=false\nanimation=none\nclose-animation=none\nstartup-animation=none\nfocus-animation=none\n' \
        > "$WORK/weston.ini"
    local socket="kk-e2e-$$"
    weston --config="$WORK/weston.ini" --backend=x11-backend.so --use-pixman --socket="$socket" \
        --width="$WESTON_WIDTH" --height="$WESTON_HEIGHT" >"$WORK/weston.log" 2>&1 &
    WESTON_PID=$!
    wait_for 15 test -S "$XDG_RUNTIME_DIR/$socket" || { cat "$WORK/weston.log" >&2; fail "weston did not start"; }
    weston_window() { xwininfo -root -children | grep -q '"Weston Compositor'; }
    wait_for 10 weston_window || fail "weston shows no window"
    export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland
    # Weston passes pointer motion on only once the pointer has entered its window.
    xdotool mousemove $(( WESTON_WIDTH + 100 )) $(( WESTON_HEIGHT + 100 ))
    xdotool mousemove $(( WESTON_WIDTH / 2 )) $(( WESTON_HEIGHT / 2 ))
}

# The screen as a picture file.
screen_shot() { import -window root "$1" 2>/dev/null; }

# "WxH+X+Y": the smallest box around every pixel of COLOUR on the screen shot FILE, or nothing.
colour_box() {
    convert "$1" -fill black +opaque "$2" -format '%@' info: 2>/dev/null | grep -E '^[1-9][0-9]*x'
}

# differs_from FILE PIXELS: the screen differs from the shot FILE in at least PIXELS pixels.
differs_from() {
    screen_shot "$WORK/now.png"
    [ "$(compare -metric AE "$1" "$WORK/now.png" null: 2>&1)" -ge "$2" ] 2>/dev/null
}
# screen_settles FILE: two screen shots in a row are the same; the second is left in FILE.
screen_settles() {
    screen_shot "$WORK/settling.png" && screen_shot "$1" \
        && [ "$(compare -metric AE "$WORK/settling.png" "$1" null: 2>&1)" = 0 ]
}

# menu_titles X Y WIDTH HEIGHT GAP: the titles of a menu bar that ends at row Y, from X over WIDTH
# pixels, found by their letters in the HEIGHT rows above Y: the first title's middle X, the row
# of the titles' middle, then each further title's middle X. Letters less than GAP apart are one
# title; rows dark nearly all across (a border, the screen beyond the window) are no letters.
menu_titles() {
    local x=$1 y=$2 width=$3 height=$4 gap=$5
    import -window root -crop "${width}x${height}+${x}+$(( y - height ))" +repage "$WORK/menubar.png" 2>/dev/null \
        || return 1
    convert "$WORK/menubar.png" -colorspace gray -threshold 50% -depth 8 txt:- 2>/dev/null | awk -F'[,:( ]+' \
        -v x0="$x" -v y0=$(( y - height )) -v width="$width" -v gap="$gap" '
        NR > 1 && $3 + 0 == 0 { dark[$1, $2] = 1; count[$2]++ }
        END {
            for (r in count) if (count[r] < width * 0.8) {
                if (top == "" || r + 0 < top) top = r + 0
                if (r + 0 > bottom) bottom = r + 0
                for (c = 0; c < width; c++) if ((c, r) in dark) lit[c] = 1
            }
            if (top == "") exit 1
            for (c = 0; c < width; c++) if (c in lit) {
                if (start != "" && c - last > gap) out()
                if (start == "" ) start = c
                last = c
            }
            if (start != "") out()
        }
        function out() {
            printf "%d\n", x0 + (start + last) / 2
            if (!n++) printf "%d\n", y0 + (top + bottom) / 2
            start = ""
        }'
}

# looks_like FILE: the screen is the shot FILE again, give or take a few pixels.
looks_like() {
    screen_shot "$WORK/now.png"
    [ "$(compare -metric AE "$1" "$WORK/now.png" null: 2>&1)" -le 50 ] 2>/dev/null
}
