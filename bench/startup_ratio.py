"""Start-up of the drill against a minimal Qt window, side by side, on a bare X server and under openbox.

Each run times one program from just before its exec to the moment its main window is mapped, seen as
the MapNotify event on the root window (under openbox: the map of the frame that holds it). The two
programs take turns (ABBA order, so that a trend in the machine's load falls on both alike), each under
the same private X server and PulseAudio null sink. Prints the medians and their ratio per setting.

    cmake --build build --target Tallyvox-Number bench_minimal_qt_window
    python3 bench/startup_ratio.py --bin-dir build/bin --bench-dir build/bench [--runs 7] [--out r.json]
        [--session-bus]

--session-bus gives both programs a private session bus, as a desktop session has. Without one, Qt's
accessibility bridge in each program has libdbus try to start a bus (a fork and a search of PATH for
dbus-launch) before the window maps; with one, each connects to it and asks for the accessibility bus.
"""

import argparse
import contextlib
import ctypes
import ctypes.util
import json
import os
import select
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
import tvx_e2e as e2e  # noqa: E402

MINIMAL_TITLE = "tvx-minimal-qt-window"
MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                           ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                           ctypes.POINTER(ctypes.c_uint)]
x11.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
                                   ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
x11.XSetErrorHandler.argtypes = [ERROR_HANDLER]
# A window may be gone by the time it is looked at: ignore X errors instead of exiting.
IGNORE_ERRORS = ERROR_HANDLER(lambda display, error: 0)
x11.XSetErrorHandler(IGNORE_ERRORS)


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", MapEvent), ("pad", ctypes.c_long * 24)]


class MapWatch:
    """Watches the root window's children being mapped and tells when one holding a title appears."""

    def __init__(self, env):
        self.dpy = x11.XOpenDisplay(env["DISPLAY"].encode())
        if not self.dpy:
            raise AssertionError("cannot open the X display")
        self.root = x11.XDefaultRootWindow(self.dpy)
        self.net_wm_name = x11.XInternAtom(self.dpy, b"_NET_WM_NAME", 0)
        self.utf8 = x11.XInternAtom(self.dpy, b"UTF8_STRING", 0)
        x11.XSelectInput(self.dpy, self.root, SUBSTRUCTURE_NOTIFY_MASK)
        self.fd = x11.XConnectionNumber(self.dpy)
        self.drain()

    def drain(self):
        ev = XEvent()
        while x11.XPending(self.dpy):
            x11.XNextEvent(self.dpy, ctypes.byref(ev))

    def title(self, w):
        kind, fmt = ctypes.c_ulong(), ctypes.c_int()
        n, after, prop = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        if x11.XGetWindowProperty(self.dpy, w, self.net_wm_name, 0, 1024, 0, self.utf8, ctypes.byref(kind),
                                  ctypes.byref(fmt), ctypes.byref(n), ctypes.byref(after),
                                  ctypes.byref(prop)) != 0 or not prop.value:
            return ""
        text = ctypes.string_at(prop.value, n.value).decode("utf-8", "replace")
        x11.XFree(prop)
        return text

    def holding(self, w, title):
        """The window itself or, when it is a window manager's frame, the client inside with that title."""
        if self.title(w) == title:
            return w
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not x11.XQueryTree(self.dpy, w, ctypes.byref(root), ctypes.byref(parent), ctypes.byref(children),
                              ctypes.byref(count)):
            return None
        kids = [children[i] for i in range(count.value)]
        if children:
            x11.XFree(children)
        for k in kids:
            found = self.holding(k, title)
            if found:
                return found
        return None

    def wait_mapped(self, title, proc, timeout=20):
        """(monotonic time the window was mapped, its id) or raises."""
        deadline = time.monotonic() + timeout
        ev = XEvent()
        while time.monotonic() < deadline:
            if not x11.XPending(self.dpy):
                select.select([self.fd], [], [], 0.05)
                if proc.poll() is not None:
                    raise AssertionError(f"{proc.args[0]} ended ({proc.returncode}) before mapping its window")
                continue
            x11.XNextEvent(self.dpy, ctypes.byref(ev))
            seen = time.monotonic()
            if ev.type == MAP_NOTIFY:
                found = self.holding(ev.xmap.window, title)
                if found:
                    return seen, found
        raise AssertionError(f"no window '{title}' was mapped within {timeout} s")

    def close(self):
        x11.XCloseDisplay(self.dpy)


class SessionBus:
    """A private dbus-daemon session bus for the programs under test, stopped at the end."""

    def __init__(self, env):
        self.env = dict(env)

    def __enter__(self):
        self.proc = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                     stdout=subprocess.PIPE, text=True)
        address = self.proc.stdout.readline().strip()
        if not address:
            e2e.stop(self.proc)
            raise AssertionError("dbus-daemon did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        return self

    def __exit__(self, *exc):
        e2e.stop(self.proc)


def one_run(program, title, env, cwd):
    watch = MapWatch(env)
    try:
        began = time.monotonic()
        proc = subprocess.Popen([program], env=env, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            mapped, wid = watch.wait_mapped(title, proc)
        except AssertionError:
            e2e.stop(proc)
            raise
    finally:
        watch.close()
    e2e.close_window(wid, env)
    if e2e.wait_exit(proc, 10) != 0:
        e2e.stop(proc)
        raise AssertionError(f"{program} exited with {proc.returncode} after closing")
    return round((mapped - began) * 1000, 1)


def setting(name, env, programs, runs, cwd):
    times = {p: [] for p in programs}
    order = list(programs)
    for run in range(runs):
        for p in (order if run % 2 == 0 else order[::-1]):
            times[p].append(one_run(programs[p][0], programs[p][1], env, cwd))
            time.sleep(0.3)
    drill, minimal = times["drill"], times["minimal"]
    result = {"drill_ms": drill, "minimal_ms": minimal,
              "drill_median_ms": statistics.median(drill), "minimal_median_ms": statistics.median(minimal),
              "ratio_of_medians": round(statistics.median(drill) / statistics.median(minimal), 2),
              "median_pair_ratio": round(statistics.median(d / m for d, m in zip(drill, minimal)), 2)}
    print(f"{name}: drill {result['drill_median_ms']} ms, minimal Qt window {result['minimal_median_ms']} ms, "
          f"ratio {result['ratio_of_medians']} (median of pair ratios {result['median_pair_ratio']})", flush=True)
    return result


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--bin-dir", required=True, help="folder of Tallyvox-Number (and PEEDY.acs)")
    p.add_argument("--bench-dir", required=True, help="folder of bench_minimal_qt_window")
    p.add_argument("--runs", type=int, default=7)
    p.add_argument("--out")
    p.add_argument("--session-bus", action="store_true", help="run both under a private session bus")
    args = p.parse_args()
    programs = {"drill": (os.path.join(os.path.abspath(args.bin_dir), "Tallyvox-Number"), e2e.MAIN_TITLE),
                "minimal": (os.path.join(os.path.abspath(args.bench_dir), "bench_minimal_qt_window"), MINIMAL_TITLE)}
    with open("/proc/loadavg") as f:
        load_before = f.read().split()[:3]
    results = {}
    try:
        with e2e.Xvfb() as x, e2e.PulseNullSink(x.env) as pulse, tempfile.TemporaryDirectory() as cwd, \
                (SessionBus(pulse.env) if args.session_bus else contextlib.nullcontext()) as bus:
            env = bus.env if bus else pulse.env
            # One run of each first, not counted: it brings the libraries and fonts into the page cache.
            for prog, title in programs.values():
                one_run(prog, title, env, cwd)
            results["bare"] = setting("bare X server", env, programs, args.runs, cwd)
            with e2e.WindowManager(env):
                results["openbox"] = setting("under openbox", env, programs, args.runs, cwd)
            results["session_bus"] = bool(bus)
    except e2e.Skip as e:
        print(f"SKIPPED: {e}")
        return 77
    with open("/proc/loadavg") as f:
        results["loadavg_before_after"] = [load_before, f.read().split()[:3]]
    # Other work on the machine moves both programs' times: the figures hold only beside the load.
    print(f"load average before {' '.join(load_before)}, after {' '.join(results['loadavg_before_after'][1])}")
    if args.out:
        with open(args.out, "w") as f:
            json.dump(results, f, indent=1, ensure_ascii=False)
            f.write("\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
