"""The real audio output under harm from outside, with a steady stand-in tone so that every silence
heard inside it is the output's doing:
- the main thread stalls for 300 ms twice during a reading: the recorded tone has no hole;
- the sound server is killed mid-drill and started again 3 s later: the program goes on, shows one
  notice, and the tone is heard again within a few seconds of the server's return;
- the sound server stalls (SIGSTOP) for 6 s mid-drill and goes on (SIGCONT): the readings queued
  meanwhile are dropped, so no run of sound afterwards is longer than one reading."""

import os
import signal
import subprocess
import tempfile
import time

import tvx_e2e as e2e

RATE = 16000


def zero_runs(samples, start, end, min_ms=5, level=40):
    """Runs of (near) silence of at least min_ms inside samples[start:end], as (start_s, length_ms)."""
    runs, run_start = [], None
    need = RATE * min_ms // 1000
    for i in range(start, end):
        if abs(samples[i]) <= level:
            if run_start is None:
                run_start = i
        else:
            if run_start is not None and i - run_start >= need:
                runs.append((round(run_start / RATE, 3), round((i - run_start) * 1000 / RATE)))
            run_start = None
    return runs


def driver(args, *mode):
    path = os.path.join(args.bin_dir, "speech_faults_driver")
    assert os.access(path, os.X_OK), f"{path} is not built"
    return [path, *mode]


def run_through(args, pulse, tmp, name, mode, harm):
    """Runs the driver in mode, its output kept in a file, while harm() does its damage and returns
    what was recorded afterwards; gives the driver's exit code, its output and those samples."""
    out_path = os.path.join(tmp, name + ".out")
    with open(out_path, "w") as out:
        proc = subprocess.Popen(driver(args, *mode), env=pulse.env, stdout=out, stderr=subprocess.STDOUT,
                                text=True)
        try:
            samples = harm()
            rc = proc.wait(20)
        finally:
            e2e.stop(proc)
    with open(out_path) as f:
        return rc, f.read(), samples


def check_stall(args, pulse, tmp):
    rec = pulse.record(os.path.join(tmp, "stall.raw"), rate=RATE)
    proc = subprocess.run(driver(args, "stall"), env=pulse.env, capture_output=True, text=True, timeout=30)
    time.sleep(0.3)
    samples, _ = rec.stop()
    assert proc.returncode == 0, f"driver exited {proc.returncode}: {proc.stderr}"
    segs = e2e.speech_segments(samples, RATE, min_gap_ms=20)
    assert segs, "the tone was not heard"
    longest = max(segs, key=lambda s: s[1] - s[0])
    # The tone lasts 3 s; a stalled feed would split it into pieces with silence between.
    assert len(segs) == 1 and abs((longest[1] - longest[0]) - 3.0) < 0.2, f"tone heard as {segs}"
    holes = zero_runs(samples, int(longest[0] * RATE) + RATE // 50, int(longest[1] * RATE) - RATE // 50)
    assert not holes, f"silent holes (s, ms) inside the tone while the main thread stalled: {holes}"
    print("stall: the 3 s tone played without a hole through two 300 ms stalls", flush=True)


def check_restart(args, pulse, tmp):
    back_at = None

    def harm():
        nonlocal back_at
        time.sleep(3.0)
        pulse.kill()
        time.sleep(3.0)
        pulse.restart()
        back_at = time.monotonic()
        rec = pulse.record(os.path.join(tmp, "after.raw"), rate=RATE)
        time.sleep(6.0)
        return rec.stop()[0]

    rc, output, samples = run_through(args, pulse, tmp, "restart", ("restart", "14"), harm)
    assert rc == 0, f"driver exited {rc} after the sound server restarted:\n{output}"
    notices = [l for l in output.splitlines() if l.startswith("notice:")]
    assert len(notices) == 1, f"expected one notice for the lost sound server, got:\n{output}"
    segs = e2e.speech_segments(samples, RATE)
    recorded_from = time.monotonic() - back_at - len(samples) / RATE
    assert segs, f"no sound within {len(samples) / RATE:.1f} s after the server came back:\n{output}"
    first = segs[0][0] + max(0.0, recorded_from)
    assert first < 5.0, f"sound came back only {first:.1f} s after the server did"
    print(f"restart: one notice; sound back {first:.1f} s after the server, {len(segs)} tones since", flush=True)


def check_sigstop(args, pulse, tmp):
    def harm():
        time.sleep(3.5)
        os.kill(pulse.proc.pid, signal.SIGSTOP)
        try:
            time.sleep(6.0)
        finally:
            os.kill(pulse.proc.pid, signal.SIGCONT)
        rec = pulse.record(os.path.join(tmp, "sigstop.raw"), rate=RATE)
        time.sleep(7.0)
        return rec.stop()[0]

    rc, output, samples = run_through(args, pulse, tmp, "sigstop", ("drill", "18"), harm)
    assert rc == 0, f"driver exited {rc} after the sound server stalled:\n{output}"
    segs = e2e.speech_segments(samples, RATE)
    assert segs, f"no sound after the sound server went on:\n{output}"
    runs = [round(e - s, 2) for s, e in segs]
    # One reading is a 1.2 s tone; readings played back to back would merge into a longer run.
    assert max(runs) < 1.5, f"runs of sound (s) after the stall: {runs}"
    print(f"sigstop: after a 6 s stall {len(runs)} readings, none run together: {runs}", flush=True)


def main():
    args = e2e.parse_args()
    with tempfile.TemporaryDirectory(prefix="tvx-speech-faults-") as tmp, e2e.PulseNullSink() as pulse:
        check_stall(args, pulse, tmp)
        check_restart(args, pulse, tmp)
        check_sigstop(args, pulse, tmp)


if __name__ == "__main__":
    e2e.run_main(main)
