#!/usr/bin/env bash
# The long fuzz run: each target named (all by default) for 10 million inputs or 30 minutes,
# whichever comes first, one at a time and niced, since it shares the machine. Takes the targets
# from a fuzz build (scripts/test-fuzz.sh makes one) and copies them, so a rebuild does not touch a
# run (they are copied at the start). Logs, the grown corpora and any failing input stay in BUILD_DIR/long; each finished target
# adds a row to BUILD_DIR/long/table.md. An input may take 5 s here rather than the test step's 1 s:
# a niced run on a busy machine can be starved for a second; replay a time-out to see whether the
# input itself is slow.
#   bash scripts/fuzz-long.sh build/fuzz [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: fuzz-long.sh BUILD_DIR [TARGET...]}
shift
long=$build/long
mkdir -p "$long/bin" "$long/tmp"
if [ $# -eq 0 ]; then
  set -- $(cd "$build/fuzz" && ls fuzz_* | grep -v _autogen | sed 's/^fuzz_//')
fi
python3 scripts/fuzz-seeds.py "$long/seeds" > /dev/null
for target in "$@"; do cp "$build/fuzz/fuzz_$target" "$long/bin/"; done
[ -f "$long/table.md" ] || printf '| target | inputs run | coverage (cov/ft) | crashes found |\n|---|---|---|---|\n' > "$long/table.md"
for target in "$@"; do
  corpus=$long/corpus/$target
  mkdir -p "$corpus"
  if [ -d "$long/seeds/$target" ]; then cp -n "$long/seeds/$target"/* "$corpus/"; fi
  log=$long/$target.log
  status=0
  TMPDIR=$long/tmp nice -n 15 "$long/bin/fuzz_$target" "$corpus" -runs=10000000 -max_total_time=1800 -timeout=5 \
    -print_final_stats=1 -artifact_prefix="$long/$target-" > "$log" 2>&1 || status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  cov=$(echo "$last" | grep -o 'cov: [0-9]*' | grep -o '[0-9]*' || true)
  ft=$(echo "$last" | grep -o 'ft: [0-9]*' | grep -o '[0-9]*' || true)
  crashes=$(find "$long" -maxdepth 1 -name "$target-*" | wc -l)
  echo "| $target | ${runs:-?} | $cov/$ft | $crashes (exit $status) |" >> "$long/table.md"
done
