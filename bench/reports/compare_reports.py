#!/usr/bin/env python3
"""Times `zelvo --json` against `lshw -json -quiet` and `inxi` with JSON output on this machine, in
one run, each started RUNS times in turn; prints the median wall time, the ratio to Zelvo's median
and the peak resident size of each. Exits 1 unless Zelvo is the fastest with a median under 30 ms.

Usage: bench/reports/compare_reports.py [ZELVO] [RUNS]   (ZELVO: a Release build's program,
default build/release/src/app/zelvo; lshw and inxi come from scripts/install-deps.sh)
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

zelvo = sys.argv[1] if len(sys.argv) > 1 else 'build/release/src/app/zelvo'
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
limit_ms = 30.0

tools = [
    ('zelvo --json', [zelvo, '--json']),
    ('lshw -json -quiet', [shutil.which('lshw') or 'lshw', '-json', '-quiet']),
    ('inxi --tty -F --output json', [shutil.which('inxi') or 'inxi', '--tty', '-F', '--output', 'json', '--output-file', 'print']),
]

# No display: the reports need none, and lshw and inxi are not to ask one either.
env = {k: v for k, v in os.environ.items() if k not in ('DISPLAY', 'WAYLAND_DISPLAY')}


def run_once(argv):
    start = time.perf_counter()
    # inxi takes a run without a terminal for an IRC client; --tty tells it otherwise.
    child = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    _, status, usage = os.wait4(child.pid, 0)
    elapsed = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f'{argv[0]} ended with {child.returncode}')
    return elapsed * 1000.0, usage.ru_maxrss  # ms, KiB


times = {name: [] for name, _ in tools}
peaks = {name: 0 for name, _ in tools}
for name, argv in tools:
    run_once(argv)  # warm the caches once, for each alike
for _ in range(runs):
    for name, argv in tools:  # interleaved, so a busy moment hits every tool alike
        ms, rss = run_once(argv)
        times[name].append(ms)
        peaks[name] = max(peaks[name], rss)

medians = {name: statistics.median(values) for name, values in times.items()}
base = medians['zelvo --json']
print(f'{runs} runs each, interleaved')
print(f'| command | median ms | × zelvo | peak RSS MiB |')
print(f'|---|---:|---:|---:|')
for name, _ in tools:
    print(f'| {name} | {medians[name]:.1f} | {medians[name] / base:.1f} | {peaks[name] / 1024:.1f} |')
fastest = min(medians, key=medians.get)
if fastest != 'zelvo --json' or base >= limit_ms:
    sys.exit(f'zelvo --json is not the fastest under {limit_ms:.0f} ms (median {base:.1f} ms; fastest {fastest})')
