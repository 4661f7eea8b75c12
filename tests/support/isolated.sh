#!/usr/bin/env bash
# Runs one test as a desktop runs a program: inside a D-Bus session bus of its own. Without one,
# libdbus in every Qt program autolaunches a bus, forking dbus-launch from Qt's D-Bus thread; in a
# sanitizer build that child can hang in the sanitizer's allocator lock before it reaches exec,
# holding the test's descriptors, and the program's GUI thread waits for the bus for good.
# Every process the test starts carries KK_TEST_RUN in its environment, begun with
# KK_TEST_RUN_PREFIX where the caller gives one; whatever of them is still there when the test
# ends is ended here, so that nothing outlives the test. What programs keep for their user (the
# launcher's single-instance token) goes to folders of the test's own, removed at its end.
# Usage: isolated.sh COMMAND [ARGUMENT...]
set -u
marker="${KK_TEST_RUN_PREFIX:-kk}-$$-$RANDOM"
export KK_TEST_RUN=$marker
user_files=$(mktemp -d)
mkdir -m 700 "$user_files/runtime" "$user_files/cache"
export XDG_RUNTIME_DIR="$user_files/runtime" XDG_CACHE_HOME="$user_files/cache"
# The launcher speaks the user's language: every test reads its English texts whatever the
# language of the desktop it runs on, unless it names a locale of its own in KK_TEST_LANG.
# Qt reads the variables itself; bash's warning about a locale the system has not generated is
# left out.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG="${KK_TEST_LANG:-C.UTF-8}" 2>/dev/null

# The processes that carry this test's marker, read with builtins alone: a command run here would
# carry the marker too.
marked() {
    local environ pid variable
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" = "$$" ] && continue
        while IFS= read -r -d '' variable; do
            if [ "$variable" = "KK_TEST_RUN=$marker" ]; then
                echo "$pid"
                break
            fi
        done 2>/dev/null <"$environ"
    done
}

if command -v dbus-run-session >/dev/null; then
    dbus-run-session -- "$@"
else
    "$@"
fi
status=$?

for signal in TERM KILL KILL; do
    mapfile -t left < <(marked)
    [ ${#left[@]} -eq 0 ] && break
    kill -"$signal" "${left[@]}" 2>/dev/null
    # Gone once no process carries the marker; a bounded wait, then the next signal.
    for _ in {1..40}; do
        [ -z "$(marked)" ] && break 2
        sleep 0.05
    done
done
rm -rf "$user_files"
exit "$status"
