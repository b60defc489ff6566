#!/usr/bin/env python3
"""Start-up time, peak memory and idle CPU of the real drill with the costliest character files it accepts.

    python3 bench/character_budget.py --bin-dir build-test/bin [--runs 3] [--watch 8]

For each file: the drill is copied into a fresh folder beside the file and started under a private
Xvfb; start-up is the time until the main window is mapped, peak RSS is VmHWM after the show
animation has run for --watch seconds (every frame drawn at least once), idle CPU is the share of one
core over the second half of the watch. Prints one JSON line per file.
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
import tvx_e2e as e2e  # noqa: E402

MAIN_TITLE = "タリボックス-数字（Ｔａｌｌｙｖｏｘ－Ｎｕｍｂｅｒ）"
MAX_FILE = 8 * 1024 * 1024
MAX_FRAMES = 256
SIDE = 512
NS = 'xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"'


def character(frames, steps_ms=20):
    names = list(frames)
    seq = [{"frame": n, "ms": steps_ms} for n in names]
    return {"format": "tallyvox-character", "version": 1, "id": "peedy",
            "size": {"width": SIDE, "height": SIDE}, "beak": {"x": 10, "y": 10}, "frames": frames,
            "animations": {"idle": seq, "blink": seq[:2], "show": seq},
            "beakFrames": names[:4]}


def frame_svg(body):
    return f'<svg {NS} width="{SIDE}" height="{SIDE}">{body}</svg>'


def full_frame_rects(i, count):
    """Half-transparent rotated rectangles over the whole frame, each in its own colour."""
    return frame_svg("".join(
        f'<rect width="{SIDE}" height="{SIDE}" fill="#{(i * 7 + k) % 256:02x}{k % 256:02x}80" '
        f'fill-opacity="0.5" transform="rotate({k % 360} 256 256)"/>' for k in range(count)))


def used_rects(uses):
    """One full-frame rectangle drawn through <use> many times: little text, much drawing."""
    defs = f'<defs><rect id="r" width="{SIDE}" height="{SIDE}" fill="#c33" fill-opacity="0.3"/></defs>'
    return frame_svg(defs + "".join(f'<use xlink:href="#r" transform="rotate({k % 360} 256 256)"/>'
                                    for k in range(uses)))


def long_path(points):
    """A stroked path whose every segment crosses the frame: the costliest drawing per coordinate."""
    d = "M0 0" + "".join(f"L{(k * 37) % SIDE} {(k * 91) % SIDE}" for k in range(points))
    return frame_svg(f'<path d="{d}" fill="#3a3" stroke="#000" stroke-width="9" fill-rule="evenodd"/>')


def big_text(chars):
    return frame_svg(f'<text x="0" y="400" font-size="400">{"W" * chars}</text>')


def fit(make, lo=1, hi=100000):
    """The largest argument whose frame the drill still accepts (binary search on the real check)."""
    while lo < hi:
        mid = (lo + hi + 1) // 2
        if accepted(make(mid)):
            lo = mid
        else:
            hi = mid - 1
    return lo


def accepted(svg):
    doc = character({f"f{i}": svg for i in range(4)})
    with tempfile.TemporaryDirectory() as d:
        path = os.path.join(d, "PEEDY.acs")
        with open(path, "w") as f:
            json.dump(doc, f)
        r = subprocess.run([CHECKER, "--check", path], capture_output=True)
        return r.returncode == 0


def frames(make, arg, count=MAX_FRAMES):
    """count frames made by make(arg, i), as many as fit in the file size limit."""
    out, size = {}, 0
    for i in range(count):
        svg = make(arg, i)
        size += len(json.dumps(svg))
        if size > MAX_FILE - 64 * 1024:
            break
        out[f"f{i:03d}"] = svg
    return out


def parrot(bin_dir, step_ms=None):
    with open(os.path.join(bin_dir, "PEEDY.acs"), encoding="utf-8") as f:
        doc = json.load(f)
    if step_ms is not None:
        for steps in doc["animations"].values():
            for step in steps:
                step["ms"] = step_ms
    return doc


def worst_files(bin_dir):
    yield "our parrot as shipped (reference)", parrot(bin_dir)
    yield "our parrot with every step 1 ms", parrot(bin_dir, 1)
    n = fit(lambda k: full_frame_rects(0, k))
    yield f"up to 256 frames of {n} full-frame shapes, 8 MiB", character(frames(lambda a, i: full_frame_rects(i, a), n))
    n = fit(used_rects)
    yield f"256 frames, a full-frame rectangle used {n} times", character(frames(lambda a, i: used_rects(a), n))
    n = fit(long_path)
    yield f"256 frames, a crossing stroked path of {n} points", character(frames(lambda a, i: long_path(a), n))
    n = fit(big_text)
    yield f"256 frames, {n} glyphs of 400 px", character(frames(lambda a, i: big_text(a), n))


def vm_hwm_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def run_once(bin_dir, path, env, watch):
    with tempfile.TemporaryDirectory() as d:
        exe = os.path.join(d, "Tallyvox-Number")
        shutil.copy2(os.path.join(bin_dir, "Tallyvox-Number"), exe)
        shutil.copy2(path, os.path.join(d, "PEEDY.acs"))
        started = time.monotonic()
        proc = subprocess.Popen([exe], env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        try:
            wid = e2e.find_window(MAIN_TITLE, env, timeout=30)
            startup = time.monotonic() - started
            if not wid:
                return {"error": "no main window", "output": proc.stdout.read(2000) if proc.poll() is not None else ""}
            # The second half of the watch is idle animation: its CPU share is what a learner's machine pays.
            time.sleep(watch / 2)
            cpu0, t0 = cpu_seconds(proc.pid), time.monotonic()
            time.sleep(watch / 2)
            idle = (cpu_seconds(proc.pid) - cpu0) / (time.monotonic() - t0)
            return {"startup_s": round(startup, 3), "peak_rss_mb": round(vm_hwm_kib(proc.pid) / 1024, 1),
                    "idle_cpu_percent": round(100 * idle, 2)}
        finally:
            e2e.stop(proc)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--bin-dir", required=True)
    p.add_argument("--runs", type=int, default=3)
    p.add_argument("--watch", type=float, default=8.0)
    p.add_argument("--only", default="", help="run only the files whose description holds this text")
    args = p.parse_args()
    global CHECKER
    CHECKER = os.path.join(args.bin_dir, "tvx_pack_character")
    with e2e.Xvfb() as x, tempfile.TemporaryDirectory() as tmp:
        for name, doc in worst_files(args.bin_dir):
            if args.only not in name:
                continue
            path = os.path.join(tmp, "worst.acs")
            with open(path, "w") as f:
                json.dump(doc, f, separators=(",", ":"))
            size = os.path.getsize(path)
            runs = [run_once(args.bin_dir, path, x.env, args.watch) for _ in range(args.runs)]
            ok = [r for r in runs if "startup_s" in r]
            summary = {"file": name, "bytes": size, "runs": runs}
            if ok:
                summary["startup_s_max"] = max(r["startup_s"] for r in ok)
                summary["startup_s_median"] = statistics.median(r["startup_s"] for r in ok)
                summary["peak_rss_mb_max"] = max(r["peak_rss_mb"] for r in ok)
                summary["idle_cpu_percent_median"] = statistics.median(r["idle_cpu_percent"] for r in ok)
            print(json.dumps(summary), flush=True)


if __name__ == "__main__":
    main()
