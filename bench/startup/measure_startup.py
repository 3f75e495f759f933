#!/usr/bin/env python3
"""Start-up to first paint and peak memory of Zelvo against a bare Qt window, under Xvfb.

Runs both programs interleaved, with a pause between runs (an X server still tidying up after the
previous client slows the next one down), and prints the medians and their ratios.

    bench/startup/measure_startup.py BUILD_DIR [RUNS]
"""
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
    started = time.monotonic()
    child = subprocess.Popen([program], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    output = child.stdout.read().decode()
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    painted = [line.split()[1] for line in output.splitlines() if line.startswith("first-paint ")]
    if child.returncode != 0 or not painted:
        sys.exit(f"{program} ended without a first paint (exit {child.returncode})")
    return float(painted[0]) - started, usage.ru_maxrss  # seconds, KiB


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/release"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    programs = {
        "zelvo": os.path.join(build, "bench", "zelvo_first_paint_app"),
        "baseline": os.path.join(build, "bench", "zelvo_first_paint_baseline"),
    }
    display = ":97"
    xvfb = start_xvfb(display)
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    times = {name: [] for name in programs}
    memory = {name: [] for name in programs}
    try:
        for name, program in programs.items():  # one warm-up each: the first run fills file caches
            run_once(program, env)
            time.sleep(PAUSE_SECONDS)
        for _ in range(runs):
            for name, program in programs.items():
                seconds, kib = run_once(program, env)
                times[name].append(seconds)
                memory[name].append(kib)
                time.sleep(PAUSE_SECONDS)
    finally:
        xvfb.terminate()
        xvfb.wait()
    for name in programs:
        print(f"{name:9s} first paint median {statistics.median(times[name]) * 1000:7.1f} ms   "
              f"peak RSS median {statistics.median(memory[name]) / 1024:6.1f} MiB   ({runs} runs)")
    time_ratio = statistics.median(times["zelvo"]) / statistics.median(times["baseline"])
    memory_ratio = statistics.median(memory["zelvo"]) / statistics.median(memory["baseline"])
    print(f"ratio zelvo/baseline: start-up {time_ratio:.2f}, peak memory {memory_ratio:.2f}")


if __name__ == "__main__":
    main()
