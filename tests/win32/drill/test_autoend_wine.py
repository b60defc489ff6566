"""The auto-end of the real Tallyvox-Number.exe under Wine: シャットダウン指定 opens the modal "End Set"
dialog over the main window; clicks, typing and the arrows rewrite its rows; 中止 closes it and arms
nothing; a count row quits the program after that many numbers while the countdown shows on Frame1;
中止 on the main window disarms a minute row. The shutdown row runs on a build whose shutdown calls are
recorders, so nothing here can ever ask Wine or the machine to go down."""

import argparse
import os
import re
import time

import tvx_e2e
import tvx_wine
from drill_wine import TITLE, Drill

# Main window controls.
COMMAND6, COMMAND7, COMMAND9, COMMAND10, FRAME1, LABEL4 = 106, 107, 109, 110, 113, 116
CHECK1 = 200  # + place index
# Dialog controls: the row is added to the arrows', boxes' and labels' ids.
COMMAND11, COMMAND12, UPDOWN, TEXT, LABEL = 311, 312, 320, 330, 340
LABELS = ["分後にシャットダウンする。", "分後にTallyvox-Numberを終了する。", "個でシャットダウンする。",
          "個でTallyvox-Numberを終了する。"]
TWIPS_PER_PIXEL = 15  # Wine at 96 dpi
RECORDER = "tvx_drill_power_recorder.exe"  # built beside the test helpers


def control(w, id):
    for c in w["children"]:
        if c["id"] == id:
            return c
    raise AssertionError(f"no control {id} in {w['text']}")


def wait_for(what, get, want, timeout=15):
    deadline = time.monotonic() + timeout
    while True:
        have = get()
        if have == want:
            return
        assert time.monotonic() < deadline, f"{what}: {have!r}, expected {want!r}"
        time.sleep(0.2)


class Main:
    """The running drill's main window and its End Set dialog, read back through tvx_window_text."""

    def __init__(self, drill):
        self.d = drill
        self.w = drill.window()
        assert self.w, f"no main window (exit code {drill.proc.poll()})"

    def now(self):
        w = self.d.reader.find(TITLE, timeout=20, pred=lambda x: x["pid"] == self.w["pid"])
        assert w, "the main window is gone"
        return w

    def state(self):
        """What the auto-end shows or hides on the main window."""
        w = self.now()
        return {"Command6": control(w, COMMAND6)["enabled"], "Frame1": control(w, FRAME1)["visible"],
                "Command9": control(w, COMMAND9)["visible"], "Command10": control(w, COMMAND10)["visible"],
                "Label4": control(w, LABEL4)["visible"], "main enabled": w["enabled"]}

    def click(self, id):
        tvx_wine.click_control(control(self.now(), id), self.d.s.xenv)

    def open_dialog(self):
        self.click(COMMAND6)
        dialog = self.d.reader.find("End Set", timeout=20, pred=lambda x: x["pid"] == self.w["pid"])
        assert dialog, "シャットダウン指定 opened no End Set dialog"
        return Dialog(self, dialog)


class Dialog:
    def __init__(self, main, w):
        self.main, self.w = main, w

    def now(self):
        # Generous: a busy program answers the helper's text query late, and its title then reads empty.
        w = self.main.d.reader.find("End Set", timeout=20, pred=lambda x: x["hwnd"] == self.w["hwnd"])
        assert w, "the dialog is gone"
        return w

    def texts(self):
        w = self.now()
        return [control(w, TEXT + row)["text"] for row in range(1, 5)]

    def act(self, action, row):
        env = self.main.d.s.xenv
        if action == "click":
            tvx_wine.click_control(control(self.w, TEXT + row), env)
        elif action == "type":
            tvx_wine.click_control(control(self.w, TEXT + row), env)
            time.sleep(0.3)
            tvx_e2e.xdotool("type", "--delay", "40", "7x-", env=env)
            tvx_e2e.xdotool("key", "BackSpace", "Delete", "ctrl+v", env=env)
        else:
            l, t, r, b = control(self.w, UPDOWN + row)["rect"]
            y = t + (b - t) // 4 if action == "up" else b - 1 - (b - t) // 4
            tvx_e2e.click_at((l + r) // 2, y, env)

    def press(self, id):
        tvx_wine.click_control(control(self.now(), id), self.main.d.s.xenv)
        self.main.d.reader.wait_gone(self.w["hwnd"])


# (action, row, the four boxes afterwards): one opening, in order. The core's own tests cover every
# stepping rule; these show that clicks, keys and both arrows of each kind of row reach it.
STEPS = [
    ("click", 2, ["", "2", "", ""]),
    ("type", 2, ["", "2", "", ""]),   # typed characters, deleting and pasting change nothing
    ("up", 2, ["", "5", "", ""]),     # a value below the minimum comes up to it
    ("up", 2, ["", "10", "", ""]),
    ("down", 2, ["", "5", "", ""]),
    ("down", 2, ["", "5", "", ""]),   # floor 5
    ("up", 3, ["", "", "50", ""]),    # another row's arrows empty this one
    ("down", 3, ["", "", "50", ""]),  # floor 50
    ("click", 1, ["2", "", "", ""]),
    ("click", 4, ["", "", "", "5"]),
    ("up", 4, ["", "", "", "50"]),
]


def check_dialog(m, screenshots):
    before = m.state()
    assert before == {"Command6": True, "Frame1": False, "Command9": False, "Command10": False, "Label4": True,
                      "main enabled": True}, before
    dlg = m.open_dialog()
    w = dlg.w
    assert w["owner"] == m.w["hwnd"], f"dialog owner {w['owner']}, main window {m.w['hwnd']}"
    assert not m.now()["enabled"], "the main window stays enabled under the modal dialog"
    assert w["client"] == [5475 // TWIPS_PER_PIXEL, 3135 // TWIPS_PER_PIXEL], f"client area {w['client']}"
    assert w["rect"][:2] == [7, 7], f"dialog at {w['rect'][:2]}, 100 twips is 7 pixels"
    assert [control(w, LABEL + r)["text"] for r in range(1, 5)] == LABELS
    assert control(w, COMMAND11)["text"] == "実行" and control(w, COMMAND12)["text"] == "中止"
    assert dlg.texts() == ["", "", "", ""], f"boxes at opening {dlg.texts()}"
    for action, row, want in STEPS:
        unchanged = dlg.texts() == want
        dlg.act(action, row)
        if unchanged:
            time.sleep(1)  # nothing to wait for: let the keys or clicks arrive first
        wait_for(f"{action} on row {row}", dlg.texts, want)
    if screenshots:
        time.sleep(0.5)
        tvx_wine.screenshot_window(dlg.now(), os.path.join(screenshots, "win32-end-set.png"), m.d.s.xenv)
    # 中止 with row 4 chosen: closes, arms nothing, leaves the main window as it was.
    dlg.press(COMMAND12)
    time.sleep(1.2)  # two ticks of ejTimer2, had it been started
    assert m.state() == before, f"after 中止: {m.state()}"
    # 実行 with every box empty closes the dialog and arms nothing either.
    m.open_dialog().press(COMMAND11)
    time.sleep(1.2)
    assert m.state() == before, f"after 実行 with no row: {m.state()}"
    # Closed by its frame with a row chosen: neither handler runs.
    dlg = m.open_dialog()
    dlg.act("click", 2)
    wait_for("row 2", dlg.texts, ["", "2", "", ""])
    wid = tvx_e2e.find_window("End Set", m.d.s.xenv, timeout=10)
    assert wid, "no X window for the dialog"
    tvx_e2e.close_window(wid, m.d.s.xenv)
    m.d.reader.wait_gone(dlg.w["hwnd"])
    time.sleep(1.2)
    assert m.state() == before, f"after closing the dialog by its frame: {m.state()}"
    # The next opening starts afresh.
    dlg = m.open_dialog()
    assert dlg.texts() == ["", "", "", ""], f"boxes at a later opening {dlg.texts()}"
    return dlg


def minute_row_cancelled(m, dlg, screenshots):
    """Row 2 at 5 minutes: the countdown shows at once; 中止 on Frame1 disarms and restores the window."""
    for action in ("click", "up"):
        dlg.act(action, 2)
    wait_for("row 2", dlg.texts, ["", "5", "", ""])
    dlg.press(COMMAND11)
    armed = m.state()
    assert armed == {"Command6": False, "Frame1": True, "Command9": True, "Command10": True, "Label4": False,
                     "main enabled": True}, armed
    caption = control(m.now(), COMMAND9)["text"]
    # 5.0 at once; a slow reading may already see a tick 6 s later.
    assert re.fullmatch(r"あと (5\.0|4\.\d) 分でTallyvox-Number終了", caption), caption
    if screenshots:
        time.sleep(0.5)
        tvx_wine.screenshot_window(m.now(), os.path.join(screenshots, "win32-countdown.png"), m.d.s.xenv)
    m.click(COMMAND10)
    wait_for("after 中止 on Frame1", m.state, {"Command6": True, "Frame1": False, "Command9": False,
                                               "Command10": False, "Label4": True, "main enabled": True})


def count_row(m, row, ending):
    """Arms a count row at 5 (the click's start value) and runs 英語だけ on single digits."""
    dlg = m.open_dialog()
    dlg.act("click", row)
    wait_for(f"row {row}", dlg.texts, ["5" if r == row else "" for r in range(1, 5)])
    dlg.press(COMMAND11)
    assert control(m.now(), COMMAND9)["text"] == f"あと 5 {ending}", control(m.now(), COMMAND9)["text"]
    m.click(CHECK1 + 1)
    wait_for("place 一 ticked", lambda: control(m.now(), CHECK1 + 1)["checked"], True)
    m.click(COMMAND7)


def speaks(d):
    return [r[0] for r in d.readings()]


def shutdown_row(s, reader, args, request):
    rec = argparse.Namespace(exe=args.recorder, character=args.character)
    power_log = os.path.join(args.test_dir, "power-calls.log")
    if os.path.exists(power_log):
        os.remove(power_log)
    s.env["TVX_POWER_LOG"] = s.prefix.windows_path(power_log)
    d = Drill(s, reader, rec)
    try:
        m = Main(d)
        count_row(m, 3, "個でシャットダウン")
        deadline = time.monotonic() + 90
        while not os.path.exists(power_log) or open(power_log).read().count("ExitWindowsEx") < 3:
            assert time.monotonic() < deadline, f"no shutdown request after {len(speaks(d))} numbers"
            assert d.proc.poll() is None, f"the drill ended ({d.proc.poll()}) instead of shutting down"
            time.sleep(0.3)
        lines = [line.split(" ", 1) for line in open(power_log).read().splitlines()]
        before = len([t for t in speaks(d) if t < float(lines[0][0])])
        assert before == 6, f"shutdown asked for after {before} numbers"
        calls = [c for _, c in lines]
        n = calls.count(request[-1])
        assert n >= 3 and calls[:len(request) * n] == request * n, f"shutdown calls {calls}"
        caption = control(m.now(), COMMAND9)["text"]
        assert caption.startswith("あと -") and caption.endswith(" 個でシャットダウン"), caption
        assert os.path.exists(d.marker), "the recording build left no proof that it ran"
    finally:
        s.env.pop("TVX_POWER_LOG", None)
        d.close()


def main():
    args = tvx_wine.drill_test_args(RECORDER)
    args.recorder = args.helpers[RECORDER]
    with tvx_wine.Session(args.prefix) as s:
        reader = tvx_wine.WindowReader(s, args.helpers["tvx_window_text.exe"])
        tvx_wine.prepare_drill_session(s, args.helpers["tvx_fake_spvoice.dll"])

        d = Drill(s, reader, args)
        try:
            m = Main(d)
            dlg = check_dialog(m, args.screenshots)
            minute_row_cancelled(m, dlg, args.screenshots)
            # Row 4 at 5 numbers: the program quits at the tick after the sixth number is first read.
            count_row(m, 4, "個でTallyvox-Number終了")
            code = tvx_e2e.wait_exit(d.proc, 90)
            assert code == 0, f"row 4 at 5 numbers: exit code {code}, {len(speaks(d))} numbers read"
            assert len(speaks(d)) == 6, f"row 4 at 5 numbers: the program quit after {len(speaks(d))} numbers"
            assert os.path.exists(d.marker), "the drill left no proof that it ran"
        finally:
            d.close()

        # Row 3 on the recording build: after the sixth number the shutdown is asked for at every tick.
        # Wine keeps no ProductName where the old editions kept theirs, so its tag is "Else": the right
        # to shut down is acquired before each forced power-off. The other tags' calls are
        # ShutdownWindowsWinTest's, the tag from ProductName EditionLookupWinTest's.
        forced = ["GetCurrentProcess", "OpenProcessToken process 40",
                  "LookupPrivilegeValueA (local) SeShutdownPrivilege", "AdjustTokenPrivileges token 0 1 19 2 16",
                  "CloseHandle token", "ExitWindowsEx 12 0"]
        shutdown_row(s, reader, args, forced)


if __name__ == "__main__":
    tvx_e2e.run_main(main)
