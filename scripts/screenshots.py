#!/usr/bin/env python3
"""Takes the screenshots in docs/ from the real programs under a window manager (openbox in a private
Xvfb): the main window with its character, the "End Set" dialog, the About box and the installer's
consent box. Every shot is cropped to its window with the frame.

    python3 scripts/screenshots.py --bin-dir build-test/bin [--out docs]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
import tvx_e2e as e2e  # noqa: E402


def crop(shot, out, box, margin=0):
    x, y, w, h = box
    subprocess.run(["convert", shot, "-crop", f"{w + 2 * margin}x{h + 2 * margin}+{x - margin}+{y - margin}",
                    "+repage", out], check=True)
    print("wrote", out)


def union(a, b):
    x0, y0 = min(a[0], b[0]), min(a[1], b[1])
    x1, y1 = max(a[0] + a[2], b[0] + b[2]), max(a[1] + a[3], b[1] + b[3])
    return x0, y0, x1 - x0, y1 - y0


def shoot(env, tmp, name):
    path = os.path.join(tmp, name)
    e2e.screenshot(path, env)
    return path


def drill_shots(args, x, tmp):
    drill = e2e.Drill(args.bin_dir, x.env, tmp)
    try:
        peedy = e2e.find_window("peedy", x.env, timeout=5)
        time.sleep(1.5)  # the character's show animation
        # A number on the display, then stop the drill again so that the shot is quiet.
        e2e.click_at(*drill.centre(2970, 990, 2490, 525), x.env)  # 日本語だけ
        time.sleep(1.0)
        main = e2e.outer_geometry(drill.wid, x.env)
        box = union(main, e2e.absolute_geometry(peedy, x.env)) if peedy else main
        crop(shoot(x.env, tmp, "main.png"), os.path.join(args.out, "main-window.png"), box)

        e2e.click_at(*drill.centre(5730, 330, 2490, 525), x.env)  # シャットダウン指定
        dialog = e2e.find_window("End Set", x.env, timeout=5)
        assert dialog, "the End Set dialog did not open"
        time.sleep(0.5)
        dx, dy, _, _ = e2e.absolute_geometry(dialog, x.env)
        # Row 4 raised to 32000 shows the widest value a box holds.
        e2e.click_at(dx + 405 // 15 + 20, dy + 1935 // 15 + 14, x.env)
        up = (dx + 150 // 15 + 8, dy + 1935 // 15 + 6)
        for _ in range(50):
            e2e.click_at(*up, x.env)
        time.sleep(0.3)
        crop(shoot(x.env, tmp, "endset.png"), os.path.join(args.out, "end-set.png"), e2e.outer_geometry(dialog, x.env))
        e2e.click_at(dx + (2685 + 1695 // 2) // 15, dy + (2565 + 210) // 15, x.env)  # 中止
        time.sleep(0.5)

        mx, my, _, _ = e2e.absolute_geometry(drill.wid, x.env)
        e2e.click_at(mx + 30, my + 10, x.env)  # ◆ Copyright
        about = e2e.find_window("Tallyvox-Number", x.env, timeout=5)
        assert about, "the About box did not open"
        time.sleep(0.5)
        crop(shoot(x.env, tmp, "about.png"), os.path.join(args.out, "about-box.png"), e2e.outer_geometry(about, x.env))
        e2e.xdotool("key", "--window", about, "Return", env=x.env, check=False)
        time.sleep(0.3)
    finally:
        drill.close()
        e2e.stop(drill.proc)


def consent_shot(args, x, tmp):
    folder = os.path.join(tmp, "installer")
    os.makedirs(folder, exist_ok=True)
    exe = os.path.join(folder, "TallyvoxNumberInstall")
    shutil.copy2(os.path.join(args.bin_dir, "TallyvoxNumberInstall"), exe)
    proc = subprocess.Popen([exe], env=x.env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    try:
        box = e2e.find_window("TallyvoxNumberInstall", x.env, timeout=20)
        names = [e2e.window_name(w, x.env) for w in e2e.xdotool("search", "--name", ".*", env=x.env, check=False).split()]
        assert box, f"the consent box did not open: {[n for n in names if n]}"
        time.sleep(0.5)
        crop(shoot(x.env, tmp, "consent.png"), os.path.join(args.out, "consent-box.png"), e2e.outer_geometry(box, x.env))
        e2e.xdotool("key", "--window", box, "Escape", env=x.env, check=False)  # いいえ: nothing is run
        e2e.wait_exit(proc, 5)
    finally:
        e2e.stop(proc)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--bin-dir", required=True)
    p.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "docs"))
    args = p.parse_args()
    args.bin_dir = os.path.abspath(args.bin_dir)
    args.out = os.path.abspath(args.out)
    os.makedirs(args.out, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp, e2e.Xvfb() as x, e2e.WindowManager(x.env):
        drill_shots(args, x, tmp)
        consent_shot(args, x, tmp)


if __name__ == "__main__":
    main()
