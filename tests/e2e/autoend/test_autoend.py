"""The auto-end in the real drill under a private X server, quit modes only.

A cancelled run: "シャットダウン指定" opens "End Set", the second row's box shows "2" when clicked,
"実行" arms a two-minute quit, and the main window's "中止" restores Label4 and Command6 (the dialog
opens again). An armed run: the same arming, then the program ends on its own with 0 a little after
120 s. Captions and states come from the auto-end trace file (its lines in TVX_TRACE_FILE), positions too.
"""

import os
import subprocess
import tempfile
import time

import tvx_e2e as e2e

TITLE = "タリボックス-数字（Ｔａｌｌｙｖｏｘ－Ｎｕｍｂｅｒ）"
DIALOG = "End Set"
ARMED_CAPTION = "Command9 caption あと 2.0 分でTallyvox-Number終了"


class Trace:
    def __init__(self, path):
        self.path = path

    def lines(self):
        return e2e.autoend_lines(self.path)

    def wait_for(self, line, timeout=10.0, after=0):
        deadline = time.monotonic() + timeout
        while True:
            got = self.lines()
            if line in got[after:]:
                return got.index(line, after)
            if time.monotonic() >= deadline:
                raise AssertionError(f"trace never showed {line!r}; it holds:\n" + "\n".join(got))
            time.sleep(0.1)

    def geometry(self, name):
        for line in reversed(self.lines()):
            parts = line.split()
            if len(parts) == 6 and parts[0] == "geometry" and parts[1] == name:
                x, y, w, h = map(int, parts[2:])
                return x, y, w, h
        raise AssertionError(f"no geometry for {name} in the trace (objectName set?)")

    def click(self, name, env):
        x, y, w, h = self.geometry(name)
        e2e.click_at(x + w // 2, y + h // 2, env)


def start(args, env, trace_path):
    env = dict(env)
    env["TVX_TRACE_FILE"] = trace_path
    exe = os.path.join(args.bin_dir, "Tallyvox-Number")
    if not os.path.exists(exe):
        raise e2e.Skip(f"{exe} is not built")
    proc = subprocess.Popen([exe], env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    trace = Trace(trace_path)
    main = e2e.find_window(TITLE, env, timeout=20)
    assert main, "the main window never appeared"
    trace.wait_for("window shown", timeout=10)
    return proc, trace, main


def open_dialog(trace, env):
    mark = len(trace.lines())
    trace.click("Command6", env)
    trace.wait_for("dialog shown", after=mark)
    assert e2e.find_window(DIALOG, env, timeout=5), "the End Set dialog is not mapped"


def arm_two_minute_quit(trace, env, shots_dir=None):
    open_dialog(trace, env)
    mark = len(trace.lines())
    trace.click("Text12", env)
    trace.wait_for("Text12 text 2", after=mark)
    if shots_dir:
        e2e.screenshot(os.path.join(shots_dir, "autoend_dialog.png"), env)
    trace.click("Command11", env)
    trace.wait_for("dialog closed", after=mark)
    lines = trace.lines()[mark:]
    # The arming steps in their order, the first caption shown at once.
    want = ["Command6 enabled 0", "Label4 visible 0", "Frame1 visible 1", ARMED_CAPTION, "armed MEnd 2",
            "dialog closed"]
    got = [line for line in lines if line in want]
    assert got == want, "arming trace:\n" + "\n".join(lines)
    return time.monotonic()


def assert_dialog_stays_shut(trace, env):
    mark = len(trace.lines())
    trace.click("Command6", env)
    time.sleep(1.5)
    assert "dialog shown" not in trace.lines()[mark:], "Command6 opened the dialog while armed"
    assert e2e.find_window(DIALOG, env, timeout=0) is None


def cancelled_run(args, x, workdir):
    proc, trace, main = start(args, x.env, os.path.join(workdir, "cancel.trace"))
    try:
        shots = os.path.join(args.test_dir, "screenshots")
        os.makedirs(shots, exist_ok=True)
        arm_two_minute_quit(trace, x.env, shots)
        assert_dialog_stays_shut(trace, x.env)
        mark = len(trace.lines())
        trace.click("Command10", x.env)
        for line in ("Frame1 visible 0", "Label4 visible 1", "Command6 enabled 1"):
            trace.wait_for(line, after=mark)
        # Command6 works again: the dialog opens, empty, and "中止" closes it.
        open_dialog(trace, x.env)
        mark = len(trace.lines())
        trace.click("Command12", x.env)
        trace.wait_for("dialog closed", after=mark)
        assert proc.poll() is None, "the program ended although the auto-end was cancelled"
        e2e.close_window(main, x.env)
        rc = e2e.wait_exit(proc, 10)
        assert rc == 0, f"exit code {rc} after closing"
    finally:
        e2e.stop(proc)


def armed_run(args, x, workdir):
    proc, trace, _ = start(args, x.env, os.path.join(workdir, "quit.trace"))
    try:
        armed_at = arm_two_minute_quit(trace, x.env)
        assert_dialog_stays_shut(trace, x.env)
        shots = os.path.join(args.test_dir, "screenshots")
        os.makedirs(shots, exist_ok=True)
        e2e.screenshot(os.path.join(shots, "autoend_armed.png"), x.env)
        rc = e2e.wait_exit(proc, 150)
        took = time.monotonic() - armed_at
        out = proc.stdout.read() if rc is not None else ""
        assert rc == 0, f"exit code {rc} after {took:.1f} s; output:\n{out}"
        # Fires at the first tick past 120 whole seconds of the wall clock.
        assert 119.0 <= took <= 125.0, f"ended {took:.1f} s after arming"
        lines = trace.lines()
        assert "Command9 caption あと 0.0 分でTallyvox-Number終了" in lines, "\n".join(lines)
        assert lines.count("quit") >= 1, "\n".join(lines)
        print(f"ended {took:.1f} s after arming")
    finally:
        e2e.stop(proc)


def main():
    args = e2e.parse_args()
    with tempfile.TemporaryDirectory(prefix="tvx-autoend-") as workdir, e2e.Xvfb() as x:
        cancelled_run(args, x, workdir)
        armed_run(args, x, workdir)


if __name__ == "__main__":
    e2e.run_main(main)
