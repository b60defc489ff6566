"""Starts the real drill under a private X server, bare and then under a window manager: the main
window appears centred by its outer size, the character stands at the window's lower-left corner, and
closing the window ends the program with 0. Without the character file the program exits non-zero and
never maps the main window."""

import os
import shutil
import subprocess
import tempfile
import time

import tvx_e2e as e2e

TITLE = e2e.MAIN_TITLE


def start(exe, env, **kw):
    return subprocess.Popen([exe], env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)


def check_normal_start(args, x, framed=False):
    exe = os.path.join(args.bin_dir, "Tallyvox-Number")
    began = time.monotonic()
    proc = start(exe, x.env)
    try:
        main = e2e.find_window(TITLE, x.env, timeout=15)
        assert main, "the main window never appeared"
        print(f"main window after {time.monotonic() - began:.3f} s")
        peedy = e2e.find_window("peedy", x.env, timeout=5)
        assert peedy, "the character window never appeared"
        time.sleep(0.5)
        mx, my, mw, mh = e2e.outer_geometry(main, x.env)
        if framed:
            assert e2e.frame_extents(main, x.env)[2] > 0, "the window manager drew no title bar"
        sw, sh = x.size
        # Centred on the screen by the outer size (whole pixels either way).
        assert abs((sw - mw) / 2 - mx) <= 1 and abs((sh - mh) / 2 - my) <= 1, (mx, my, mw, mh)
        want = e2e.expected_character_position((mx, my, mw, mh))
        cx, cy, _, _ = e2e.absolute_geometry(peedy, x.env)
        tolerance = 1 if framed else 0
        assert abs(cx - want[0]) <= tolerance and abs(cy - want[1]) <= tolerance, \
            f"character at {(cx, cy)}, expected {want}"
        shots = os.path.join(args.test_dir, "screenshots")
        os.makedirs(shots, exist_ok=True)
        e2e.screenshot(os.path.join(shots, "startup-framed.png" if framed else "startup.png"), x.env)
        e2e.close_window(main, x.env)
        rc = e2e.wait_exit(proc, 5)
        assert rc == 0, f"exit code {rc} after closing; output:\n{proc.stdout.read() if rc is not None else ''}"
    finally:
        e2e.stop(proc)


def check_missing_character(args, x):
    with tempfile.TemporaryDirectory() as d:
        exe = os.path.join(d, "Tallyvox-Number")
        shutil.copy2(os.path.join(args.bin_dir, "Tallyvox-Number"), exe)
        proc = start(exe, x.env)
        try:
            # The error box is the only thing shown; the main window must never map.
            deadline = time.monotonic() + 8
            while time.monotonic() < deadline and proc.poll() is None:
                assert e2e.find_window(TITLE, x.env, timeout=0) is None, "main window mapped without a character"
                wins = [w for w in e2e.visible_windows(x.env) if e2e.window_name(w, x.env) == "Tallyvox-Number"]
                if wins:
                    e2e.press(wins[0], "Return", x.env)
                time.sleep(0.2)
            rc = e2e.wait_exit(proc, 5)
            out = proc.stdout.read() if rc is not None else ""
            assert rc not in (None, 0), f"exit code {rc}"
            assert "PEEDY.acs" in out, f"the error does not name the character file: {out!r}"
        finally:
            e2e.stop(proc)


def main():
    args = e2e.parse_args()
    with e2e.Xvfb() as x:
        check_normal_start(args, x)
        check_missing_character(args, x)
        with e2e.WindowManager(x.env):
            check_normal_start(args, x, framed=True)


if __name__ == "__main__":
    e2e.run_main(main)
