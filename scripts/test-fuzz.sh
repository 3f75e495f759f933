#!/usr/bin/env bash
# Builds the libFuzzer targets of the parsers of machine text (fuzz/) in a build of their own and
# runs each for a fixed time (20 s) from its seed corpus, two at a time. A crash, a sanitizer report,
# a leak or an input that takes longer than 1 s fails the step; the input that did it is kept as
# BUILD_DIR/failures/TARGET-crash-… (or -leak-, -timeout-), with the target's log beside it.
#   bash scripts/test-fuzz.sh [BUILD_DIR]      (default build/fuzz; ZELVO_FUZZ_SECONDS to change the time)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/fuzz}
seconds=${ZELVO_FUZZ_SECONDS:-20}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DZELVO_BUILD_FUZZ=ON -DZELVO_BUILD_UI=OFF -DZELVO_BUILD_TESTS=OFF \
  -DZELVO_BUILD_BENCH=OFF > /dev/null
cmake --build "$build" --target zelvo_fuzz_targets
python3 scripts/fuzz-seeds.py "$build/seeds" > /dev/null

rm -rf "$build/failures" "$build/run"
mkdir -p "$build/failures" "$build/run" "$build/tmp"
export TMPDIR=$PWD/$build/tmp
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# One target: new inputs go to run/TARGET, the seeds stay as generated.
fuzz_one() {
  local target=$1 build=$2 seconds=$3
  mkdir -p "$build/run/$target"
  local seeds=()
  if [ -d "$build/seeds/$target" ]; then seeds=("$build/seeds/$target"); fi
  if "$build/fuzz/fuzz_$target" "$build/run/$target" "${seeds[@]}" -max_total_time="$seconds" -timeout=1 \
    -artifact_prefix="$build/failures/$target-" > "$build/run/$target.log" 2>&1; then
    echo "fuzz $target: $(grep -E '^Done' "$build/run/$target.log")"
  else
    cp "$build/run/$target.log" "$build/failures/$target.log"
    echo "fuzz $target: FAILED, see $build/failures/$target.log"
  fi
}
export -f fuzz_one
targets=$(cd "$build/fuzz" && find . -maxdepth 1 -type f -name 'fuzz_*' -executable | sed 's|^\./fuzz_||' | sort)
echo "$targets" | xargs -P 2 -I{} bash -c 'fuzz_one "$@"' _ {} "$build" "$seconds"

if ls "$build/failures"/*.log > /dev/null 2>&1; then
  for log in "$build/failures"/*.log; do
    echo "== $log"
    grep -E 'broken promise|ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -20
  done
  exit 1
fi
