"""Plays one English and one Japanese request into a private PulseAudio null sink and checks that
two readings were heard, English first, in the order the balloon texts came, each as long
as the speech the engines synthesise for it, without the device holding the audio back: a stalled
stream lengthens a request far beyond its sound and cuts or delays what is heard."""

import array
import os
import subprocess
import tempfile
import time

import tvx_e2e as e2e

HOLD_S = 0.15       # the balloon stays this long after the audio
SPAN_TOL_S = 0.15   # heard voiced span vs. synthesised voiced span
LATE_TOL_S = 0.35   # device start-up and hand-over slack per request


def voiced_span(samples, rate):
    segs = e2e.speech_segments(samples, rate, min_gap_ms=150)
    assert segs, "the engine produced no audible speech"
    return segs[0][0], segs[-1][1]


def main():
    args = e2e.parse_args()
    driver = os.path.join(args.bin_dir, "speech_e2e_driver")
    assert os.access(driver, os.X_OK), f"{driver} is not built"
    with tempfile.TemporaryDirectory(prefix="tvx-speech-e2e-") as tmp, e2e.PulseNullSink() as pulse:
        trace_path = os.path.join(tmp, "trace.txt")
        env = dict(pulse.env, TVX_SPEECH_TRACE=trace_path)
        rec = pulse.record(os.path.join(tmp, "monitor.raw"))
        try:
            proc = subprocess.run([driver], env=env, capture_output=True, text=True, timeout=60)
            time.sleep(0.3)  # let the tail reach the monitor
        finally:
            stopped = time.monotonic()
            samples, rate = rec.stop()
        recorded_for = stopped - rec.started
        assert proc.returncode == 0, f"driver exited {proc.returncode}: {proc.stderr.strip()}"
        assert "speaking silently" not in proc.stderr, f"no audio device was used: {proc.stderr.strip()}"
        with open(trace_path) as f:
            events = [line.split(" ", 2) for line in f.read().splitlines()]
        pcms = []
        for ev in events:
            if ev[0] == "pcm":
                pcm = array.array("h")
                with open(ev[2], "rb") as f:
                    pcm.frombytes(f.read())
                pcms.append((len(pcm) / int(ev[1]), voiced_span(pcm, int(ev[1]))))
    started = [(float(ev[1]), ev[2] if len(ev) > 2 else "") for ev in events if ev[0] == "started"]
    finished = [float(ev[1]) for ev in events if ev[0] == "finished"]
    assert [s[1] for s in started] == ["12,345", "305"], f"balloon texts in order: {started}"
    assert len(pcms) == 2 and len(finished) == 2, f"trace: {events}"

    segments = e2e.speech_segments(samples, rate, min_gap_ms=150)
    print(f"recorded {len(samples) / rate:.2f} s in {recorded_for:.2f} s, segments {segments}, "
          f"starts {started}, finishes {finished}, synthesised (total, voiced) {pcms}", flush=True)
    # The monitor runs on the wall clock only if the sink never stood still.
    assert len(samples) / rate >= recorded_for - 0.5, \
        f"recorded {len(samples) / rate:.2f} s of audio in {recorded_for:.2f} s"
    # English pauses at each group boundary: a reading is every segment from its start to the next's.
    base = stopped - len(samples) / rate
    ja_at = started[1][0] - base
    en = [seg for seg in segments if seg[0] < ja_at - 0.05]
    ja = [seg for seg in segments if seg[0] >= ja_at - 0.05]
    assert en and ja, f"expected English then Japanese speech, got {segments} (Japanese from {ja_at:.2f} s)"
    segments = [(en[0][0], en[-1][1]), (ja[0][0], ja[-1][1])]
    for name, (start, text), end, (total, (v0, v1)), (s0, s1) in zip(
            ("English", "Japanese"), started, finished, pcms, segments):
        heard, said = s1 - s0, v1 - v0
        assert abs(heard - said) <= SPAN_TOL_S, f"{name} heard {heard:.2f} s of {said:.2f} s synthesised"
        took = end - start
        assert took <= total + HOLD_S + LATE_TOL_S, \
            f"{name} request took {took:.2f} s for {total:.2f} s of audio: the device held it back"
        # The trace is on CLOCK_MONOTONIC; the recording ends when parec is stopped.
        onset = stopped - len(samples) / rate + s0 - (start + v0)
        assert -0.1 <= onset <= LATE_TOL_S, f"{name} voice began {onset:+.2f} s from its place in the PCM"


if __name__ == "__main__":
    e2e.run_main(main)
