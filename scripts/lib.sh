# Pieces the test scripts share; sourced by them, not run.

# Waits up to 10 s for FILE (a socket, or a file a server writes once it is ready) to exist and not
# be empty; says that WHAT did not start otherwise.
#   wait_for FILE WHAT
wait_for() {
  for _ in $(seq 100); do
    if [ -S "$1" ] || [ -s "$1" ]; then return 0; fi
    sleep 0.1
  done
  echo "$(basename "$0" .sh): $2 did not start" >&2
  return 1
}

# Starts a private Xvfb with one screen of GEOMETRY (e.g. 1024x640x24), its output in LOG, and sets
# xvfb_pid and xvfb_display (":N"). A private server, so nothing else on it stands in the way; the
# server picks a free display number itself.
#   start_xvfb GEOMETRY LOG
start_xvfb() {
  local number
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$number" >"$2" 2>&1 &
  xvfb_pid=$!
  if ! wait_for "$number" Xvfb; then
    rm -f "$number"
    cat "$2" >&2
    return 1
  fi
  xvfb_display=":$(cat "$number")"
  rm -f "$number"
}

# The number of pixels in which two pictures differ (ImageMagick's compare); with DIFFERENCES, a
# picture of where they differ is written there.
#   differing_pixels A B [DIFFERENCES]
differing_pixels() {
  compare -metric AE "$1" "$2" "${3:-null:}" 2>&1 || true
}

# Runs a step of a longer run and keeps how long it took; step_times prints them all. The time of
# each part is what decides where a slow run is to be made faster.
#   timed NAME COMMAND [ARGUMENT...]
step_names=()
step_seconds=()
timed() {
  local name=$1 started=$SECONDS
  shift
  "$@"
  step_names+=("$name")
  step_seconds+=($((SECONDS - started)))
}
step_times() {
  local i
  echo "== time of each step (s)"
  for i in "${!step_names[@]}"; do
    printf '%6d  %s\n' "${step_seconds[$i]}" "${step_names[$i]}"
  done
  printf '%6d  %s\n' "$SECONDS" "in all"
}
