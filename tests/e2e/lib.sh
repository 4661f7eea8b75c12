# Helpers for the end-to-end tests: a private X server, bounded waits, pixels and windows.
# Sourced by the test scripts; every wait has a limit, so a broken launcher fails instead of hanging.

fail() {
    echo "FAIL: $*" >&2
    # Leave a picture of the screen for whoever reads the failure.
    if [ -n "${DISPLAY:-}" ]; then
        local shot="${KK_E2E_SHOTS:-${TMPDIR:-/tmp}}/kk-e2e-failure-$$.png"
        import -window root "$shot" 2>/dev/null && echo "screen at failure: $shot" >&2
    fi
    exit 1
}
note() { echo "-- $*"; }

# wait_for SECONDS COMMAND...: polls COMMAND every 50 ms until it succeeds.
wait_for() {
    local limit=$1; shift
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

stop_all() {
    [ -n "${LAUNCHER_PID:-}" ] && kill "$LAUNCHER_PID" 2>/dev/null
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
