#!/usr/bin/env bash
# The window as a screen reader meets it, in a real session: Xvfb, a private D-Bus session bus, the
# AT-SPI bus and registry (at-spi2-core), and the program on X11 with Qt's Linux accessibility on.
# tests/a11y/check_session.py finds the program by its process, reads every page through AT-SPI
# and drives it with the keyboard alone (xdotool). What it read is kept in BUILD_DIR/a11y-pages.txt.
# The configuration directory is a temporary one, and the host-name service the program talks to
# is a stand-in on the private bus: the machine's name and the user's settings are never touched.
#   scripts/test-a11y.sh BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "${1:?build directory}" && pwd)
checker=$(cd "$(dirname "$0")/.." && pwd)/tests/a11y
work=$(mktemp -d)
chmod 700 "$work"
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null || true
    wait "${pids[$i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
mkdir -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"

start_xvfb 1024x640x24 "$work/xvfb.log"
pids+=("$xvfb_pid")
export DISPLAY=$xvfb_display

dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >"$work/dbus.log" 2>&1 &
pids+=($!)
wait_for "$work/bus" "the session bus" || { cat "$work/dbus.log" >&2; exit 1; }
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS
# The program's host-name changes go to the stand-in, on the private bus.
export DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS
/usr/bin/python3 "$checker/fake_hostnamed.py" "$DBUS_SESSION_BUS_ADDRESS" >"$work/hostnamed.log" 2>&1 &
pids+=($!)
wait_for "$work/hostnamed.log" "the stand-in host-name service" || exit 1

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1; then break; fi
  sleep 0.1
done

# Qt keeps some allocations of its accessibility bridge until the process ends; the suite checks
# the program's own leaks.
env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
  "$build/src/app/zelvo" >"$work/zelvo.log" 2>&1 &
program=$!
pids+=("$program")

status=0
/usr/bin/python3 "$checker/check_session.py" --pid "$program" --out "$build/a11y-pages.txt" \
  --config "$XDG_CONFIG_HOME" --hostnamed-log "$work/hostnamed.log" --shots "$build/a11y-shots" || status=$?
if [ "$status" != 0 ]; then
  echo "test-a11y: the program said:" >&2
  cat "$work/zelvo.log" >&2
fi
exit "$status"
