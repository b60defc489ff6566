"""Plays one English and one Japanese request into a private PulseAudio null sink and checks that
two speech segments of plausible length were heard, English first, each where the program said
the balloon texts came in the same order.

The null sink's monitor does not run on the wall clock (it stalls while the sink waits), so the
order and lengths of the segments are checked, not their absolute times."""

import os
import subprocess
import tempfile
import time

import tvx_e2e as e2e

# "12,345" in English at eSpeak's own pace, "305" in Japanese at speed 195 (seconds of sound).
ENGLISH = (1.2, 3.6)
JAPANESE = (0.4, 1.8)


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
            samples, rate = rec.stop()
        assert proc.returncode == 0, f"driver exited {proc.returncode}: {proc.stderr.strip()}"
        assert "speaking silently" not in proc.stderr, f"no audio device was used: {proc.stderr.strip()}"
        with open(trace_path) as f:
            events = [line.split(" ", 2) for line in f.read().splitlines()]
    started = [(float(ev[1]), ev[2] if len(ev) > 2 else "") for ev in events if ev[0] == "started"]
    assert [s[1] for s in started] == ["12,345", "305"], f"balloon texts in order: {started}"

    segments = e2e.speech_segments(samples, rate, min_gap_ms=150)
    print(f"recorded {len(samples) / rate:.2f} s, segments {segments}, starts {started}", flush=True)
    assert len(segments) == 2, f"expected two speech segments, got {segments}"
    # English first: the longer "twelve thousand three hundred forty-five" precedes the short "sanbyaku go".
    (en_start, en_end), (ja_start, ja_end) = segments
    assert ENGLISH[0] <= en_end - en_start <= ENGLISH[1], f"English segment length {en_end - en_start:.2f} s"
    assert JAPANESE[0] <= ja_end - ja_start <= JAPANESE[1], f"Japanese segment length {ja_end - ja_start:.2f} s"


if __name__ == "__main__":
    e2e.run_main(main)
