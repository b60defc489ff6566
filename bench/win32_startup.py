"""Start-up of the Win32 drill under Wine to a mapped window, beside a minimal Win32 window program in
the same run (same prefix, X server and window manager). Prints the medians and their ratio.

    PYTHONPATH=tests/support python3 bench/win32_startup.py --build-dir build-win --character build-host/bin/PEEDY.acs
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))

import tvx_e2e  # noqa: E402
import tvx_wine  # noqa: E402

DRILL_TITLE = "タリボックス-数字（Ｔａｌｌｙｖｏｘ－Ｎｕｍｂｅｒ）"


def mapped(title, env):
    """Window ids mapped now whose name is title (xdotool's --name misses multibyte titles)."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], env=env, capture_output=True,
                         text=True).stdout.split()
    return [w for w in out if tvx_e2e.window_name(w, env) == title]


def time_to_window(s, exe, title):
    t0 = time.monotonic()
    proc = s.prefix.start([exe], s.env)
    while True:
        wins = mapped(title, s.xenv)
        if wins:
            elapsed = time.monotonic() - t0
            break
        if proc.poll() is not None or time.monotonic() - t0 > 60:
            raise AssertionError(f"{exe} mapped no window (exit code {proc.poll()})")
        time.sleep(0.005)
    tvx_e2e.close_window(wins[0], s.xenv)
    if tvx_e2e.wait_exit(proc, 20) is None:
        tvx_e2e.stop(proc)
    return elapsed


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--build-dir", required=True)
    p.add_argument("--character", required=True)
    p.add_argument("--runs", type=int, default=7)
    a = p.parse_args()
    a.build_dir = os.path.abspath(a.build_dir)
    work = tempfile.mkdtemp(prefix="tvx-bench-")
    try:
        drill = os.path.join(work, "Tallyvox-Number.exe")
        shutil.copy2(os.path.join(a.build_dir, "bin", "Tallyvox-Number.exe"), drill)
        shutil.copy2(a.character, work)
        minimal = os.path.join(a.build_dir, "bench", "tvx_minimal_window.exe")
        with tvx_wine.Session(os.path.join(a.build_dir, "wineprefix-gui")) as s:
            time_to_window(s, minimal, "TvxMinimalWindow")  # warm-up: libraries in the page cache
            time_to_window(s, drill, DRILL_TITLE)
            m, d = [], []
            for _ in range(a.runs):
                m.append(time_to_window(s, minimal, "TvxMinimalWindow"))
                d.append(time_to_window(s, drill, DRILL_TITLE))
        mm, dm = statistics.median(m), statistics.median(d)
        print(f"minimal Win32 window: median {mm * 1000:.0f} ms ({', '.join(f'{x * 1000:.0f}' for x in m)})")
        print(f"Tallyvox-Number.exe:  median {dm * 1000:.0f} ms ({', '.join(f'{x * 1000:.0f}' for x in d)})")
        print(f"ratio {dm / mm:.2f} (target <= 1.5)")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
