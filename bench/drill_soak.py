"""Measurements of the real drill binary under a private X server and a private PulseAudio null sink.

  soak     a 12-minute drill switching mode every 3 minutes through Command4, 5, 7 and 8: checks from
           the trace that every number follows the previous one at its mode's planned pace, that the
           process survives and exits 0 on close, and samples resident memory every 10 s.
  cpu      CPU share and resident memory of an idle window and of a running drill (60 s each).
  startup  time from process start to the main window being mapped, over several runs.

Run as: python3 bench/drill_soak.py {soak,cpu,startup} --bin-dir <build>/bin [--out results.json]
"""

import argparse
import json
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
import tvx_e2e as e2e  # noqa: E402

BUTTONS = {"Command4": (270, 315, 2490, 525), "Command5": (3000, 315, 2490, 525),
           "Command7": (285, 990, 2490, 525), "Command8": (2970, 990, 2490, 525)}
CLK_TCK = os.sysconf("SC_CLK_TCK")


# --- the drill's planned waits (reading gap 0) -------------------------------------------------------

def english_text(d):
    if len(d) != 3:
        return d
    a, b, c = d
    if b == "0" and c == "0":
        return a + " hundred "
    if b == "0":
        return a + " hundred " + c
    return a + " hundred " + b + c


def w_en(d):
    n, z = len(d), d.count("0")
    return 330 * (n // 3) + 1000 * ((n - 1) // 3) + 2000 - 500 * z


def w_ja(d):
    e, z = len(english_text(d)), d.count("0")
    return 220 * e + 1000 - 100 * z if e >= 2 else 1000


def ja_with_gap(d):
    return max(1000, w_ja(d)) if len(english_text(d)) >= 2 else 1000


# From one number shown to the next: (display time before the first reading, rest of the cycle).
CYCLE = {
    "Command4": (2000, lambda d: max(1000, w_en(d)) + w_ja(d)),
    "Command5": (4000, lambda d: ja_with_gap(d) + w_en(d)),
    "Command7": (2000, lambda d: max(1000, w_en(d))),
    "Command8": (3000, lambda d: ja_with_gap(d)),
}
FIRST_TICK = 10


# --- the running program -----------------------------------------------------------------------------

def proc_cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def proc_status(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])  # kB
    return None


def allow_core_dump():
    # A crash leaves a core in the work directory for a debugger.
    resource.setrlimit(resource.RLIMIT_CORE, (resource.RLIM_INFINITY, resource.RLIM_INFINITY))


class Drill(e2e.Drill):
    def __init__(self, bin_dir, env, tmp, wrap=None):
        super().__init__(bin_dir, env, tmp, wrap=wrap, preexec_fn=allow_core_dump, timeout=20)
        e2e.xdotool("windowraise", self.wid, env=self.env, check=False)

    def press(self, name):
        e2e.click_at(*self.centre(*BUTTONS[name]), env=self.env)

    def events(self):
        out = []
        for line in open(self.trace, encoding="utf-8"):
            w = line.split()
            if len(w) >= 3:
                out.append((int(w[0]), w[1], w[2]))
        return out

    def close(self):
        rc = super().close()
        if rc is None:
            e2e.stop(self.proc)
        return rc

    def alive(self):
        return self.proc.poll() is None


def sink_inputs(env):
    r = subprocess.run(["pactl", "list", "short", "sink-inputs"], env=env, capture_output=True, text=True)
    return len([l for l in r.stdout.splitlines() if l.strip()])


def slope_kb_per_min(samples):
    """Least-squares slope of (seconds, kB) samples, in kB per minute."""
    if len(samples) < 2:
        return 0.0
    ts = [t for t, _ in samples]
    vs = [v for _, v in samples]
    mt, mv = statistics.fmean(ts), statistics.fmean(vs)
    den = sum((t - mt) ** 2 for t in ts)
    return 60 * sum((t - mt) * (v - mv) for t, v in zip(ts, vs)) / den if den else 0.0


def check_pace(events, tolerance):
    """Every interval between successive shown lines against the plan of the mode running then."""
    mode = None
    prev = None  # (ms, text, first after a button)
    rows, bad = [], []
    for ms, ev, detail in events:
        if ev == "click":
            mode, prev = detail, None
            continue
        if ev != "shown" or mode is None:
            continue
        if prev is not None:
            display, rest = CYCLE[mode]
            planned = (FIRST_TICK if prev[2] else display) + rest(prev[1])
            actual = ms - prev[0]
            rows.append({"mode": mode, "number": prev[1], "planned": planned, "actual": actual})
            if abs(actual - planned) > tolerance:
                bad.append(rows[-1])
        prev = (ms, detail, prev is None)
    return rows, bad


def soak(args):
    minutes_per_mode = args.minutes / 4
    result = {}
    tmp = args.work_dir or tempfile.mkdtemp(prefix="tvx-soak-")
    os.makedirs(tmp, exist_ok=True)
    print(f"trace and drill output in {tmp}", flush=True)
    with e2e.Xvfb() as x, e2e.PulseNullSink(x.env) as pulse:
        # Under --wrap (a debugger) the pid watched is the wrapper's; memory figures are then not the drill's.
        d = Drill(args.bin_dir, pulse.env, tmp, args.wrap.split() if args.wrap else None)
        pid = d.proc.pid
        t0 = time.monotonic()
        rss, streams = [], []
        cpu0 = proc_cpu_ticks(pid)
        next_sample = 0.0
        for i, name in enumerate(["Command4", "Command5", "Command7", "Command8"]):
            d.press(name)
            print(f"{time.strftime('%H:%M:%S')} pressed {name}", flush=True)
            end = (i + 1) * minutes_per_mode * 60
            while time.monotonic() - t0 < end:
                if not d.alive() or (args.wrap and "signal SIG" in d.output()):
                    time.sleep(3)
                    raise AssertionError(f"the drill died ({d.proc.returncode}); see {tmp}")
                now = time.monotonic() - t0
                if now >= next_sample:
                    rss.append((round(now, 1), proc_status(pid, "VmRSS")))
                    streams.append(sink_inputs(pulse.env))
                    next_sample += 10
                time.sleep(0.5)
        elapsed = time.monotonic() - t0
        cpu = (proc_cpu_ticks(pid) - cpu0) / CLK_TCK / elapsed * 100
        hwm = proc_status(pid, "VmHWM")
        events = d.events()
        rc = d.close()
        rows, bad = check_pace(events, args.tolerance)
        devs = [r["actual"] - r["planned"] for r in rows]
        per_mode = {}
        for r in rows:
            m = per_mode.setdefault(r["mode"], {"intervals": 0, "max_abs_dev_ms": 0})
            m["intervals"] += 1
            m["max_abs_dev_ms"] = max(m["max_abs_dev_ms"], abs(r["actual"] - r["planned"]))
        vals = [v for _, v in rss]
        after_first_minute = [(t, v) for t, v in rss if t >= 60]
        result = {
            "seconds": round(elapsed, 1), "exit_code": rc, "numbers_shown": sum(1 for e in events if e[1] == "shown"),
            "intervals_checked": len(rows), "intervals_off_plan": bad,
            "deviation_ms": {"median": statistics.median(devs), "min": min(devs), "max": max(devs)} if devs else None,
            "per_mode": per_mode,
            "rss_kb": {"first": vals[0], "last": vals[-1], "max": max(vals), "samples": len(vals),
                       "slope_kb_per_min": round(slope_kb_per_min(rss), 1),
                       "slope_after_first_minute_kb_per_min": round(slope_kb_per_min(after_first_minute), 1)},
            "vm_hwm_kb": hwm, "cpu_percent_one_core": round(cpu, 2),
            "audio_streams_seen": {"samples_with_stream": sum(1 for s in streams if s), "samples": len(streams)},
            "rss_series": rss,
        }
    ok = result["exit_code"] == 0 and not result["intervals_off_plan"] and result["intervals_checked"] > 0
    return result, ok


def measure_cpu(d, seconds):
    pid = d.proc.pid
    c0, t0 = proc_cpu_ticks(pid), time.monotonic()
    rss = []
    while time.monotonic() - t0 < seconds:
        time.sleep(1)
        rss.append(proc_status(pid, "VmRSS"))
    c1, t1 = proc_cpu_ticks(pid), time.monotonic()
    return {"cpu_percent_one_core": round((c1 - c0) / CLK_TCK / (t1 - t0) * 100, 2), "seconds": round(t1 - t0, 1),
            "rss_kb_max": max(rss), "rss_kb_last": rss[-1]}


def cpu(args):
    with e2e.Xvfb() as x, e2e.PulseNullSink(x.env) as pulse, tempfile.TemporaryDirectory(prefix="tvx-cpu-") as tmp:
        d = Drill(args.bin_dir, pulse.env, tmp)
        time.sleep(5)  # let start-up work settle
        idle = measure_cpu(d, args.seconds)
        d.press(args.button)
        drilling = measure_cpu(d, args.seconds)
        drilling["button"] = args.button
        drilling["numbers_shown"] = sum(1 for e in d.events() if e[1] == "shown")
        hwm = proc_status(d.proc.pid, "VmHWM")
        rc = d.close()
    return {"idle": idle, "drilling": drilling, "vm_hwm_kb": hwm, "exit_code": rc}, rc == 0


def visible_main(env):
    for w in e2e.visible_windows(env):
        if e2e.window_name(w, env) == e2e.MAIN_TITLE:
            return w
    return None


def startup(args):
    times = []
    with e2e.Xvfb() as x, e2e.PulseNullSink(x.env) as pulse:
        for _ in range(args.runs):
            began = time.monotonic()
            proc = subprocess.Popen([os.path.join(args.bin_dir, "Tallyvox-Number")], env=pulse.env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wid = None
            while wid is None and time.monotonic() - began < 20:
                wid = visible_main(pulse.env)
                if wid is None:
                    time.sleep(0.005)
            took = time.monotonic() - began
            if wid is None:
                e2e.stop(proc)
                raise AssertionError("the main window never appeared")
            times.append(round(took * 1000, 1))
            e2e.close_window(wid, pulse.env)
            if e2e.wait_exit(proc, 10) != 0:
                e2e.stop(proc)
                raise AssertionError(f"exit code {proc.returncode} after closing")
            time.sleep(0.5)
    return {"runs_ms": times, "median_ms": statistics.median(times), "max_ms": max(times)}, True


def main():
    p = argparse.ArgumentParser()
    p.add_argument("what", choices=["soak", "cpu", "startup"])
    p.add_argument("--bin-dir", required=True)
    p.add_argument("--out")
    p.add_argument("--minutes", type=float, default=12.0, help="soak length, a quarter per start button")
    p.add_argument("--tolerance", type=int, default=150, help="ms an interval may differ from its plan")
    p.add_argument("--seconds", type=float, default=60.0, help="cpu: length of each measurement")
    p.add_argument("--button", default="Command4", choices=sorted(BUTTONS), help="cpu: the drill measured")
    p.add_argument("--work-dir", help="soak: keep the trace and the drill's output here")
    p.add_argument("--wrap", help="soak: command line put before the binary, e.g. 'gdb -batch -ex run -ex bt --args'")
    p.add_argument("--runs", type=int, default=10, help="startup: number of runs")
    args = p.parse_args()
    args.bin_dir = os.path.abspath(args.bin_dir)  # the drill runs in its work directory
    with open("/proc/loadavg") as f:
        load_before = f.read().split()[:3]
    try:
        result, ok = {"soak": soak, "cpu": cpu, "startup": startup}[args.what](args)
    except e2e.Skip as e:
        print(f"SKIPPED: {e}")
        return 77
    with open("/proc/loadavg") as f:
        result["loadavg_before_after"] = [load_before, f.read().split()[:3]]
    text = json.dumps(result, indent=1, ensure_ascii=False)
    if args.out:
        with open(args.out, "w") as f:
            f.write(text + "\n")
    print(text if args.what != "soak" else json.dumps({k: v for k, v in result.items() if k != "rss_series"},
                                                       indent=1, ensure_ascii=False))
    print("OK" if ok else "FAILED")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
