#!/usr/bin/env bash
# What the desktop is told when the real launcher starts a component, one case a run: a click on
# the launch button of a component of the tests' own, which records its environment beside itself
# and activates its window.
# Usage: e2e_startfeedback.sh LAUNCHER COMPONENT HELPER [SILENT] CASE
#   HELPER is the root-window listener for the x11 cases, the virtual pointer's click for the
#   wayland ones; SILENT, for wayland_no_answer, passes what sway says to the launcher until the
#   launcher asks for a token.
#   x11_click            a listener on the root window sees "new:" with the ID the component got,
#                        and the component's "remove:" once its window is up;
#   x11_enter_key        as x11_click, started by Down and Enter: the ID carries the time of the
#                        Enter press, which Qt gives the window as its last user time;
#   x11_failed_start     the component's file is gone by the click: "new:", then "remove:";
#   x11_quoted_name      as x11_click, for a file name with blanks and quotes;
#   wayland_click        on headless sway, where only a token gives the component the focus: it
#                        gets the focus;
#   wayland_stale_token  the launcher was itself started with a token and a start-up ID: the
#                        component sees neither, only a token of its own;
#   wayland_no_answer    the compositor never answers the token's request of a launcher started
#                        with a token: the component still starts within the bound, and with no
#                        token at all.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
launcher_bin=$1
component_bin=$2
helper_bin=$3
silent_bin=
if [ $# -eq 5 ]; then
    silent_bin=$4
    shift
fi
case_name=$4
# The components the launcher started first, named by the files they wrote, then the rest.
stop_everything() {
    local record pid
    for record in "${WORK:-/nonexistent}"/suite/Comp/started-*.env; do
        pid=${record##*/started-}
        [ -f "$record" ] && kill "${pid%.env}" 2>/dev/null
    done
    stop_all
}
trap stop_everything EXIT

WORK=$(mktemp -d)
keep_user_files_in_work
# A name with blanks and quotes travels in the messages quoted, each quote escaped. (A backslash
# is no part of a name: the descriptor's names take it for a folder separator.)
exe=component
named=component
if [ "$case_name" = x11_quoted_name ]; then
    exe='a "b" c'
    named='"a \"b\" c"'
fi
mkdir -p "$WORK/suite/Comp"
cp "$launcher_bin" "$WORK/suite/"
cp "$component_bin" "$WORK/suite/Comp/$exe"
cp "$helper_bin" "$WORK/helper"
printf 'NAME:Comp\r\nIMG:pic.png\r\nEXE:%s\r\nDESC:The test component.\r\n' "$exe" >"$WORK/suite/Comp/kk.cfg"
convert -size 40x30 "xc:#e02020" "$WORK/suite/Comp/pic.png"

# Design twips to screen pixels at 100 %, and the middle of the first launch place from the
# bottom-left corner of the window's client area, as the design places it.
px() { awk -v t="$1" 'BEGIN {printf "%d", t / 15 + 0.5}'; }
place_dx=$(( $(px 120) + $(px 1695) / 2 ))
place_dy=$(( $(px 840) + $(px 360) + $(px 615) / 2 - $(px 4665) ))

started() { compgen -G "$WORK/suite/Comp/started-*.env" >/dev/null; }
recorded() { # NAME: the value the component was started with
    sed -n "s/^$1=//p" "$WORK"/suite/Comp/started-*.env | head -n 1
}

case "$case_name" in
x11_*)
    start_x
    "$WORK/helper" >"$WORK/messages" 2>&1 &
    echo $! >"$WORK/pid-listener"
    wait_for 10 grep -qx listening "$WORK/messages" || fail "the root-window listener did not start"
    caption="Kestrelkit Launcher - Vessaly Software Solutions, Inc -  Version 1.1.0"
    (cd "$WORK" && exec "$WORK/suite/kestrelkit-launcher") >"$WORK/launcher.log" 2>&1 &
    LAUNCHER_PID=$!
    wait_for 15 window_named "$caption" || fail "no main window"
    win=$(window_named "$caption")
    read -r wx wy < <(window_origin "$win")
    bottom=$(( wy + $(xwininfo -id "$win" | awk '/Height:/ {print $2}') ))
    [ "$case_name" = x11_failed_start ] && rm "$WORK/suite/Comp/$exe"
    if [ "$case_name" = x11_enter_key ]; then
        xdotool key Down sleep 0.2 key Return
    else
        xdotool mousemove $(( wx + place_dx )) $(( bottom + place_dy )) sleep 0.2 click 1
    fi
    if [ "$case_name" != x11_failed_start ]; then
        wait_for 10 started || fail "the component did not start"
        id=$(recorded DESKTOP_STARTUP_ID)
        note "the component got DESKTOP_STARTUP_ID=$id"
        [[ "$id" =~ ^[A-Za-z0-9._-]+_TIME[0-9]+$ ]] || fail "no usable start-up ID: '$id'"
        if [ "$case_name" = x11_enter_key ]; then
            user_time=$(xprop -id "$win" _NET_WM_USER_TIME | sed -n 's/.* = //p')
            [ "${id##*_TIME}" = "$user_time" ] || fail "the ID's time is not the Enter press's, $user_time"
        fi
        wait_for 10 grep -qxF "remove: ID=$id" "$WORK/messages" \
            || fail "no remove: for $id; seen: $(cat "$WORK/messages")"
    else
        wait_for 10 grep -q '^remove: ' "$WORK/messages" || fail "no remove: seen: $(cat "$WORK/messages")"
        id=$(sed -n 's/^remove: ID=//p' "$WORK/messages")
        started && fail "a component started"
    fi
    grep -qxF "new: ID=$id NAME=$named BIN=$named SCREEN=0" "$WORK/messages" \
        || fail "no new: for $id; seen: $(cat "$WORK/messages")"
    [ "$(grep -c . "$WORK/messages")" -eq 3 ] || fail "other messages: $(cat "$WORK/messages")"
    note "new: and remove: for $id"
    ;;
wayland_*)
    command -v sway >/dev/null || { echo "SKIP: sway is not installed"; exit 77; }
    # sway refuses root: everything on it runs as nobody, in folders of nobody's.
    run_as=()
    if [ "$(id -u)" -eq 0 ]; then
        run_as=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
        chown -R 65534:65534 "$WORK"
        chmod 711 "$WORK"
    fi
    printf '%s\n' 'xwayland disable' 'focus_on_window_activation focus' \
        'no_focus [app_id="kk-test-component"]' >"$WORK/sway.conf"
    "${run_as[@]}" env HOME="$WORK" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
    echo $! >"$WORK/pid-sway"
    sway_socket() { compgen -G "$XDG_RUNTIME_DIR/wayland-*" | grep -v '\.lock$' | head -n 1; }
    wait_for 15 sway_socket || { cat "$WORK/sway.log" >&2; fail "sway did not start"; }
    export WAYLAND_DISPLAY
    WAYLAND_DISPLAY=$(basename "$(sway_socket)")
    export SWAYSOCK
    SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" | head -n 1)
    tree() { "${run_as[@]}" swaymsg -t get_tree; }
    # FIELD of the window whose app id is APP: "x y width height focused".
    window_of() {
        tree | python3 -c '
import json, sys
def walk(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from walk(child)
for node in walk(json.load(sys.stdin)):
    if node.get("app_id") == sys.argv[1]:
        r, w = node["rect"], node["window_rect"]
        print(r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"], str(node["focused"]).lower())
        break
else:
    sys.exit(1)' "$1"
    }
    extra=()
    [ "$case_name" != wayland_click ] && extra=(XDG_ACTIVATION_TOKEN=stale-token DESKTOP_STARTUP_ID=stale-id)
    if [ "$case_name" = wayland_no_answer ]; then
        cp "$silent_bin" "$WORK/silent"
        "${run_as[@]}" "$WORK/silent" "$XDG_RUNTIME_DIR/silent" >"$WORK/silent.log" 2>&1 &
        echo $! >"$WORK/pid-silent"
        wait_for 10 grep -qx listening "$WORK/silent.log" || fail "the silent compositor did not start"
        extra+=(WAYLAND_DISPLAY="$XDG_RUNTIME_DIR/silent")
    fi
    (cd "$WORK" && exec "${run_as[@]}" env QT_QPA_PLATFORM=wayland "${extra[@]}" "$WORK/suite/kestrelkit-launcher") \
        >"$WORK/launcher.log" 2>&1 &
    LAUNCHER_PID=$!
    wait_for 15 window_of kestrelkit-launcher || fail "no main window on sway"
    # Whole once the picture is in: the window may still be settling its size before.
    sleep 0.5
    read -r wx wy ww wh _ < <(window_of kestrelkit-launcher)
    read -r ow oh < <(tree | python3 -c 'import json, sys; r = json.load(sys.stdin)["rect"]; print(r["width"], r["height"])')
    note "main window at $wx,$wy, $ww x $wh, on an output of $ow x $oh"
    "${run_as[@]}" "$WORK/helper" $(( wx + place_dx )) $(( wy + wh + place_dy )) "$ow" "$oh" \
        || fail "the virtual pointer did not click"
    clicked=$(date +%s%N)
    if [ "$case_name" = wayland_no_answer ]; then
        # A second of waiting for the token, and the time a start takes.
        wait_for 3 started || fail "the component did not start within the bound"
        note "the component started $(( ($(date +%s%N) - clicked) / 1000000 )) ms after the click"
    else
        wait_for 10 started || fail "the component did not start"
    fi
    token=$(recorded XDG_ACTIVATION_TOKEN)
    note "the component got XDG_ACTIVATION_TOKEN=$token, DESKTOP_STARTUP_ID=$(recorded DESKTOP_STARTUP_ID)"
    [ "$(recorded DESKTOP_STARTUP_ID)" = "<unset>" ] || fail "the component got a start-up ID"
    if [ "$case_name" = wayland_no_answer ]; then
        [ "$token" = "<unset>" ] || fail "the component got a token"
        # Without a token the component's window shows without the focus, as sway is told here:
        # what gives the other cases their focus is the token.
        wait_for 10 window_of kk-test-component || fail "the component's window did not show"
        sleep 0.5
        window_of kk-test-component | grep -q ' false$' || fail "the component got the focus without a token"
        exit 0
    fi
    [ "$token" != "<unset>" ] && [ "$token" != stale-token ] || fail "no token of its own"
    focused() { window_of kk-test-component | grep -q ' true$'; }
    wait_for 10 focused || fail "the component did not get the focus"
    note "the component has the focus"
    ;;
*)
    fail "no case $case_name"
    ;;
esac
exit 0
