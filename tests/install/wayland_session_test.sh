#!/usr/bin/env bash
# The desktop program in a Wayland session, as Debian 13's desktops start one: under weston's
# headless compositor, with no X display to fall back on, it must come up as a native Wayland
# client (Qt's Wayland platform, from qt6-wayland) and show its run-settings dialog. The
# client's protocol trace (WAYLAND_DEBUG) shows the window: a toplevel titled with the sample's
# reference database, and a drawn buffer committed to its surface.
# Usage: wayland_session_test.sh BIN_DIR
set -euo pipefail
bin=$1
tmp=$(mktemp -d)
compositor= program=
cleanup() {
  for pid in $program $compositor; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  done
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

mkdir -m 700 "$tmp/runtime"
"$bin/morvask-sampledb" "$tmp/prefix" --contacts 20 --seed 3 >"$tmp/sampledb.log" ||
  fail "writing the sample installation: $(cat "$tmp/sampledb.log")"

# Only what a Wayland session sets: no DISPLAY, so XWayland is out of reach. Started in the
# background, the exec makes $! the program itself, for the clean-up to end.
session() {
  exec env -i HOME="$tmp" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$tmp/runtime" "$@"
}
session weston --backend=headless-backend.so --shell=kiosk-shell.so --socket=morvask-test --idle-time=0 \
  --no-config --log="$tmp/weston.log" &
compositor=$!
for _ in $(seq 100); do
  [ -S "$tmp/runtime/morvask-test" ] && break
  kill -0 "$compositor" 2>/dev/null || fail "weston did not start: $(cat "$tmp/weston.log")"
  sleep 0.1
done
[ -S "$tmp/runtime/morvask-test" ] || fail "weston made no socket: $(cat "$tmp/weston.log")"

# The session names its kind and its compositor, as a desktop's session does; no Qt platform
# is named, so Qt picks its Wayland platform by itself.
session XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=morvask-test WAYLAND_DEBUG=client WINEPREFIX="$tmp/prefix" \
  "$bin/morvask" >"$tmp/morvask.out" 2>"$tmp/morvask.trace" &
program=$!
# The dialog is there once a toplevel has its title and its surface a drawn buffer. Debian 12's
# libwayland writes objects as xdg_toplevel@14, Debian 13's as xdg_toplevel#14.
shown() {
  grep -qE 'xdg_toplevel[@#][0-9]+\.set_title\(".*Refdata\.mdb"\)' "$tmp/morvask.trace" &&
    grep -qE 'wl_surface[@#][0-9]+\.attach\(wl_buffer[@#][0-9]+' "$tmp/morvask.trace"
}
for _ in $(seq 300); do
  shown && break
  kill -0 "$program" 2>/dev/null ||
    fail "morvask ended under Wayland: $(tail -20 "$tmp/morvask.trace") $(cat "$tmp/morvask.out")"
  sleep 0.1
done
shown || fail "no run-settings dialog under Wayland within 30 s; the end of the trace: $(tail -20 "$tmp/morvask.trace")"
grep -m1 -E 'xdg_toplevel[@#][0-9]+\.set_title' "$tmp/morvask.trace" | sed -E 's/^ *\[[0-9. ]*\] *(\{[^}]*\})? *//'
echo "wayland session: the run-settings dialog came up as a native Wayland client"
