"""Shared pieces for the end-to-end tests: a private X server, a private PulseAudio server with a
null sink, window lookup through xdotool, and speech segmentation of recorded audio.

Every test script runs as `python3 script --bin-dir DIR --test-dir DIR`; exit code 77 means skipped.
"""

import argparse
import array
import math
import os
import shutil
import select
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77


class Skip(Exception):
    """The environment cannot run this test (no Xvfb, no PulseAudio); the script exits 77."""


def parse_args(extra=None):
    p = argparse.ArgumentParser()
    p.add_argument("--bin-dir", required=True)
    p.add_argument("--test-dir", required=True)
    if extra:
        extra(p)
    return p.parse_args()


def run_main(main):
    """Runs main(args) and turns Skip into exit 77 and assertion failures into exit 1."""
    try:
        main()
    except Skip as e:
        print(f"SKIPPED: {e}", flush=True)
        sys.exit(SKIP)
    except AssertionError as e:
        print(f"FAILED: {e}", flush=True)
        sys.exit(1)
    print("e2e: 1 passed, 0 failed", flush=True)
    sys.exit(0)


class Xvfb:
    """A private X server; .env is os.environ with DISPLAY pointing at it."""

    def __init__(self, width=1280, height=1024):
        self.size = (width, height)
        self.proc = None
        self.env = None

    def __enter__(self):
        if not shutil.which("Xvfb"):
            raise Skip("Xvfb is not installed (run scripts/install-deps.sh)")
        # Xvfb picks a free display itself and writes its number once it accepts clients, so tests
        # that start at the same moment never share (or race for) one server. -noreset: by default
        # the server resets when its last client leaves, and a program started in that moment
        # fails with "could not connect to display".
        rfd, wfd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(wfd), "-screen", "0", f"{self.size[0]}x{self.size[1]}x24",
             "-nolisten", "tcp", "-dpi", "96", "-noreset"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(wfd,))
        os.close(wfd)
        number = b""
        with os.fdopen(rfd, "rb") as r:
            deadline = time.monotonic() + 20
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                if not select.select([r], [], [], 0.2)[0]:
                    if self.proc.poll() is not None:
                        break
                    continue
                chunk = os.read(r.fileno(), 16)
                if not chunk:
                    break
                number += chunk
        if not number.strip().isdigit() or self.proc.poll() is not None:
            self.__exit__(None, None, None)
            raise Skip("Xvfb did not start")
        self.display = f":{int(number)}"
        self.env = dict(os.environ)
        self.env["DISPLAY"] = self.display
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        return self

    def __exit__(self, *exc):
        if self.proc:
            stop(self.proc, 5)
        return False


class WindowManager:
    """openbox on the given X server, with its own home so that it reads and writes nothing of the
    machine's user; returns once it manages the screen."""

    def __init__(self, env):
        self.env = env
        self.proc = None
        self.home = None

    def __enter__(self):
        if not shutil.which("openbox"):
            raise Skip("openbox is not installed (run scripts/install-deps.sh)")
        self.home = tempfile.mkdtemp(prefix="tvx-openbox-")
        env = dict(self.env, HOME=self.home, XDG_CONFIG_HOME=self.home, XDG_CACHE_HOME=self.home)
        log_path = os.path.join(self.home, "openbox.log")
        with open(log_path, "w") as log:
            self.proc = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=log, stderr=log)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and self.proc.poll() is None:
            r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                               capture_output=True, text=True)
            if "window id" in r.stdout:
                return self
            time.sleep(0.1)
        with open(log_path, errors="replace") as log:
            output = log.read()
        code = self.proc.poll()
        self.__exit__(None, None, None)
        raise AssertionError(f"openbox did not start (exit code {code}): {output}")

    def __exit__(self, *exc):
        if self.proc:
            stop(self.proc, 5)
        if self.home:
            shutil.rmtree(self.home, ignore_errors=True)
        return False


def frame_extents(wid, env):
    """(left, right, top, bottom) of the window manager's frame around the window; zeros without one."""
    r = subprocess.run(["xprop", "-id", str(wid), "_NET_FRAME_EXTENTS"], env=env, capture_output=True, text=True)
    if "=" not in r.stdout:
        return (0, 0, 0, 0)
    return tuple(int(v) for v in r.stdout.split("=", 1)[1].split(","))


def absolute_geometry(wid, env):
    """(x, y, width, height) of the window itself on the screen. Unlike xdotool's, right also when a
    window manager has put the window into a frame (xdotool then adds the frame's offset twice)."""
    out = subprocess.run(["xwininfo", "-id", str(wid)], env=env, capture_output=True, text=True,
                         check=True).stdout
    vals = {}
    for line in out.splitlines():
        key, _, value = line.strip().partition(":")
        vals[key] = value.strip()
    return (int(vals["Absolute upper-left X"]), int(vals["Absolute upper-left Y"]), int(vals["Width"]),
            int(vals["Height"]))


def outer_geometry(wid, env):
    """(x, y, width, height) of the window with its frame, in screen pixels."""
    x, y, w, h = absolute_geometry(wid, env)
    left, right, top, bottom = frame_extents(wid, env)
    return x - left, y - top, w + left + right, h + top + bottom


class Recorder:
    """Records the null sink's monitor as mono signed 16-bit samples."""

    def __init__(self, env, device, rate, path):
        self.rate = rate
        self.path = path
        self.out = open(path, "wb")
        self.started = time.monotonic()
        self.proc = subprocess.Popen(
            ["parec", f"--device={device}", "--format=s16le", f"--rate={rate}", "--channels=1", "--raw",
             "--latency-msec=10"],
            stdout=self.out, stderr=subprocess.DEVNULL, env=env)

    def stop(self):
        """Stops recording; returns (samples, rate)."""
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGINT)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.out.close()
        samples = array.array("h")
        with open(self.path, "rb") as f:
            data = f.read()
        samples.frombytes(data[: len(data) // 2 * 2])
        return samples, self.rate


class PulseNullSink:
    """A private PulseAudio server whose default sink is a null sink; .env points clients at it."""

    SINK = "tvx_null"

    def __init__(self, base_env=None):
        self.base_env = dict(base_env or os.environ)
        self.proc = None
        self.dir = None
        self.env = None

    def __enter__(self):
        if not shutil.which("pulseaudio") or not shutil.which("parec"):
            raise Skip("PulseAudio is not installed (run scripts/install-deps.sh)")
        self.dir = tempfile.mkdtemp(prefix="tvx-pulse-")
        env = dict(self.base_env)
        env.update({"XDG_RUNTIME_DIR": self.dir, "HOME": self.dir, "PULSE_RUNTIME_PATH": self.dir,
                    "PULSE_STATE_PATH": self.dir})
        self._launch(env)
        env["PULSE_SERVER"] = f"unix:{os.path.join(self.dir, 'native')}"
        if self._wait_ready(env):
            self.env = env
            return self
        self.__exit__(None, None, None)
        raise Skip("PulseAudio could not start a private server")

    def _launch(self, env):
        socket = os.path.join(self.dir, "native")
        self.log = open(os.path.join(self.dir, "pulse.log"), "a")
        self.proc = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
             "--use-pid-file=no", "--system=no", "--log-target=stderr",
             "-L", f"module-null-sink sink_name={self.SINK} rate=22050 channels=1",
             "-L", f"module-native-protocol-unix socket={socket} auth-anonymous=1"],
            stdout=self.log, stderr=self.log, env={k: v for k, v in env.items() if k != "PULSE_SERVER"})

    def _wait_ready(self, env):
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                return False
            if subprocess.run(["pactl", "info"], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0:
                subprocess.run(["pactl", "set-default-sink", self.SINK], env=env, check=False)
                return True
            time.sleep(0.1)
        return False

    def kill(self):
        """Kills the server at once, as a crash would; its clients lose their streams."""
        self.proc.kill()
        self.proc.wait()

    def restart(self):
        """Starts the server again on the same socket after kill()."""
        self._launch(self.env)
        assert self._wait_ready(self.env), "PulseAudio did not come back"

    def record(self, path=None, rate=16000):
        path = path or os.path.join(self.dir, "monitor.raw")
        rec = Recorder(self.env, f"{self.SINK}.monitor", rate, path)
        time.sleep(0.3)  # parec needs a moment before its stream runs
        self.restart_clock()
        return rec

    def restart_clock(self):
        """Makes the null sink keep time like a sound card from now on.

        While nobody listens, the null sink renders up to 2 s ahead, and unlike a sound card it can
        rewind only as far as its new, shorter latency when a stream connects: the first stream would
        wait out the rest of that block. Suspending and resuming restarts its clock at the latency
        the monitor recording asks for."""
        for state in ("1", "0"):
            subprocess.run(["pactl", "suspend-sink", self.SINK, state], env=self.env, check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def __exit__(self, *exc):
        if self.proc:
            stop(self.proc, 5)
        if self.dir:
            shutil.rmtree(self.dir, ignore_errors=True)
        return False


def speech_segments(samples, rate, threshold=300.0, frame_ms=10, min_gap_ms=300, min_len_ms=60):
    """Non-silent stretches of the recording as (start_s, end_s), short pauses inside speech merged."""
    frame = max(1, rate * frame_ms // 1000)
    active = []
    for i in range(0, len(samples) - frame + 1, frame):
        chunk = samples[i:i + frame]
        rms = math.sqrt(sum(s * s for s in chunk) / frame)
        active.append(rms > threshold)
    segs = []
    start = None
    last_on = None
    for idx, on in enumerate(active):
        if on:
            if start is None:
                start = idx
            elif (idx - last_on - 1) * frame_ms >= min_gap_ms:
                segs.append((start, last_on))
                start = idx
            last_on = idx
    if start is not None:
        segs.append((start, last_on))
    return [(s * frame_ms / 1000.0, (e + 1) * frame_ms / 1000.0) for s, e in segs
            if (e + 1 - s) * frame_ms >= min_len_ms]


def xdotool(*args, env, check=True, timeout=10):
    r = subprocess.run(["xdotool", *map(str, args)], env=env, capture_output=True, text=True,
                       timeout=timeout)
    if check and r.returncode != 0:
        raise AssertionError(f"xdotool {' '.join(map(str, args))} failed: {r.stderr.strip()}")
    return r.stdout.strip()


def press(wid, key, env):
    """Presses key in the window. A key that closes the window (Return on a box) leaves xdotool's release
    to a window that is gone: xdotool then fails with BadWindow and the key stays down in the server,
    auto-repeating into whatever window takes the focus next (the next box closes at once). So a failed
    press is always followed by a release at the server."""
    if subprocess.run(["xdotool", "key", "--window", str(wid), key], env=env, capture_output=True,
                      timeout=10).returncode != 0:
        xdotool("keyup", key, env=env, check=False)


def visible_windows(env):
    out = xdotool("search", "--onlyvisible", "--name", ".*", env=env, check=False)
    return [w for w in out.split() if w]


def window_name(wid, env):
    return xdotool("getwindowname", wid, env=env, check=False)


def find_window(title, env, timeout=10.0, visible=True, gone=None):
    """The id of a mapped window whose name is exactly title (multibyte titles compared by getwindowname).
    With gone (a process), stops looking once that process has ended."""
    deadline = time.monotonic() + timeout
    while True:
        if gone is not None and gone.poll() is not None:
            return None
        wins = visible_windows(env) if visible else xdotool(
            "search", "--name", ".*", env=env, check=False).split()
        for w in wins:
            if window_name(w, env) == title:
                return w
        if time.monotonic() >= deadline:
            return None
        time.sleep(0.1)


def window_geometry(wid, env):
    """(x, y, width, height) of the window in screen pixels."""
    out = xdotool("getwindowgeometry", "--shell", wid, env=env)
    vals = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(vals["X"]), int(vals["Y"]), int(vals["WIDTH"]), int(vals["HEIGHT"])


def click_at(x, y, env):
    # Not "mousemove --sync": it waits for a motion event, and none comes when the pointer is already there.
    xdotool("mousemove", x, y, env=env)
    time.sleep(0.05)
    xdotool("click", 1, env=env)


def screenshot(path, env, window="root"):
    if not shutil.which("import"):
        raise AssertionError("ImageMagick's import is missing (run scripts/install-deps.sh)")
    subprocess.run(["import", "-window", window, path], env=env, check=True, timeout=20)


def wait_exit(proc, timeout):
    try:
        return proc.wait(timeout)
    except subprocess.TimeoutExpired:
        return None


def stop(proc, timeout=3):
    if proc.poll() is None:
        proc.terminate()
        if wait_exit(proc, timeout) is None:
            proc.kill()
            proc.wait()
    return proc.returncode


def close_window(wid, env):
    """Asks the window to close as a window manager's close button does (WM_DELETE_WINDOW)."""
    import ctypes
    import ctypes.util

    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class XEvent(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    dpy = x11.XOpenDisplay(env["DISPLAY"].encode())
    if not dpy:
        raise AssertionError("cannot open the X display to close a window")
    try:
        ev = XEvent()
        ev.xclient.type = 33  # ClientMessage
        ev.xclient.window = int(wid)
        ev.xclient.message_type = x11.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
        ev.xclient.format = 32
        ev.xclient.data[0] = x11.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
        ev.xclient.data[1] = 0  # CurrentTime
        x11.XSendEvent(dpy, int(wid), 0, 0, ctypes.byref(ev))
        x11.XFlush(dpy)
    finally:
        x11.XCloseDisplay(dpy)


MAIN_TITLE = "タリボックス-数字（Ｔａｌｌｙｖｏｘ－Ｎｕｍｂｅｒ）"
TWIPS_PER_PIXEL = 15  # Xvfb runs at 96 DPI
COMMAND6_TWIPS = (5730, 330)


def autoend_lines(path):
    """The auto-end's lines of the drill's trace, without their time stamp and event name."""
    try:
        with open(path, encoding="utf-8") as f:
            lines = f.read().splitlines()
    except FileNotFoundError:
        return []
    return [parts[2] for parts in (line.split(" ", 2) for line in lines) if len(parts) == 3 and parts[1] == "autoend"]


def expected_character_position(main_geometry):
    """Where the drill must put its character: the main window's left edge and bottom, in twips over 20,
    halves to even (Python's round)."""
    mx, my, _, mh = main_geometry
    return (round(mx * TWIPS_PER_PIXEL / 20), round((my + mh) * TWIPS_PER_PIXEL / 20))


class Drill:
    """The real drill with its event trace on (TVX_TRACE_FILE: drill, auto-end and audio events), under the given
    X server; its output goes to tmp/drill.log. Controls are found from their twips positions, the
    client area's origin coming from Command6's traced geometry."""

    def __init__(self, bin_dir, env, tmp, wrap=None, extra_env=None, preexec_fn=None, timeout=15):
        self.trace = os.path.join(tmp, "trace.txt")
        if os.path.exists(self.trace):
            os.remove(self.trace)
        self.env = dict(env, TVX_TRACE_FILE=self.trace, **(extra_env or {}))
        self.log_path = os.path.join(tmp, "drill.log")
        self.log = open(self.log_path, "w")
        self.started = time.monotonic()
        self.proc = subprocess.Popen((wrap or []) + [os.path.join(bin_dir, "Tallyvox-Number")], env=self.env,
                                     stdout=self.log, stderr=subprocess.STDOUT, cwd=tmp, preexec_fn=preexec_fn)
        self.wid = find_window(MAIN_TITLE, self.env, timeout=timeout)
        if not self.wid:
            stop(self.proc)
            raise AssertionError(f"the main window never appeared; output:\n{self.output()}")
        self.origin = self._client_origin()

    def output(self):
        if not self.log.closed:
            self.log.flush()
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def _client_origin(self):
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            for line in autoend_lines(self.trace):
                w = line.split()
                if len(w) == 6 and w[:2] == ["geometry", "Command6"]:
                    return (int(w[2]) - COMMAND6_TWIPS[0] // TWIPS_PER_PIXEL,
                            int(w[3]) - COMMAND6_TWIPS[1] // TWIPS_PER_PIXEL)
            time.sleep(0.1)
        raise AssertionError("no Command6 geometry in the auto-end trace")

    def point(self, tx, ty):
        """Screen pixel of the client-area point (tx, ty) in twips."""
        return (self.origin[0] + round(tx / TWIPS_PER_PIXEL), self.origin[1] + round(ty / TWIPS_PER_PIXEL))

    def centre(self, left, top, width, height):
        return self.point(left + width / 2, top + height / 2)

    def close(self, timeout=10):
        """Closes the window as the learner would; returns the exit code (None if it did not end)."""
        close_window(self.wid, self.env)
        rc = wait_exit(self.proc, timeout)
        self.log.close()
        return rc
