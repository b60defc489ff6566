"""Driving cross-built Windows programs under Wine for the end-to-end tests: a private X server with
openbox (without a window manager every modal loop costs Wine about 2 s), a Wine prefix of the test's
own under the build folder, the Japanese font replacements, window texts read back from inside the
session, xdotool clicks, and everything stopped at the end.

A Windows test never skips: when Wine, Xvfb or openbox cannot start, it fails.
"""

import argparse
import fcntl
import json
import os
import shutil
import subprocess
import tempfile
import time
from collections import namedtuple

import tvx_e2e

WINE_DIR = "/usr/lib/wine"

# Wine 8 draws Japanese menus, dialogs and message boxes as empty boxes until these faces are mapped.
FONT_REPLACEMENTS = {
    "ＭＳ ゴシック": "IPAGothic",
    "MS Gothic": "IPAGothic",
    "MS UI Gothic": "IPAGothic",
    "ＭＳ Ｐゴシック": "IPAPGothic",
    "MS PGothic": "IPAPGothic",
}


def wine_binary(bits=64):
    names = ["wine64", f"{WINE_DIR}/wine64"] if bits == 64 else ["wine", f"{WINE_DIR}/wine"]
    for n in names:
        path = shutil.which(n) or (n if os.path.isfile(n) and os.access(n, os.X_OK) else None)
        if path:
            return path
    raise AssertionError(f"Wine ({bits}-bit) is not installed (scripts/install-deps.sh installs it)")


def font_reg_text():
    lines = ["Windows Registry Editor Version 5.00", "", "[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]"]
    lines += [f'"{k}"="{v}"' for k, v in FONT_REPLACEMENTS.items()]
    return "\r\n".join(lines) + "\r\n"


class Prefix:
    """A Wine prefix at path, made and booted once (under a lock, so parallel tests share one boot), with
    the font replacements. env() is the environment for programs in it on the given X display."""

    def __init__(self, path, bits=64):
        self.path = os.path.abspath(path)
        self.wine = wine_binary(bits)
        self.wineserver = os.path.join(os.path.dirname(self.wine), "wineserver")
        if not os.access(self.wineserver, os.X_OK):
            self.wineserver = shutil.which("wineserver") or "wineserver"
        self.base_env = dict(os.environ, WINEPREFIX=self.path, WINEDEBUG="-all",
                             WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d")
        self.base_env.pop("WAYLAND_DISPLAY", None)
        self._boot()

    def _boot(self):
        os.makedirs(os.path.dirname(self.path), exist_ok=True)
        with open(self.path + ".lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if os.path.exists(os.path.join(self.path, ".tvx-gui-ready")):
                return
            shutil.rmtree(self.path, ignore_errors=True)
            env = dict(self.base_env)
            env.pop("DISPLAY", None)
            r = subprocess.run([self.wine, "wineboot", "--init"], env=env, capture_output=True, text=True,
                               timeout=300)
            reg = os.path.join(self.path, "tvx-fonts.reg")
            with open(reg, "w", encoding="utf-16") as f:
                f.write(font_reg_text())
            subprocess.run([self.wine, "regedit", "/S", reg], env=env, capture_output=True, timeout=120)
            subprocess.run([self.wineserver, "-w"], env=env, timeout=120)
            with open(os.path.join(self.path, "user.reg"), encoding="utf-8", errors="replace") as f:
                if "IPAGothic" not in f.read():
                    raise AssertionError(f"Wine could not boot {self.path} with the font replacements: "
                                         f"{r.stdout}{r.stderr}")
            open(os.path.join(self.path, ".tvx-gui-ready"), "w").close()

    def env(self, display_env):
        return dict(self.base_env, DISPLAY=display_env["DISPLAY"])

    def unix_path(self, windows_path):
        """C:\\x\\y -> the file in drive_c."""
        assert windows_path[1:3] == ":\\", windows_path
        return os.path.join(self.path, "drive_c", *windows_path[3:].split("\\"))

    def windows_path(self, unix_path):
        """Wine maps the whole file system to Z:."""
        return "Z:" + os.path.abspath(unix_path).replace("/", "\\")

    def run(self, args, env, timeout=120, check=True):
        """Output goes through files, not pipes: a Wine service that the program happens to start
        inherits them and would keep a pipe open long after the program has ended."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            r = subprocess.run([self.wine, *args], env=env, stdout=out, stderr=err, timeout=timeout)
            out.seek(0)
            err.seek(0)
            r.stdout, r.stderr = out.read(), err.read()
        if check and r.returncode != 0:
            raise AssertionError(f"wine {' '.join(args)} ended with {r.returncode}: "
                                 f"{r.stdout[-2000:]!r} {r.stderr[-2000:]!r}")
        return r

    def start(self, args, env, cwd="/"):
        return subprocess.Popen([self.wine, *args], env=env, cwd=cwd, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def reg_set(self, key, name, value, env):
        args = ["reg", "add", key, "/f"]
        args += ["/ve"] if name == "" else ["/v", name]
        args += ["/d", value]
        # Once under load, reg.exe ended with 1 and said nothing while the key was being written; a second
        # failure still fails the test, with both outputs.
        if self.run(args, env, check=False).returncode != 0:
            self.run(args, env)

    def reg_delete(self, key, name, env):
        args = ["reg", "delete", key, "/f"] + (["/v", name] if name is not None else [])
        self.run(args, env, check=False)

    def stop(self):
        subprocess.run([self.wineserver, "-k"], env=self.base_env, capture_output=True, timeout=60)
        subprocess.run([self.wineserver, "-w"], env=self.base_env, capture_output=True, timeout=60)


class Session:
    """Xvfb + openbox + a booted prefix; Wine's server and both X programs are stopped at the end.
    .env is the environment for Wine programs on that display."""

    def __init__(self, prefix_path, bits=64, width=1280, height=1024):
        self.prefix_path = prefix_path
        self.bits = bits
        self.size = (width, height)

    def __enter__(self):
        try:
            self.x = tvx_e2e.Xvfb(*self.size).__enter__()
        except tvx_e2e.Skip as e:
            raise AssertionError(str(e))
        try:
            self.wm = tvx_e2e.WindowManager(self.x.env).__enter__()
        except tvx_e2e.Skip as e:
            self.x.__exit__(None, None, None)
            raise AssertionError(str(e))
        try:
            self.prefix = Prefix(self.prefix_path, self.bits)
        except BaseException:
            self.wm.__exit__(None, None, None)
            self.x.__exit__(None, None, None)
            raise
        self.env = self.prefix.env(self.x.env)
        self.xenv = self.x.env
        # A persistent server, started once: otherwise each short helper run boots Wine's services anew.
        subprocess.run([self.prefix.wineserver, "-p"], env=self.env, timeout=60)
        self.prefix.run(["cmd", "/c", "exit"], self.env, timeout=120, check=False)
        return self

    def __exit__(self, *exc):
        self.prefix.stop()
        self.wm.__exit__(None, None, None)
        self.x.__exit__(None, None, None)
        return False


class WindowReader:
    """The visible top-level windows of the session, as tvx_window_text.exe reports them from inside."""

    def __init__(self, session, helper_exe):
        self.session = session
        self.helper = helper_exe

    def windows(self):
        r = self.session.prefix.run([self.helper], self.session.env, timeout=60, check=False)
        out = r.stdout.decode("utf-8", errors="replace")
        return [json.loads(line) for line in out.splitlines() if line.startswith("{")]

    def find(self, title=None, timeout=20.0, pred=None, gone=None):
        deadline = time.monotonic() + timeout
        while True:
            for w in self.windows():
                if (title is None or w["text"] == title) and (pred is None or pred(w)):
                    return w
            if time.monotonic() >= deadline or (gone is not None and gone.poll() is not None):
                return None
            time.sleep(0.2)

    def wait_gone(self, hwnd, timeout=15.0):
        deadline = time.monotonic() + timeout
        while any(w["hwnd"] == hwnd for w in self.windows()):
            if time.monotonic() >= deadline:
                raise AssertionError(f"window {hwnd} stayed")
            time.sleep(0.2)


def static_texts(window):
    """Texts of a box's static controls (a message box's text), without empty ones."""
    return [c["text"] for c in window["children"] if c["class"].lower() == "static" and c["text"]]


def has_icon(window):
    """Wine keeps an icon control in every message box; it holds an icon only when one was asked for."""
    return any(c.get("icon") for c in window["children"])


def buttons(window):
    return {c["text"].replace("&", ""): c for c in window["children"] if c["class"].lower() == "button"}


def click_control(control, env):
    """Clicks the middle of a control with xdotool (Wine's screen coordinates are the X root's)."""
    l, t, r, b = control["rect"]
    tvx_e2e.click_at((l + r) // 2, (t + b) // 2, env)


def screenshot_window(window, path, env, margin=0):
    """A screenshot of a window's rectangle, cut from the root window."""
    l, t, r, b = window["rect"]
    tmp = path + ".full.png"
    tvx_e2e.screenshot(tmp, env)
    subprocess.run(["convert", tmp, "-crop", f"{r - l + 2 * margin}x{b - t + 2 * margin}+{l - margin}+{t - margin}",
                    "+repage", path], check=True, timeout=30)
    os.remove(tmp)


SPVOICE_CLSID = "{96749377-3391-11D2-9EE3-00C04F797396}"
VOICE_TOKENS = r"HKLM\SOFTWARE\Microsoft\Speech\Voices\Tokens"


def register_fake_spvoice(session, dll):
    """Our SpVoice double as CLSID_SpVoice (HKLM: Wine does not look at HKCU for it)."""
    key = rf"HKLM\Software\Classes\CLSID\{SPVOICE_CLSID}\InprocServer32"
    session.prefix.reg_set(key, "", session.prefix.windows_path(dll), session.env)
    session.prefix.reg_set(key, "ThreadingModel", "Both", session.env)


def add_voice(session, name, language):
    """A voice token whose Attributes\\Language lists language ("409", "411")."""
    session.prefix.reg_set(rf"{VOICE_TOKENS}\{name}", "", name, session.env)
    session.prefix.reg_set(rf"{VOICE_TOKENS}\{name}\Attributes", "Language", language, session.env)


def remove_voice(session, name):
    session.prefix.reg_delete(rf"{VOICE_TOKENS}\{name}", None, session.env)


DRILL_TITLE = "タリボックス-数字（Ｔａｌｌｙｖｏｘ－Ｎｕｍｂｅｒ）"
ENGLISH_VOICE, JAPANESE_VOICE = "TvxEnglish", "TvxJapanese"


def drill_test_args(*helpers):
    """The drill tests' arguments; .helpers maps each helper named (built into --test-dir) to its path."""
    p = argparse.ArgumentParser()
    p.add_argument("--exe", required=True)
    p.add_argument("--character", required=True)
    p.add_argument("--test-dir", required=True)
    p.add_argument("--prefix", required=True)
    p.add_argument("--screenshots", default=None)
    args = p.parse_args()
    args.helpers = {h: os.path.join(args.test_dir, h) for h in ("tvx_window_text.exe", "tvx_fake_spvoice.dll",
                                                                 *helpers)}
    for path in (args.exe, args.character, *args.helpers.values()):
        assert os.path.exists(path), f"{path} is not built"
    return args


def prepare_drill_session(session, fake_dll):
    """Our SpVoice double and one English and one Japanese voice, as the drill's tests hear them."""
    register_fake_spvoice(session, fake_dll)
    add_voice(session, ENGLISH_VOICE, "409")
    add_voice(session, JAPANESE_VOICE, "411;11")


Speak = namedtuple("Speak", "ms flags voice rate text")


class Drill:
    """The real Tallyvox-Number.exe, copied into a folder of its own (with the character file unless
    told otherwise), its Speak calls logged by the SpVoice double and its proof of running in ran.txt."""

    def __init__(self, s, reader, exe, character=None):
        self.s, self.reader = s, reader
        self.dir = tempfile.mkdtemp(prefix="tvx-drill-")
        shutil.copy2(exe, self.dir)
        if character:
            shutil.copy2(character, self.dir)
        self.log = os.path.join(self.dir, "sapi.log")
        self.marker = os.path.join(self.dir, "ran.txt")
        env = dict(s.env, TVX_FAKE_SAPI_LOG=s.prefix.windows_path(self.log),
                   TVX_RAN_MARKER=s.prefix.windows_path(self.marker))
        self.proc = s.prefix.start([os.path.join(self.dir, os.path.basename(exe))], env)

    def window(self, title=DRILL_TITLE, timeout=60):
        return self.reader.find(title, timeout=timeout, gone=self.proc)

    def control(self, w, text=None, id=None):
        for c in w["children"]:
            if (text is not None and c["text"] == text) or (id is not None and c["id"] == id):
                return c
        raise AssertionError(f"no control {text or id} in {w['text']}")

    def click(self, w, text=None, id=None):
        click_control(self.control(w, text, id), self.s.xenv)

    def speaks(self):
        """Every Speak the double logged, in order."""
        out = []
        if not os.path.exists(self.log):
            return out
        with open(self.log, encoding="utf-8") as f:
            for line in f:
                parts = line.rstrip("\n").split(" ", 5)
                if len(parts) == 6 and parts[1] == "speak":
                    ms, _, flags, voice, rate, text = parts
                    out.append(Speak(float(ms), int(flags), voice, int(rate), text))
        return out

    def close(self):
        if self.proc.poll() is None:
            wid = tvx_e2e.find_window(DRILL_TITLE, self.s.xenv, timeout=5)
            if wid:
                tvx_e2e.close_window(wid, self.s.xenv)
            if tvx_e2e.wait_exit(self.proc, 20) is None:
                tvx_e2e.stop(self.proc)
        shutil.rmtree(self.dir, ignore_errors=True)
