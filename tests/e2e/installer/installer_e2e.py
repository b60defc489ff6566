"""The real TallyvoxNumberInstall, copied beside shell-script installers, under a private X server."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import tvx_e2e  # noqa: E402

TITLE = "TallyvoxNumberInstall"
XP_CHAIN = ["Tallyvox-Number.msi", "tv_enua.exe", "spchapi.exe", "Agtx0411.exe", "lhttsjpj.exe"]

FORM1_PROBE = "xdotool search --onlyvisible --name '^Form1$' >/dev/null 2>&1"

# Each installer logs its start and end, and whether Form1 was mapped while it ran.
SCRIPT = """#!/bin/sh
n=$(basename "$0")
echo "start $n" >> "{log}"
if """ + FORM1_PROBE + """; then echo "Form1 visible" >> "{log}"; fi
sleep 0.2
echo "end $n" >> "{log}"
exit {code}
"""


def sequential(names):
    return [line for n in names for line in (f"start {n}", f"end {n}")]


class Setup:
    def __init__(self, bin_dir, installers):
        self.dir = tempfile.mkdtemp(prefix="tvx-install-")
        self.log = os.path.join(self.dir, "install.log")
        self.exe = os.path.join(self.dir, TITLE)
        shutil.copy2(os.path.join(bin_dir, TITLE), self.exe)
        for i, name in enumerate(installers):
            path = os.path.join(self.dir, name)
            with open(path, "w") as f:
                f.write(SCRIPT.format(log=self.log, code=3 if i == 1 else 0))  # one fails: still finished
            os.chmod(path, 0o755)

    def lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [line for line in f.read().splitlines() if line]

    def start(self, env):
        # Started from elsewhere: the installers are found beside the program, not in the current directory.
        return subprocess.Popen([self.exe], cwd="/", env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    def cleanup(self):
        shutil.rmtree(self.dir, ignore_errors=True)


def wait_gone(wid, env, timeout=10):
    deadline = time.monotonic() + timeout
    while wid in tvx_e2e.visible_windows(env):
        assert time.monotonic() < deadline, "the message box stayed after its answer"
        time.sleep(0.1)


def answer(env, key, what):
    """Presses key on the launcher's message box once it is mapped and waits for the box to go."""
    wid = tvx_e2e.find_window(TITLE, env, timeout=30)
    if not wid:
        names = {w: tvx_e2e.window_name(w, env) for w in tvx_e2e.visible_windows(env)}
        raise AssertionError(f"no {what} box appeared; visible windows: {names}")
    tvx_e2e.press(wid, key, env)
    wait_gone(wid, env)
    return wid


def finish(proc, what, timeout=30):
    rc = tvx_e2e.wait_exit(proc, timeout)
    if rc is None:
        tvx_e2e.stop(proc)
        raise AssertionError(f"{what}: the launcher did not end")
    return rc


def yes_runs_the_xp_chain(args, env):
    s = Setup(args.bin_dir, XP_CHAIN)
    try:
        proc = s.start(env)
        answer(env, "y", "consent")
        rc = finish(proc, "yes")
        assert rc == 0, f"yes: exit code {rc}"
        assert s.lines() == sequential(XP_CHAIN), f"yes: log {s.lines()}"
    finally:
        s.cleanup()


def no_runs_nothing(args, env):
    s = Setup(args.bin_dir, XP_CHAIN)
    try:
        proc = s.start(env)
        answer(env, "n", "consent")
        rc = finish(proc, "no", timeout=10)
        assert rc == 0, f"no: exit code {rc}"
        assert s.lines() == [], f"no: log {s.lines()}"
    finally:
        s.cleanup()


def missing_engine_shows_error_then_form1(args, env):
    s = Setup(args.bin_dir, [n for n in XP_CHAIN if n != "tv_enua.exe"])
    try:
        proc = s.start(env)
        answer(env, "y", "consent")
        # The next box with the same title is the launch error; the package ran before it.
        answer(env, "Return", "error")
        assert s.lines() == sequential(["Tallyvox-Number.msi"]), f"error: log {s.lines()}"
        form = tvx_e2e.find_window("Form1", env, timeout=10)
        assert form, "the empty Form1 window did not appear after the error"
        _, _, w, h = tvx_e2e.window_geometry(form, env)
        assert (w, h) == (312, 213), f"Form1 is {w}x{h}"
        # The installers' probe does see a mapped Form1, so its silence in the other runs means something.
        assert subprocess.run(["sh", "-c", FORM1_PROBE], env=env).returncode == 0, "the Form1 probe is blind"
        assert proc.poll() is None, "the launcher ended while Form1 was open"
        tvx_e2e.close_window(form, env)
        rc = finish(proc, "error", timeout=10)
        assert rc == 0, f"error: exit code {rc}"
        assert s.lines() == sequential(["Tallyvox-Number.msi"]), f"error: log {s.lines()}"
    finally:
        s.cleanup()


def main():
    args = tvx_e2e.parse_args()
    if not os.path.exists(os.path.join(args.bin_dir, TITLE)):
        raise AssertionError(f"{TITLE} is not built in {args.bin_dir}")
    if not shutil.which("xdotool"):
        raise tvx_e2e.Skip("xdotool is not installed")
    with tvx_e2e.Xvfb() as x:
        yes_runs_the_xp_chain(args, x.env)
        no_runs_nothing(args, x.env)
        missing_engine_shows_error_then_form1(args, x.env)


if __name__ == "__main__":
    tvx_e2e.run_main(main)
