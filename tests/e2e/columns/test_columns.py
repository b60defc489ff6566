"""The two place-selection columns of the real drill window, clicked with the mouse as a learner would.

The range column widens to an unbroken run and ignores unticking a box inside it; a click in one column
clears the other and decides PlaceMode. A start button pressed with nothing ticked ticks the digit
boxes 一, 十 and 百. Box states come from the "boxes" trace lines, which read the real widgets."""

import os
import subprocess
import tempfile
import time

import tvx_e2e as e2e


CHECK1_X, CHECK2_X = 10290, 8955
BOX_H = 300
CHECK2_Y = dict(zip(range(15, 0, -1), [420, 795, 1170, 1530, 1905, 2280, 2655, 3030, 3390, 3765, 4155, 4515,
                                        4890, 5265, 5640]))
COMMAND7 = (285, 990, 2490, 525)


def check1_y(p):
    return 5640 if p == 1 else 450 + (15 - p) * 370


def places(bits):
    """The places ticked in a 15..1 bit string."""
    return {15 - i for i, b in enumerate(bits) if b == "1"}


class Drill(e2e.Drill):
    """The real binary with the place boxes found from their twips positions."""

    def __init__(self, args, env, tmp):
        super().__init__(args.bin_dir, env, tmp)
        # Without a window manager the character window may sit on top of the main one; keep ours above.
        e2e.xdotool("windowraise", self.wid, env=self.env, check=False)
        time.sleep(0.3)

    def pixel(self, tx, ty):
        return self.point(tx, ty)

    def box_point(self, column, p):
        # The indicator sits at the box's left edge, vertically centred.
        x = CHECK1_X if column == 1 else CHECK2_X
        y = check1_y(p) if column == 1 else CHECK2_Y[p]
        px, py = self.pixel(x, y + BOX_H / 2)
        return px + 7, py

    def lines(self, event):
        if not os.path.exists(self.trace):
            return []
        with open(self.trace, encoding="utf-8") as f:
            return [l.split()[2:] for l in f if len(l.split()) >= 2 and l.split()[1] == event]

    def click_box(self, column, p):
        """Clicks a box; returns (digit places, range places, PlaceMode) from the trace line it causes."""
        before = len(self.lines("boxes"))
        e2e.click_at(*self.box_point(column, p), env=self.env)
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            got = self.lines("boxes")
            if len(got) > before:
                assert len(got) == before + 1, f"one click gave {len(got) - before} boxes lines"
                d, r, mode = got[-1]
                return places(d), places(r), int(mode)
            time.sleep(0.05)
        raise AssertionError(f"no boxes line after clicking column {column} place {p}")

    def click_button(self, tx, ty, tw, th):
        e2e.click_at(*self.pixel(tx + tw / 2, ty + th / 2), env=self.env)

    def close(self):
        rc = super().close()
        assert rc == 0, f"exit code {rc} after closing; output:\n{self.output()}"

    def stop(self):
        e2e.stop(self.proc)


def check_columns(args, x, tmp):
    d = Drill(args, x.env, tmp)
    try:
        # Range column: the run widens to fill the places between, ignores unticking inside, shrinks at an end.
        steps = [
            ("tick 十", 2, 2, (set(), {2}, 2)),
            ("tick 万", 2, 5, (set(), {2, 3, 4, 5}, 2)),
            ("untick 百 inside the run", 2, 3, (set(), {2, 3, 4, 5}, 2)),
            ("untick 万 at the end", 2, 5, (set(), {2, 3, 4}, 2)),
            ("digit 千 clears the range column", 1, 4, ({4}, set(), 1)),
            ("range 一億 clears the digit column", 2, 9, (set(), {9}, 2)),
        ]
        for what, column, p, want in steps:
            got = d.click_box(column, p)
            assert got == want, f"{what}: digits {sorted(got[0])}, range {sorted(got[1])}, mode {got[2]}; " \
                                f"expected digits {sorted(want[0])}, range {sorted(want[1])}, mode {want[2]}"
        shots = os.path.join(args.test_dir, "screenshots")
        os.makedirs(shots, exist_ok=True)
        e2e.screenshot(os.path.join(shots, "columns.png"), x.env)
        d.close()
    finally:
        d.stop()


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    parts = data.split(maxsplit=4)
    assert parts[0] == b"P6", "unexpected image format"
    w, h = int(parts[1]), int(parts[2])
    return w, h, parts[4][-w * h * 3:]


def indicator(img, point, half=5):
    """The pixels of a small square centred on a box's indicator."""
    w, _, px = img
    x0, y0 = point
    return bytes(b for y in range(y0 - half, y0 + half + 1)
                 for b in px[(y * w + x0 - half) * 3:(y * w + x0 + half + 1) * 3])


def check_default_places(args, x, tmp):
    d = Drill(args, x.env, tmp)
    try:
        d.click_button(*COMMAND7)
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline and not d.lines("shown"):
            time.sleep(0.05)
        assert d.lines("click") == [["Command7"]], f"clicks traced: {d.lines('click')}"
        shown = d.lines("shown")
        assert shown, "英語だけ drew no number"
        assert 1 <= int(shown[0][0].replace(",", "")) <= 999, f"first number {shown[0][0]} is not of 1 to 3 digits"

        # The indicators of 一, 十, 百 look alike and differ from those of the unticked boxes.
        png = os.path.join(tmp, "default.png")
        ppm = os.path.join(tmp, "default.ppm")
        e2e.screenshot(png, x.env)
        subprocess.run(["convert", png, ppm], check=True, timeout=20)
        img = read_ppm(ppm)
        ticked = [indicator(img, d.box_point(1, p)) for p in (1, 2, 3)]
        unticked = [indicator(img, d.box_point(1, p)) for p in range(4, 16)]
        assert ticked[0] == ticked[1] == ticked[2], "the indicators of 一, 十, 百 differ"
        assert all(u == unticked[0] for u in unticked), "the unticked digit indicators differ"
        assert ticked[0] != unticked[0], "一, 十, 百 look unticked"

        # A learner click on 千 traces every box as it stands: 一, 十, 百 were ticked before it.
        assert d.click_box(1, 4) == ({1, 2, 3, 4}, set(), 1), "英語だけ did not tick exactly 一, 十, 百"
        d.close()
    finally:
        d.stop()


def main():
    args = e2e.parse_args()
    with e2e.Xvfb() as x, tempfile.TemporaryDirectory(prefix="tvx-columns-") as tmp:
        check_columns(args, x, tmp)
        check_default_places(args, x, tmp)


if __name__ == "__main__":
    e2e.run_main(main)
