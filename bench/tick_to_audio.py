"""Tick to first audio of every reading of the real drill, per mode, and the program's CPU share.

Runs Tallyvox-Number under a private Xvfb and PulseAudio null sink (tests/support/tvx_e2e.py), presses
each start button in turn and lets it drill for a while. The speech library's audio trace
(in TVX_TRACE_FILE) stamps "speak" when a reading is handed over on its timer tick, "first-audio" when its
first samples reach the device and "finished" when it ends; requests play strictly in order, so each
speak pairs with the first first-audio at or after it that the reading before did not take. A reading whose tick comes while the previous one still
plays is counted as queued (an overrun) and left out of the latency figures.

    PYTHONPATH=tests/support python3 bench/tick_to_audio.py --bin-dir build-test/bin \
        --test-dir build-test/tests [--seconds 90] [--busy] [--first15 5]

--busy runs two `yes > /dev/null` for the whole measurement (both cores busy); --first15 N also times
the first Japanese reading after pressing "日本語だけ" with places 1 to 15 ticked (15-digit numbers),
N times; --only-first skips the modes.
"""

import contextlib
import os
import statistics
import subprocess
import tempfile
import time

import tvx_e2e as e2e

BUTTONS = {"Command4": (270, 315, 2490, 525), "Command5": (3000, 315, 2490, 525),
           "Command7": (285, 990, 2490, 525), "Command8": (2970, 990, 2490, 525)}
CHECK1_X, BOX_H = 10290, 300  # the range column: places 1 and 15 ticked give 15-digit numbers


def check1_y(p):
    return 5640 if p == 1 else 450 + (15 - p) * 370


def read(path):
    out = []
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                w = line.split()
                if len(w) >= 2 and w[0].isdigit():
                    out.append((int(w[0]) / 1000.0, w[1], w[2] if len(w) > 2 else ""))
    return out


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return sum(int(x) for x in fields[11:15]) / os.sysconf("SC_CLK_TCK")


def pct(vals, p):
    vals = sorted(vals)
    return vals[min(len(vals) - 1, int(round(p / 100 * (len(vals) - 1))))]


def readings(audio, since, until):
    """(language, tick, first audio or None, queued) of every reading spoken in [since, until)."""
    ev = read(audio)
    speaks = [(t, d) for t, e, d in ev if e == "speak"]
    firsts = [t for t, e, _ in ev if e == "first-audio"]
    ends = [t for t, e, _ in ev if e == "finished"]
    out = []
    f = 0
    for k, (t, lang) in enumerate(speaks):
        # Requests play in order: a reading's first audio is the first one not before its tick and
        # not taken by the reading before it.
        while f < len(firsts) and firsts[f] < t:
            f += 1
        first = firsts[f] if f < len(firsts) else None
        f += 1
        if not since <= t < until:
            continue
        queued = k > 0 and (k - 1 >= len(ends) or ends[k - 1] > t)
        out.append((lang, t, first, queued))
    return out


def click(drill, button):
    """Clicks a start button; returns the drill's own stamp of the click."""
    before = len([e for e in read(drill.trace) if e[1] == "click"])
    e2e.click_at(*drill.centre(*BUTTONS[button]), env=drill.env)
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        clicks = [e for e in read(drill.trace) if e[1] == "click"]
        if len(clicks) > before:
            return clicks[-1][0]
        time.sleep(0.02)
    raise AssertionError(f"the drill did not see the click on {button}")


@contextlib.contextmanager
def traced_drill(args, env, tmp, name):
    """A raised drill window whose audio trace starts empty; yields (drill, trace path)."""
    drill = e2e.Drill(args.bin_dir, env, tmp)
    audio = drill.trace
    try:
        e2e.xdotool("windowraise", drill.wid, env=drill.env, check=False)
        time.sleep(0.5)
        yield drill, audio
        drill.close()
    finally:
        e2e.stop(drill.proc)


def drill_modes(args, env, tmp):
    with traced_drill(args, env, tmp, "audio.txt") as (drill, audio):
        cpu0, wall0 = cpu_seconds(drill.proc.pid), time.monotonic()
        for button in ("Command4", "Command5", "Command7", "Command8"):
            at = click(drill, button)
            time.sleep(args.seconds)
            rows = readings(audio, at, time.time())
            first, rest = rows[:1], rows[1:]
            lat = [(f - t) * 1000 for _, t, f, q in rest if f is not None and not q]
            queued = sum(1 for r in rest if r[3])
            line = f"{button}: {len(rest)} readings after the first, {queued} queued behind an overrun"
            if lat:
                line += (f"; tick -> first sample ms median {statistics.median(lat):.0f} p95 {pct(lat, 95):.0f} "
                         f"max {max(lat):.0f}")
                for lang in ("en", "ja"):
                    l2 = [(f - t) * 1000 for g, t, f, q in rest if g == lang and f is not None and not q]
                    if l2 and button in ("Command4", "Command5"):
                        line += f"; {lang} median {statistics.median(l2):.0f} p95 {pct(l2, 95):.0f} (n={len(l2)})"
            if first and first[0][2] is not None:
                line += f"; first after the button {(first[0][2] - first[0][1]) * 1000:.0f} ms"
            print(line, flush=True)
        cpu = cpu_seconds(drill.proc.pid) - cpu0
        wall = time.monotonic() - wall0
        print(f"CPU while drilling: {100 * cpu / wall:.1f} % of a core ({cpu:.1f} s in {wall:.0f} s, "
              f"program and its children)", flush=True)
        with open(f"/proc/{drill.proc.pid}/status") as f:
            mem = {k: v.split()[0] for k, v in (l.split(":", 1) for l in f) if k in ("VmRSS", "VmHWM")}
        print(f"RSS: {int(mem['VmRSS']) // 1024} MB now, {int(mem['VmHWM']) // 1024} MB at most", flush=True)


def first_fifteen(args, env, tmp, runs):
    with traced_drill(args, env, tmp, "audio15.txt") as (drill, audio):
        for p in (1, 15):
            px, py = drill.point(CHECK1_X, check1_y(p) + BOX_H / 2)
            e2e.click_at(px + 7, py, env=drill.env)
            time.sleep(0.3)
        lat = []
        for _ in range(runs):
            at = click(drill, "Command8")
            # Until this reading has played out; the next click comes before the drill's own next one.
            deadline = time.monotonic() + 15
            while time.monotonic() < deadline and not [e for e in read(audio) if e[1] == "finished" and e[0] > at]:
                time.sleep(0.05)
            rows = readings(audio, at, time.time())
            if rows and rows[0][2] is not None:
                lat.append((rows[0][2] - rows[0][1]) * 1000)
            time.sleep(0.3)
        shown = [d for _, e, d in read(drill.trace) if e == "shown"]
        digits = sorted({len(d.replace(",", "")) for d in shown})
        print(f"first Japanese reading after the button ({digits} digits): click's tick -> first sample ms "
              f"{[round(v) for v in lat]} median {statistics.median(lat) if lat else float('nan'):.0f}",
              flush=True)


def main():
    args = e2e.parse_args(lambda p: (p.add_argument("--seconds", type=float, default=90),
                                     p.add_argument("--busy", action="store_true"),
                                     p.add_argument("--first15", type=int, default=0),
                                     p.add_argument("--only-first", action="store_true")))
    hogs = []
    try:
        if args.busy:
            hogs = [subprocess.Popen(["yes"], stdout=subprocess.DEVNULL) for _ in range(2)]
        print(f"load: {os.getloadavg()}", flush=True)
        with tempfile.TemporaryDirectory(prefix="tvx-tick-") as tmp, e2e.Xvfb() as x, \
                e2e.PulseNullSink(x.env) as pulse:
            if not args.only_first:
                drill_modes(args, pulse.env, tmp)
            if args.first15:
                first_fifteen(args, pulse.env, tmp, args.first15)
        print(f"load: {os.getloadavg()}", flush=True)
    finally:
        for h in hogs:
            h.kill()
            h.wait()


if __name__ == "__main__":
    e2e.run_main(main)
