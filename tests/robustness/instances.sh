#!/usr/bin/env bash
# Several processes of the real launcher in a private X server, one case per run:
#   twenty_at_once  20 copies started together: exactly one runs, the others refuse and end
#   first_killed    the running copy killed with SIGKILL: the next start runs at once
#   first_stopped   the running copy stopped with SIGSTOP: the next start is refused, and ends
#   other_user      another user starts the launcher while root's copy runs: it runs its own
#   foreign_token_runtime, foreign_token_no_runtime, foreign_token_su
#                   another user holds every name and file of ours that it can reach before
#                   root's first copy starts, with XDG_RUNTIME_DIR root's own, unset, or the other
#                   user's (as `su` without a login leaves it): root's copy runs all the same, and
#                   its second copy is refused
#   descriptors     a started component gets standard input, output and error, nothing else
#   while_reading   a second copy started while the first still reads a suite of 4,000 components
#                   refuses at once and ends; the first copy goes on and comes up
# Usage: instances.sh CASE LAUNCHER PROBE
# Every wait is bounded; a case that cannot run here exits 77, which ctest counts as skipped.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/lib.sh"
case_name=$1
launcher_bin=$2
probe_bin=$3

PIDS=()
cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do
        kill -CONT "$pid" 2>/dev/null
        kill -KILL "$pid" 2>/dev/null
    done
    stop_all
}
trap cleanup EXIT

WORK=$(mktemp -d)
keep_user_files_in_work
chmod 755 "$WORK"
start_x 96

main_caption='^Kestrelkit Launcher - Vessaly Software Solutions, Inc - '
refusal_caption='^Already running\.\.\.$'

# The suite: the launcher's copy and one component whose executable is the probe.
mkdir -p "$WORK/suite/Tool"
cp "$launcher_bin" "$WORK/suite/kestrelkit-launcher"
cp "$probe_bin" "$WORK/suite/Tool/run"
chmod 755 "$WORK/suite" "$WORK/suite/Tool" "$WORK/suite/kestrelkit-launcher" "$WORK/suite/Tool/run"
printf 'NAME:Tool\r\nIMG:pic.png\r\nEXE:run\r\nDESC:The probe.\r\n' > "$WORK/suite/Tool/kk.cfg"
convert -size 40x30 xc:#2040e0 "$WORK/suite/Tool/pic.png"
chmod 644 "$WORK/suite/Tool/kk.cfg" "$WORK/suite/Tool/pic.png"
export KK_PROBE_REPORT="$WORK/probe-report"

# Visible windows whose name matches a pattern, one id a line.
windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
count_windows() { windows "$1" | wc -l; }
window_of() { # PATTERN PID: the visible window of that process
    local id
    for id in $(windows "$1"); do
        [ "$(xdotool getwindowpid "$id" 2>/dev/null)" = "$2" ] && { echo "$id"; return 0; }
    done
    return 1
}
alive() { # a process that exists and has not ended (a zombie has ended)
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [ "${stat:0:1}" != Z ]
}
ended() { ! alive "$1"; }

# start_copy [PREFIX...]: starts one copy from the suite; its pid is in $started.
start_copy() {
    (cd "$WORK" && exec "$@" "$WORK/suite/kestrelkit-launcher") >>"$WORK/launcher.log" 2>&1 &
    started=$!
    PIDS+=("$started")
}

# Acknowledges the refusal box of process PID and waits for the process to end.
acknowledge_refusal() {
    local pid=$1 box
    box=$(window_of "$refusal_caption" "$pid") || fail "copy $pid shows no refusal box"
    xdotool windowfocus --sync "$box" key Return 2>/dev/null
    wait_for 15 ended "$pid" || fail "refused copy $pid did not end after its box was acknowledged"
}

case "$case_name" in
twenty_at_once)
    # All twenty wait for one file, so that they start within a few milliseconds of each other.
    for i in $(seq 1 20); do
        start_copy bash -c 'until [ -e "$0" ]; do sleep 0.005; done; exec "$1"' "$WORK/go"
    done
    copies=("${PIDS[@]}")
    touch "$WORK/go"
    all_shown() { [ "$(count_windows "$refusal_caption")" -ge 19 ] && [ "$(count_windows "$main_caption")" -ge 1 ]; }
    wait_for 120 all_shown || fail "expected 19 refusals and 1 main window, saw $(count_windows "$refusal_caption") and $(count_windows "$main_caption")"
    [ "$(count_windows "$main_caption")" -eq 1 ] || fail "$(count_windows "$main_caption") main windows"
    [ "$(count_windows "$refusal_caption")" -eq 19 ] || fail "$(count_windows "$refusal_caption") refusals"
    runner=$(xdotool getwindowpid "$(windows "$main_caption")")
    note "copy $runner runs; 19 refusals shown"
    for pid in "${copies[@]}"; do
        [ "$pid" = "$runner" ] && continue
        window_of "$main_caption" "$pid" >/dev/null && fail "refused copy $pid has a main window"
        acknowledge_refusal "$pid"
    done
    alive "$runner" || fail "the running copy ended"
    [ "$(count_windows "$main_caption")" -eq 1 ] || fail "the main window went away"
    note "19 refused copies ended; one runs"
    ;;
first_killed)
    start_copy
    first=$started
    wait_for 30 window_of "$main_caption" "$first" || fail "the first copy shows no main window"
    kill -KILL "$first"
    wait_for 10 ended "$first" || fail "the first copy survived SIGKILL"
    start_copy
    second=$started
    wait_for 30 window_of "$main_caption" "$second" || fail "the next copy did not run"
    [ "$(count_windows "$refusal_caption")" -eq 0 ] || fail "the next copy was refused"
    note "after SIGKILL the next copy runs"
    ;;
first_stopped)
    start_copy
    first=$started
    wait_for 30 window_of "$main_caption" "$first" || fail "the first copy shows no main window"
    kill -STOP "$first"
    start_copy
    second=$started
    wait_for 30 window_of "$refusal_caption" "$second" || fail "the second copy shows no refusal"
    window_of "$main_caption" "$second" >/dev/null && fail "the second copy has a main window"
    acknowledge_refusal "$second"
    alive "$first" || fail "the stopped copy is gone"
    kill -CONT "$first"
    running() { local stat; stat=$(cat "/proc/$1/stat" 2>/dev/null) && stat=${stat##*) } && [ "${stat:0:1}" != T ]; }
    wait_for 5 running "$first" || fail "the first copy did not continue"
    alive "$first" || fail "the first copy ended after it was continued"
    window_of "$main_caption" "$first" >/dev/null || fail "the first copy lost its window"
    note "a stopped copy refuses the next one, which ends"
    ;;
other_user)
    if [ "$(id -u)" -eq 0 ]; then
        other=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
    else
        other=(unshare --user --)
    fi
    "${other[@]}" true 2>/dev/null || { echo "SKIP: cannot start a process as another user"; exit 77; }
    mkdir -p "$WORK/home" && chmod 777 "$WORK/home"
    start_copy
    mine=$started
    wait_for 30 window_of "$main_caption" "$mine" || fail "the first copy shows no main window"
    start_copy env -u XDG_CACHE_HOME HOME="$WORK/home" "${other[@]}"
    theirs=$started
    their_window() { [ "$(count_windows "$main_caption")" -ge 2 ]; }
    wait_for 30 their_window || fail "the other user's copy did not run (refusals: $(count_windows "$refusal_caption"))"
    [ "$(count_windows "$refusal_caption")" -eq 0 ] || fail "a copy was refused"
    alive "$mine" || fail "root's copy ended"
    note "another user's copy runs beside root's"
    ;;
foreign_token_*)
    [ "$(id -u)" -eq 0 ] || { echo "SKIP: only root can start a process as another user here"; exit 77; }
    other=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
    "${other[@]}" true 2>/dev/null || { echo "SKIP: cannot start a process as another user"; exit 77; }
    theirs="$WORK/theirs"
    mkdir -m 700 "$theirs" && chown 65534:65534 "$theirs"
    case "$case_name" in
    foreign_token_no_runtime) unset XDG_RUNTIME_DIR ;;
    foreign_token_su) export XDG_RUNTIME_DIR="$theirs" ;;
    esac
    hash=$(printf '%s' "$(realpath "$WORK/suite/kestrelkit-launcher")" | sha256sum | cut -c1-24)
    # Names in the abstract socket namespace, which anyone may bind, and the token's file in every
    # folder the launcher might keep it in.
    "${other[@]}" /usr/bin/python3 - "$theirs/held" "kestrelkit-launcher-0-$hash" "kestrelkit-launcher-$hash" \
        "$WORK/runtime" "$WORK/cache" "$theirs" "$WORK/home/.cache" <<'PY' &
import fcntl, os, socket, sys, time
report, names, folders = sys.argv[1], sys.argv[2:4], sys.argv[4:]
held = []
for name in names:
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.bind("\0" + name)
    s.listen(1)
    held.append(s)
for folder in folders:
    for name in (names[1] + ".lock", names[1] + "-" + socket.gethostname() + ".lock"):
        try:
            fd = os.open(os.path.join(folder, name), os.O_RDWR | os.O_CREAT, 0o666)
            fcntl.flock(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
            held.append(fd)
        except OSError:
            pass
with open(report, "w") as f:
    f.write("%d\n" % len(held))
time.sleep(600)
PY
    holder=$!
    PIDS+=("$holder")
    wait_for 10 test -s "$theirs/held" || fail "the other user's process did not take the names"
    note "the other user holds $(cat "$theirs/held") names and files"
    start_copy
    first=$started
    wait_for 30 window_of "$main_caption" "$first" || fail "root's copy did not run (refusals: $(count_windows "$refusal_caption"))"
    start_copy
    second=$started
    wait_for 30 window_of "$refusal_caption" "$second" || fail "root's second copy shows no refusal"
    acknowledge_refusal "$second"
    alive "$first" || fail "root's first copy ended"
    note "root's copy runs, and its second copy is refused"
    ;;
descriptors)
    # Descriptors left open by whoever starts the launcher, on top of its own X connection and
    # single-instance token.
    exec 7</etc/hostname 8<>"$WORK/extra"
    start_copy
    exec 7<&- 8<&-
    launcher=$started
    wait_for 30 window_of "$main_caption" "$launcher" || fail "no main window"
    win=$(window_of "$main_caption" "$launcher")
    read -r wx wy < <(window_origin "$win")
    px() { echo $(( ($1 + 7) / 15 )); }
    client_y=$(( wy + $(xwininfo -id "$win" | awk '/Height:/ {print $2}') - $(px 4665) ))
    x=$(( wx + $(px 120) + $(px 1695) / 2 ))
    y=$(( client_y + $(px 840) + $(px 360) + $(px 615) / 2 ))
    xdotool mousemove "$x" "$y" click 1
    wait_for 15 grep -q '^end$' "$KK_PROBE_REPORT" || fail "the component did not start"
    fds=$(awk '/^fd / {print $2}' "$KK_PROBE_REPORT" | sort -n | tr '\n' ' ')
    [ "$fds" = "0 1 2 " ] || fail "the component got descriptors $fds: $(grep '^fd' "$KK_PROBE_REPORT" | tr '\n' ';')"
    args=$(grep -c '^arg ' "$KK_PROBE_REPORT")
    [ "$args" -eq 1 ] || fail "the component got $args arguments"
    note "the component saw only descriptors 0, 1 and 2"
    ;;
while_reading)
    # 4,000 more components that share the first one's picture and program, so that the first copy
    # reads for a while; made with a handful of processes.
    printf 'NAME:Tool\r\nIMG:..\\Tool\\pic.png\r\nEXE:..\\Tool\\run\r\nDESC:The probe.\r\n' > "$WORK/kk.cfg"
    mkdir "$WORK/suite/Tool "{0001..4000}
    printf '%s\n' "$WORK/suite/Tool "{0001..4000}/kk.cfg \
        | xargs -d '\n' -n 1000 sh -c 'tee "$@" < "$0" >/dev/null' "$WORK/kk.cfg"
    [ "$(cat "$WORK/suite/Tool 4000/kk.cfg")" = "$(cat "$WORK/kk.cfg")" ] || fail "the suite was not written"
    start_copy
    first=$started
    # The second copy starts once the first holds the token, while it reads.
    token_file() { compgen -G "$WORK/runtime/kestrelkit-launcher-*.lock" || compgen -G "$WORK/cache/kestrelkit-launcher-*.lock"; } >/dev/null
    wait_for 10 token_file || fail "the first copy took no token"
    start_copy
    second=$started
    wait_for 30 window_of "$refusal_caption" "$second" || fail "the second copy shows no refusal"
    window_of "$main_caption" "$second" >/dev/null && fail "the second copy has a main window"
    acknowledge_refusal "$second"
    wait_for 60 window_of "$main_caption" "$first" || fail "the first copy did not come up"
    note "a second copy refused while the first was reading; the first came up"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
echo "PASS"
