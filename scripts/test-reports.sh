#!/usr/bin/env bash
# The program's reports as a user meets them: `zelvo --json` on this machine with no display
# reachable, checked against the shipped schema; the text report's sections; the command-line
# errors; writing to a full device and to a pipe closed early; and Ctrl+C in the window copying the
# text report to the real clipboard of an X server (Xvfb, read back with xclip).
# Usage: scripts/test-reports.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
build=${1:?usage: test-reports.sh BUILD_DIR}
zelvo=$build/src/app/zelvo
schema=resources/zelvo-facts.schema.json
work=$(mktemp -d)
xvfb_pid=
zelvo_pid=
cleanup() {
  [ -n "$zelvo_pid" ] && kill "$zelvo_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "test-reports: $*" >&2; exit 1; }

# No window system in reach: the reports need none.
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work" "$@"; }

echo "== --json on this machine, no display"
headless "$zelvo" --json > "$work/facts.json"
python3 - "$schema" "$work/facts.json" <<'PY'
import json, os, sys, jsonschema
schema = json.load(open(sys.argv[1]))
doc = json.load(open(sys.argv[2]))
jsonschema.Draft202012Validator(schema).validate(doc)
# The figures are this machine's own.
total = int(next(l for l in open('/proc/meminfo') if l.startswith('MemTotal:')).split()[1]) * 1024
assert doc['memory']['totalBytes'] == total, (doc['memory'], total)
c = next(d for d in doc['drives'] if d['letter'] == 'c')
st = os.statvfs('/')
assert c['size']['totalBytes'] == st.f_blocks * st.f_frsize, (c['size'], st)
assert 'load' not in doc['cpu'], 'Linux is the NT family: no load'
print('valid;', len(doc['drives']), 'drives, memory', doc['memory'].get('totalBytes'))
PY

echo "== --report"
headless "$zelvo" --report > "$work/report.txt"
for heading in '[ディスク]' '[メモリ]' '[CPU]' '[BIOS]' '[画面]' '[ユーザー 情報]'; do
  grep -qF -- "$heading" "$work/report.txt" || fail "no section $heading"
done
headless "$zelvo" --report --redact > "$work/redacted.txt"
grep -qF "$(hostname)" "$work/redacted.txt" && fail "--redact leaves the host name in"
grep -q '省略' "$work/redacted.txt" || fail "--redact withholds nothing"

echo "== command-line errors"
for args in "--bogus" "stray" "--measure-clock" "--report --json"; do
  set +e
  # shellcheck disable=SC2086
  headless "$zelvo" $args > "$work/out" 2> "$work/err"
  status=$?
  set -e
  [ "$status" = 2 ] || fail "'$args' ended with $status, not 2"
  [ "$(wc -l < "$work/err")" = 1 ] || fail "'$args' said more than one line: $(cat "$work/err")"
  [ -s "$work/out" ] && fail "'$args' wrote to standard output"
  echo "  $args -> 2: $(cat "$work/err")"
done
headless "$zelvo" -style fusion --version | grep -q '^zelvo ' || fail "a window option upsets --version"

echo "== writing fails loudly"
set +e
headless "$zelvo" --json > /dev/full 2> "$work/err"
status=$?
set -e
[ "$status" = 1 ] || fail "--json > /dev/full ended with $status"
grep -q 'No space left on device' "$work/err" || fail "--json > /dev/full said: $(cat "$work/err")"
echo "  /dev/full -> 1: $(cat "$work/err")"
# head reads the whole short report before it ends; `true` ends before the report is written, so
# the write meets a pipe without a reader.
for reader in "head -n 1" "true"; do
  set +e
  headless "$zelvo" --report 2> "$work/err" | $reader > /dev/null
  status=${PIPESTATUS[0]}
  set -e
  [ "$status" = 0 ] || fail "--report | $reader ended with $status"
  [ -s "$work/err" ] && fail "--report | $reader said: $(cat "$work/err")"
  echo "  | $reader -> 0, quiet"
done

echo "== Ctrl+C copies the report (Xvfb, xclip)"
start_xvfb 1024x768x24 "$work/xvfb.log" || fail "Xvfb did not start"
export DISPLAY=$xvfb_display
# Qt's X11 plugin reads past a string's end where strict_string_checks looks (as in test-sessions.sh).
env -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" "$zelvo" > "$work/window.log" 2>&1 &
zelvo_pid=$!
window=
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --name 'Zelvo' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || fail "the window did not appear: $(cat "$work/window.log")"
printf 'nothing yet' | xclip -selection clipboard
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool key ctrl+c
copied=
for _ in $(seq 1 50); do
  copied=$(xclip -o -selection clipboard 2>/dev/null || true)
  case $copied in *'[ユーザー 情報]'*) break ;; esac
  sleep 0.2
done
case $copied in
  *'[ディスク]'*'[メモリ]'*'[CPU]'*'[BIOS]'*'[画面]'*'[ユーザー 情報]'*) echo "  clipboard holds the report ($(printf '%s' "$copied" | wc -l) lines)" ;;
  *) fail "the clipboard holds: ${copied:0:200}" ;;
esac
echo "test-reports: all passed"
