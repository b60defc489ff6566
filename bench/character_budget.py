#!/usr/bin/env python3
"""Start-up time and peak memory of the real drill with the costliest character files it accepts.

    python3 bench/character_budget.py --bin-dir build-test/bin [--runs 3] [--watch 8]

For each file: the drill is copied into a fresh folder beside the file and started under a private
Xvfb; start-up is the time until the main window is mapped, peak RSS is VmHWM after the show
animation has run for --watch seconds (every frame drawn at least once). Prints one JSON line per run.
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


def full_frame_rects(i, budget_bytes):
    """Half-transparent rectangles over the whole frame, each in its own colour, until the bytes run out."""
    parts, size, k = [], 0, 0
    while True:
        r = (f'<rect width="{SIDE}" height="{SIDE}" fill="#{(i * 7 + k) % 256:02x}{k % 256:02x}80" '
             f'fill-opacity="0.5" transform="rotate({k % 360} 256 256)"/>')
        if size + len(r) > budget_bytes:
            break
        parts.append(r)
        size += len(r)
        k += 1
    return f'<svg {NS} width="{SIDE}" height="{SIDE}">' + "".join(parts) + "</svg>"


def used_rects(uses):
    """One full-frame rectangle drawn through <use> many times: little text, much drawing."""
    defs = f'<defs><rect id="r" width="{SIDE}" height="{SIDE}" fill="#c33" fill-opacity="0.3"/></defs>'
    body = "".join(f'<use xlink:href="#r" transform="rotate({k % 360} 256 256)"/>' for k in range(uses))
    return f'<svg {NS} width="{SIDE}" height="{SIDE}">{defs}{body}</svg>'


def long_path(points):
    d = "M0 0" + "".join(f"L{(k * 37) % SIDE} {(k * 91) % SIDE}" for k in range(points))
    return (f'<svg {NS} width="{SIDE}" height="{SIDE}"><path d="{d}" fill="#3a3" stroke="#000" '
            f'stroke-width="9" fill-rule="evenodd"/></svg>')


def worst_files():
    per_frame = (MAX_FILE - 64 * 1024) // MAX_FRAMES
    yield "256 frames of 512x512, 8 MiB of full-frame shapes", character(
        {f"f{i:03d}": full_frame_rects(i, per_frame) for i in range(MAX_FRAMES)})
    yield "256 frames, each a full-frame rectangle used at the cost limit", character(
        {f"f{i:03d}": used_rects(2400) for i in range(MAX_FRAMES)})
    yield "256 frames, each one long self-crossing path", character(
        {f"f{i:03d}": long_path(2600) for i in range(MAX_FRAMES)})
    yield "8 frames, each one self-crossing path at the cost limit", character(
        {f"f{i:03d}": long_path(33000) for i in range(8)})


def vm_hwm_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


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
            cpu0 = os.times()
            time.sleep(watch)
            with open(f"/proc/{proc.pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            cpu_s = (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
            return {"startup_s": round(startup, 3), "peak_rss_mb": round(vm_hwm_kib(proc.pid) / 1024, 1),
                    "cpu_s_total": round(cpu_s, 2)}
        finally:
            e2e.stop(proc)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--bin-dir", required=True)
    p.add_argument("--runs", type=int, default=3)
    p.add_argument("--watch", type=float, default=8.0)
    args = p.parse_args()
    with e2e.Xvfb() as x, tempfile.TemporaryDirectory() as tmp:
        for name, doc in worst_files():
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
            print(json.dumps(summary), flush=True)


if __name__ == "__main__":
    main()
