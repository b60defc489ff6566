"""Runs the real drill under its own X server and PulseAudio null sink, presses "英語だけ" and later
"日本語だけ", records the sink's monitor and checks that the readings are heard when the drill's
timers say: the first one right after the click, each later one a fixed display pause after its
number is shown, unless it is queued behind a reading still going on.

The drill writes "<epoch ms> click <button>" and "<epoch ms> shown <number>" to TVX_TRACE_FILE; the
monitor recording is placed on the same wall clock by the moment parec is stopped (the fixture's
null sink keeps wall time, which is checked).

With --latency N the script instead clicks each start button N times (restarting the program each
time) and prints the click-to-first-audio latency per language; see bench/drill_latency.md."""

import os
import statistics
import tempfile
import time

import tvx_e2e as e2e

BUTTONS_TWIPS = {"Command7": (285, 990, 2490, 525), "Command8": (2970, 990, 2490, 525)}

FIRST_READING_MS = 10
DISPLAY_MS = {"Command7": 2000, "Command8": 3000}  # from a number being shown to its reading
FIRST_ONSET_S = 0.30     # click to the first sound, English
# A reading's sound starts late by the engine's own lead-in silence and the device's latency only:
# every reading after the first is synthesised ahead while its number is on show, in either language,
# and the first is streamed phrase by phrase. Both languages get the same tolerance.
LEAD_S = {"Command7": (0.0, 0.30), "Command8": (0.0, 0.30)}
QUEUE_S = 0.45           # a queued reading starts this soon after the one before it ends
TIMER_TOL_MS = 60        # a timer tick may come this late on a busy machine


def english_text(d):
    """The English reading text: the "hundred" form for 100 to 999."""
    if len(d) != 3:
        return d
    a, b, c = d
    if b == c == "0":
        return a + " hundred "
    if b == "0":
        return a + " hundred " + c
    return a + " hundred " + b + c


def wait_after_reading_ms(button, d):
    """The wait from a reading to the drawing of the next number, gap 0."""
    z = d.count("0")
    if button == "Command7":
        n = len(d)
        return max(1000, 330 * (n // 3) + 1000 * ((n - 1) // 3) + 2000 - 500 * z)
    e = len(english_text(d))
    return max(1000, 220 * e + 1000 - 100 * z) if e >= 2 else 1000


def read_trace(path):
    events = []
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            for line in f.read().splitlines():
                parts = line.split(" ", 2)
                if len(parts) >= 2 and parts[0].isdigit():
                    events.append((int(parts[0]) / 1000.0, parts[1], parts[2] if len(parts) > 2 else ""))
    return events


def wait_for(pred, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        got = pred()
        if got:
            return got
        time.sleep(0.02)
    raise AssertionError(f"timed out waiting for {what}")


class Drill(e2e.Drill):
    """The real drill with its trace (clicks, readings shown, first audio) on the given X server and PulseAudio."""

    def __init__(self, args, env, tmp):
        super().__init__(args.bin_dir, env, tmp)

    def click(self, button):
        x, y = self.centre(*BUTTONS_TWIPS[button])
        e2e.xdotool("mousemove", x, y, env=self.env)
        time.sleep(0.05)
        before = len(read_trace(self.trace))
        e2e.xdotool("click", 1, env=self.env)
        ev = wait_for(lambda: next((e for e in read_trace(self.trace)[before:] if e[1] == "click"), None),
                      5, f"the click on {button}")
        assert ev[2] == button, f"clicked at ({x}, {y}) but the drill saw {ev[2]}"
        return ev[0]

    def close(self):
        rc = super().close()
        e2e.stop(self.proc)
        assert rc == 0, f"exit code {rc} after closing; output:\n{self.output()}"
        assert "speaking silently" not in self.output(), f"no audio device was used:\n{self.output()}"


def planned_readings(events, button, click_at, until):
    """(planned onset, number) of every reading of the phase that began with this click; also checks
    that each number was shown when the wait after the previous reading said."""
    shown = [(t, d) for t, ev, d in events if ev == "shown" and click_at - 0.05 <= t < until]
    assert shown, f"no number shown after clicking {button}"
    readings = [(shown[0][0] + FIRST_READING_MS / 1000.0, shown[0][1])]
    for t, d in shown[1:]:
        prev_at, prev = readings[-1]
        wait = wait_after_reading_ms(button, prev)
        late_ms = (t - prev_at) * 1000 - wait
        assert -TIMER_TOL_MS / 2 <= late_ms <= TIMER_TOL_MS, \
            f"{d} shown {late_ms:+.0f} ms off the {wait} ms wait after reading {prev}"
        readings.append((t + DISPLAY_MS[button] / 1000.0, d))
    return readings


def check_onsets(button, readings, segments, click_at, record_end):
    """Matches each planned reading with a heard segment; returns the onset errors in seconds."""
    lo, hi = LEAD_S[button]
    errors = []
    prev_end = None
    segs = list(segments)
    for k, (planned, number) in enumerate(readings):
        if planned + 2.0 > record_end:
            break  # may not be fully heard
        queued = prev_end is not None and prev_end > planned - 0.05
        if queued:
            # Behind a longer reading: it follows that one's end, possibly in the same segment.
            start = prev_end
            hi_k = hi + QUEUE_S
        else:
            start = planned
            hi_k = hi
        cand = [s for s in segs if start + lo - 0.25 <= s[0] <= start + hi_k + 0.25]
        if not cand and queued:
            merged = [s for s in segs if s[0] < start <= s[1] + 0.05]
            assert merged, f"{button}: reading {k} ({number}) queued at {start - click_at:.2f} s was not heard"
            prev_end = merged[0][1]
            continue
        assert cand, (f"{button}: reading {k} ({number}) planned at {planned - click_at:.2f} s after the click "
                      f"was not heard; segments (s after the click) "
                      f"{[(round(a - click_at, 2), round(b - click_at, 2)) for a, b in segs]}")
        seg = cand[0]
        err = seg[0] - start
        limit = FIRST_ONSET_S if k == 0 and button == "Command7" else hi_k
        assert lo - 0.1 <= err <= limit, \
            f"{button}: reading {k} ({number}) heard {err * 1000:+.0f} ms from its time (allowed up to {limit * 1000:.0f})"
        errors.append((number, err))
        prev_end = seg[1]
        segs.remove(seg)
    return errors


def record_phases(args, x, pulse, tmp, plan):
    """Starts the drill, clicks each (button, seconds) of plan in turn while recording; returns
    (events, [(button, click time)], segments on the epoch clock, recording end)."""
    drill = Drill(args, pulse.env, tmp)
    try:
        time.sleep(0.5)
        rec = pulse.record(os.path.join(tmp, "monitor.raw"))
        clicks = []
        try:
            for button, seconds in plan:
                if clicks:
                    # Press between readings: right after a number is shown, its reading still 2 s away.
                    n = len([e for e in read_trace(drill.trace) if e[1] == "shown"])
                    wait_for(lambda: len([e for e in read_trace(drill.trace) if e[1] == "shown"]) > n,
                             8, "a number to be shown")
                    time.sleep(0.1)
                clicks.append((button, drill.click(button)))
                time.sleep(seconds)
        finally:
            stopped_mono, stopped = time.monotonic(), time.time()
            samples, rate = rec.stop()
        drill.close()
    finally:
        e2e.stop(drill.proc)
    recorded_for = stopped_mono - rec.started
    assert len(samples) / rate >= recorded_for - 0.6, \
        f"the monitor recorded {len(samples) / rate:.2f} s in {recorded_for:.2f} s: the sink stood still"
    origin = stopped - len(samples) / rate
    segments = [(origin + a, origin + b) for a, b in e2e.speech_segments(samples, rate)]
    return read_trace(drill.trace), clicks, segments, stopped


def timing_check(args, x, pulse, tmp):
    events, clicks, segments, end = record_phases(args, x, pulse, tmp,
                                                  [("Command7", 14.0), ("Command8", 15.5)])
    for i, (button, at) in enumerate(clicks):
        until = clicks[i + 1][1] if i + 1 < len(clicks) else end
        readings = planned_readings(events, button, at, until)
        phase = [s for s in segments if at - 0.05 <= s[0] < until]
        errors = check_onsets(button, readings, phase, at, until)
        assert len(errors) >= 2, f"{button}: only {len(errors)} readings could be checked"
        print(f"{button}: onsets vs. plan (ms) "
              f"{[(n, round(e * 1000)) for n, e in errors]}", flush=True)


def latency_runs(args, x, pulse, tmp, runs):
    """Click to the first samples handed to the device (the drill's audio trace) and click to the
    first voice heard on the monitor, per start button, over fresh program runs."""
    found = {b: ([], []) for b in ("Command7", "Command8")}
    for _ in range(runs):
        for button, (written, heard) in found.items():
            events, clicks, segments, _ = record_phases(args, x, pulse, tmp, [(button, 2.5)])
            at = clicks[0][1]
            first = [t for t, ev, _ in events if ev == "first-audio" and t >= at]
            voice = [s for s in segments if s[0] >= at - 0.05]
            assert first and voice, f"{button}: no audio after the click"
            written.append(first[0] - at)
            heard.append(voice[0][0] - at)
    for button, (written, heard) in found.items():
        for name, vals in (("first samples written", written), ("first voice heard", heard)):
            print(f"{button}: click to {name}, ms: median {statistics.median(vals) * 1000:.0f}, "
                  f"all {[round(v * 1000) for v in vals]}", flush=True)


def main():
    args = e2e.parse_args(lambda p: p.add_argument("--latency", type=int, default=0))
    with tempfile.TemporaryDirectory(prefix="tvx-drill-audio-") as tmp, e2e.Xvfb() as x, \
            e2e.PulseNullSink(x.env) as pulse:
        if args.latency:
            latency_runs(args, x, pulse, tmp, args.latency)
        else:
            timing_check(args, x, pulse, tmp)


if __name__ == "__main__":
    e2e.run_main(main)
