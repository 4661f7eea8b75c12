#!/usr/bin/env bash
# The real launcher as a screen reader meets it: its accessibility tree read over AT-SPI by
# atspi_tree.py, in a D-Bus session, an accessibility bus and an X server of its own.
# Usage: a11y_launcher.sh LAUNCHER [TS]: with the translation file TS, the tree in its language,
# under a locale that names it.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# The session bus is the test's own (tests/support/isolated.sh); the accessibility bus it starts
# ends with it.
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "FAIL: no session bus: run it through tests/support/isolated.sh" >&2; exit 1; }
source "$here/../e2e/lib.sh"
launcher_bin=$1
translation=${2:-}
trap stop_all EXIT

WORK=$(mktemp -d)
# The accessibility bus puts its socket here rather than in a folder other runs share.
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_x
# Started before the launcher, so that Qt finds it at start-up and registers its first window.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null \
    || fail "no accessibility bus"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Debian's own Python, which has pyatspi, whatever python3 comes first on PATH.
/usr/bin/python3 "$here/atspi_tree.py" "$launcher_bin" ${translation:+"$translation"} \
    || fail "the tree is not as expected"
echo "PASS"
