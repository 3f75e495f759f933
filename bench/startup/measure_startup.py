#!/usr/bin/env python3
"""Start-up to first paint and peak memory of Zelvo against a bare Qt window, under Xvfb.

Runs both programs interleaved, with a pause between runs (an X server still tidying up after the
previous client slows the next one down), and prints the medians and their ratios.

    bench/startup/measure_startup.py BUILD_DIR [RUNS] [--trace]

With --trace the programs also report each start-up step they pass (the application object made,
each page filled, the window shown...), and a table per program gives the median time from exec to
the end of each step and the median resident memory (VmRSS) right after it. The reporting costs a
little, so the ratios of a traced run are not the ones to quote.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

PAUSE_SECONDS = 1.0


def start_xvfb(display):
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists("/tmp/.X11-unix/X" + display[1:]):
            return xvfb
        time.sleep(0.05)
    xvfb.kill()
    sys.exit("Xvfb did not start")


def run_once(program, env):
    """Seconds from exec to first paint, peak RSS in KiB, and the traced steps as
    [(name, seconds from exec, VmRSS KiB)] (empty unless the trace was asked for)."""
    started = time.monotonic()
    child = subprocess.Popen([program], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    output = child.stdout.read().decode()
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    painted = [line.split()[1] for line in output.splitlines() if line.startswith("first-paint ")]
    if child.returncode != 0 or not painted:
        sys.exit(f"{program} ended without a first paint (exit {child.returncode})")
    steps = []
    for line in output.splitlines():  # step NAME SECONDS RSS_KIB
        fields = line.split()
        if len(fields) == 4 and fields[0] == "step":
            steps.append((fields[1], float(fields[2]) - started, int(fields[3])))
    return float(painted[0]) - started, usage.ru_maxrss, steps


def print_trace(name, runs):
    """The median of each step over the runs, in the order the program passes them."""
    names = []
    seconds = {}
    kib = {}
    for steps in runs:
        for step, at, rss in steps:
            if step not in seconds:
                names.append(step)
                seconds[step], kib[step] = [], []
            seconds[step].append(at)
            kib[step].append(rss)
    print(f"\n{name}: median of {len(runs)} starts; ms from exec to the end of the step, "
          f"VmRSS right after it")
    print(f"  {'step':18s} {'ms':>7s} {'+ms':>7s} {'MiB':>6s} {'+MiB':>6s}")
    previous_ms, previous_mib = 0.0, 0.0
    for step in names:
        ms = statistics.median(seconds[step]) * 1000
        mib = statistics.median(kib[step]) / 1024
        print(f"  {step:18s} {ms:7.1f} {ms - previous_ms:7.1f} {mib:6.1f} {mib - previous_mib:6.1f}")
        previous_ms, previous_mib = ms, mib


def main():
    parser = argparse.ArgumentParser(description="Start-up of Zelvo against a bare Qt window.")
    parser.add_argument("build", nargs="?", default="build/release")
    parser.add_argument("runs", nargs="?", type=int, default=15)
    parser.add_argument("--trace", action="store_true", help="time each start-up step as well")
    arguments = parser.parse_args()
    build, runs = arguments.build, arguments.runs
    programs = {
        "zelvo": os.path.join(build, "bench", "zelvo_first_paint_app"),
        "baseline": os.path.join(build, "bench", "zelvo_first_paint_baseline"),
    }
    display = ":97"
    xvfb = start_xvfb(display)
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    env.pop("ZELVO_STARTUP_TRACE", None)
    if arguments.trace:
        env["ZELVO_STARTUP_TRACE"] = "1"
    times = {name: [] for name in programs}
    memory = {name: [] for name in programs}
    traces = {name: [] for name in programs}
    try:
        for name, program in programs.items():  # one warm-up each: the first run fills file caches
            run_once(program, env)
            time.sleep(PAUSE_SECONDS)
        for _ in range(runs):
            for name, program in programs.items():
                seconds, kib, steps = run_once(program, env)
                times[name].append(seconds)
                memory[name].append(kib)
                traces[name].append(steps)
                time.sleep(PAUSE_SECONDS)
    finally:
        xvfb.terminate()
        xvfb.wait()
    for name in programs:
        print(f"{name:9s} first paint median {statistics.median(times[name]) * 1000:7.1f} ms   "
              f"peak RSS median {statistics.median(memory[name]) / 1024:6.1f} MiB   ({runs} runs)")
    time_ratio = statistics.median(times["zelvo"]) / statistics.median(times["baseline"])
    memory_ratio = statistics.median(memory["zelvo"]) / statistics.median(memory["baseline"])
    print(f"ratio zelvo/baseline: start-up {time_ratio:.2f}, peak memory {memory_ratio:.2f}"
          + (" (traced)" if arguments.trace else ""))
    if arguments.trace:
        for name in programs:
            print_trace(name, traces[name])


if __name__ == "__main__":
    main()
