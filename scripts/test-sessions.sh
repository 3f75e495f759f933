#!/usr/bin/env bash
# Takes the six pages as a native Wayland client under a headless Weston and as an X11 client on
# Xvfb, and compares them pixel by pixel: the simulated machine's pages must match exactly, and so
# must this machine's display page, both servers being given the same single 1024 × 640 screen.
# The Wayland client also sees $DISPLAY of a second X server with another screen, as under
# Xwayland: the display page shows it if XRandR is asked on Wayland.
#   scripts/test-sessions.sh BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=${1:?build directory}
snapshot=$build/tools/zelvo_snapshot
work=$(mktemp -d)
chmod 700 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Qt's Wayland plugin and the GL libraries it loads keep allocations until the process ends; the
# suite checks this program's own leaks.
export ASAN_OPTIONS=detect_leaks=0

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket=zelvo-test --idle-time=0 --width=1024 --height=640 \
  >"$work/weston.log" 2>&1 &
pids+=($!)
wait_for "$XDG_RUNTIME_DIR/zelvo-test" weston || { cat "$work/weston.log" >&2; exit 1; }

start_xvfb 1024x640x24 "$work/xvfb.log"
pids+=("$xvfb_pid")
x_display=$xvfb_display
start_xvfb 800x600x16 "$work/decoy.log"
pids+=("$xvfb_pid")
decoy_display=$xvfb_display

for machine in nt system; do
  env QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=zelvo-test DISPLAY="$decoy_display" \
    "$snapshot" --machine "$machine" --out "$work/wayland-$machine" >/dev/null
  env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb DISPLAY="$x_display" \
    "$snapshot" --machine "$machine" --out "$work/x11-$machine" >/dev/null
done

pages=("$work"/x11-nt/*.png)
if [ "${#pages[@]}" != 6 ]; then
  echo "test-sessions: expected six pages, got ${#pages[@]}" >&2
  exit 1
fi
compare_page() {
  local differing
  differing=$(differing_pixels "$1" "$2")
  if [ "$differing" != 0 ]; then
    echo "test-sessions: $(basename "$1") differs between X11 and Wayland ($differing pixels)" >&2
    return 1
  fi
}
status=0
for page in "${pages[@]}"; do
  compare_page "$page" "$work/wayland-nt/$(basename "$page")" || status=1
done
# Where the kernel lists modes, the Wayland page shows the monitor's list instead of the compositor's.
if cat /sys/class/drm/card*-*/modes 2>/dev/null | grep -q x; then
  echo "test-sessions: this machine has DRM connectors; display pages not compared"
else
  compare_page "$work/x11-system/5-display.png" "$work/wayland-system/5-display.png" || status=1
fi
[ "$status" = 0 ] && echo "test-sessions: the pages under Wayland match those under X11"
exit "$status"
