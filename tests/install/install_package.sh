#!/usr/bin/env bash
# The Debian package as a user meets it: Debian's checker finds nothing to report, install it,
# check the desktop entry and the manual page, check the installed suite without a display, start
# the installed launcher through its link on that suite under Xvfb, start a component, remove the
# package and find nothing left behind. Needs root and dpkg; skipped (77) elsewhere.
# Usage: install_package.sh BUILD_DIR
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/lib.sh"
build=$1

[ "$(id -u)" -eq 0 ] && command -v dpkg >/dev/null || { echo "needs root and dpkg: skipped"; exit 77; }
if dpkg-query -W -f='${Status}' kestrelkit-launcher 2>/dev/null | grep -q 'install ok installed'; then
    echo "kestrelkit-launcher is installed on this machine already: skipped, so that nothing of yours is removed"
    exit 77
fi

WORK=$(mktemp -d)
keep_user_files_in_work
cleanup() {
    [ -n "${LAUNCHER_PID:-}" ] && kill "$LAUNCHER_PID" 2>/dev/null
    rm -rf /opt/kestrelkit/Probe
    dpkg-query -W kestrelkit-launcher >/dev/null 2>&1 && dpkg -r kestrelkit-launcher >/dev/null 2>&1
    stop_all
}
trap cleanup EXIT

snapshot() { find /opt /usr/bin /usr/share/applications /usr/share/icons /usr/share/man /usr/share/doc /usr/share/lintian 2>/dev/null | sort; }
snapshot > "$WORK/before.txt"

cpack --config "$build/CPackConfig.cmake" -B "$WORK/package" >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; fail "cpack failed"; }
deb=$(ls "$WORK"/package/kestrelkit-launcher_*.deb)
dpkg-deb -f "$deb" Depends | grep -q -- '-dev' && fail "the package depends on a -dev package"
# Every tag lintian shows is new: the one the package expects, for the suite folder in /opt, is
# overridden by the package itself and not shown.
command -v lintian >/dev/null || fail "lintian is not installed"
tags=$(lintian --fail-on error,warning "$deb" 2>"$WORK/lintian.log") \
    || fail "lintian: ${tags:-$(cat "$WORK/lintian.log")}"
[ -z "$tags" ] || fail "lintian reports: $tags"
note "lintian reports nothing"
dpkg -i "$deb" >"$WORK/dpkg.log" 2>&1 || { cat "$WORK/dpkg.log"; fail "dpkg -i failed"; }
note "installed $(basename "$deb")"

desktop-file-validate /usr/share/applications/kestrelkit-launcher.desktop || fail "the desktop entry does not validate"
[ -x /opt/kestrelkit/kestrelkit-launcher ] || fail "no launcher in the suite folder"
[ "$(readlink /usr/bin/kestrelkit-launcher)" = /opt/kestrelkit/kestrelkit-launcher ] || fail "no link in /usr/bin"
[ -f /usr/share/icons/hicolor/32x32/apps/kestrelkit-launcher.png ] || fail "no icon"
gzip -t /usr/share/man/man1/kestrelkit-launcher.1.gz || fail "no manual page"
note "files in place, desktop entry valid, manual page installed"

# A component dropped into the suite folder is found by the launcher started through the link.
mkdir -p /opt/kestrelkit/Probe
marker="$WORK/marker.txt"
printf 'IMG:pic.png\r\nEXE:run.sh\r\nDESC:Probe.\r\n' > /opt/kestrelkit/Probe/kk.cfg
convert -size 40x30 'xc:#10c060' /opt/kestrelkit/Probe/pic.png
printf '#!/bin/sh\necho started >> "%s"\n' "$marker" > /opt/kestrelkit/Probe/run.sh
chmod +x /opt/kestrelkit/Probe/run.sh
# Without a display, and without FOLDER: the suite folder behind the link.
checked=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM kestrelkit-launcher --check 2>&1) \
    || fail "--check failed: $checked"
[ "$checked" = "/opt/kestrelkit/Probe/kk.cfg:0: note: button 1 of 1
1 component, 0 errors, 0 warnings" ] || fail "--check on the installed suite: $checked"
note "--check found the suite behind the link and nothing wrong in it"
start_x
(cd "$WORK" && exec kestrelkit-launcher) >"$WORK/launcher.log" 2>&1 &
LAUNCHER_PID=$!
caption="Kestrelkit Launcher - Vessaly Software Solutions, Inc -  Version 1.1.0"
wait_for 15 window_named "$caption" || { cat "$WORK/launcher.log"; fail "the installed launcher shows no window"; }
win=$(window_named "$caption")
read -r wx wy < <(window_origin "$win")
height=$(xwininfo -id "$win" | awk '/Height:/ {print $2}')
x=$(( wx + 8 + 56 )); y=$(( wy + height - 311 + 56 + 24 + 20 ))
wait_for 5 pixel_is "$x" "$y" "#10C060" || fail "the component's picture is not shown: $(pixel "$x" "$y")"
xdotool mousemove "$x" "$y" click 1
wait_for 10 grep -q started "$marker" || fail "the component did not start"
kill "$LAUNCHER_PID"; wait "$LAUNCHER_PID" 2>/dev/null; LAUNCHER_PID=
note "installed launcher found and started the component"

rm -rf /opt/kestrelkit/Probe
dpkg -r kestrelkit-launcher >"$WORK/dpkg.log" 2>&1 || { cat "$WORK/dpkg.log"; fail "dpkg -r failed"; }
snapshot > "$WORK/after.txt"
diff "$WORK/before.txt" "$WORK/after.txt" || fail "removing the package left files behind"
note "removed; nothing left behind"
echo PASS
