"""The real TallyvoxNumberInstall.exe under Wine, beside stand-in installers: the consent box, the
chains of each edition, the two error boxes and the empty Form1 after them. Boxes are read back from
inside the Wine session and answered with xdotool clicks."""

import argparse
import os
import shutil
import sys
import tempfile
import time

import tvx_e2e
import tvx_wine

TITLE = "TallyvoxNumberInstall"
CONSENT = "英語学習ソフト Tallyvox-Number （for Vista, XP, Me, 98, 95） をインストールする？"
CHAINS = {
    "95": ["InstMsiA.exe", "Tallyvox-Number.msi", "MsAgent.exe", "tv_enua.exe", "Agtx0411.exe", "lhttsjpj.exe"],
    "98": ["Tallyvox-Number.msi", "tv_enua.exe", "Agtx0411.exe", "lhttsjpj.exe", "spchapi.exe"],
    "XP": ["Tallyvox-Number.msi", "tv_enua.exe", "spchapi.exe", "Agtx0411.exe", "lhttsjpj.exe"],
}
ALL = sorted({n for c in CHAINS.values() for n in c})
VERSION_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion"
NT_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion"
CLASSES = r"HKLM\Software\Classes"


def sequential(names):
    return [line for n in names for line in (f"start {n}", f"end {n}")]


class Folder:
    """A setup folder: the launcher and stand-in installers; packages open with the stand-in."""

    def __init__(self, args, installers):
        self.dir = tempfile.mkdtemp(prefix="tvx-setup-")
        shutil.copy2(os.path.join(args.bin_dir, TITLE + ".exe"), self.dir)
        for name in installers:
            if name.endswith(".exe"):
                shutil.copy2(args.standin, os.path.join(self.dir, name))
            else:
                with open(os.path.join(self.dir, name), "w") as f:
                    f.write("placeholder package\n")
        with open(os.path.join(self.dir, "tv_enua.exe.exit"), "w") as f:
            f.write("1603")  # an installer that fails still counts as finished

    def log(self):
        path = os.path.join(self.dir, "install.log")
        if not os.path.exists(path):
            return []
        with open(path) as f:
            return [line for line in f.read().splitlines() if line]

    def cleanup(self):
        shutil.rmtree(self.dir, ignore_errors=True)


def set_edition(s, product_name):
    """The 9x names are read from the first key; NT keeps its own under the second one."""
    if product_name.startswith("Microsoft Windows 9") or product_name.startswith("Microsoft Windows ME"):
        s.prefix.reg_set(VERSION_KEY, "ProductName", product_name, s.env)
    else:
        s.prefix.reg_delete(VERSION_KEY, "ProductName", s.env)
        s.prefix.reg_set(NT_KEY, "ProductName", product_name, s.env)


def box(reader, proc, what):
    w = reader.find(TITLE, timeout=30, gone=proc)
    assert w, f"no {what} box appeared (launcher exit code {proc.poll()})"
    return w


def answer(reader, w, button):
    found = tvx_wine.buttons(w)
    assert button in found, f"box without {button}: {sorted(found)}"
    tvx_wine.click_control(found[button], reader.session.xenv)
    reader.wait_gone(w["hwnd"])


def finish(proc, what, timeout=30):
    rc = tvx_e2e.wait_exit(proc, timeout)
    if rc is None:
        tvx_e2e.stop(proc)
        raise AssertionError(f"{what}: the launcher did not end")
    return rc


def consent(reader, proc, screenshot=None):
    w = box(reader, proc, "consent")
    assert tvx_wine.static_texts(w) == [CONSENT], f"consent text {tvx_wine.static_texts(w)!r}"
    assert sorted(tvx_wine.buttons(w)) == ["No", "Yes"], f"consent buttons {sorted(tvx_wine.buttons(w))}"
    assert not tvx_wine.has_icon(w), "the consent box shows an icon"
    if screenshot:
        time.sleep(0.5)
        tvx_wine.screenshot_window(w, screenshot, reader.session.xenv, margin=4)
    return w


def no_starts_nothing(s, reader, args):
    f = Folder(args, ALL)
    try:
        proc = s.prefix.start([os.path.join(f.dir, TITLE + ".exe")], s.env)
        shot = os.path.join(args.screenshots, "consent-box-windows.png") if args.screenshots else None
        answer(reader, consent(reader, proc, shot), "No")
        assert finish(proc, "No") == 0
        assert f.log() == [], f"No started {f.log()}"
        assert not reader.find("Form1", timeout=0), "No showed Form1"
    finally:
        f.cleanup()


def yes_runs_each_chain(s, reader, args):
    for product, chain in [("Microsoft Windows 95", "95"), ("Microsoft Windows ME", "98"),
                           ("Microsoft Windows XP Professional", "XP"), ("Microsoft Windows 2000", "XP")]:
        set_edition(s, product)
        f = Folder(args, ALL)
        try:
            proc = s.prefix.start([os.path.join(f.dir, TITLE + ".exe")], s.env)
            answer(reader, consent(reader, proc), "Yes")
            assert finish(proc, product) == 0
            assert f.log() == sequential(CHAINS[chain]), f"{product}: {f.log()}"
        finally:
            f.cleanup()


def error_then_form1(s, reader, args, product, missing, message, ran):
    set_edition(s, product)
    f = Folder(args, [n for n in ALL if n != missing])
    try:
        proc = s.prefix.start([os.path.join(f.dir, TITLE + ".exe")], s.env)
        answer(reader, consent(reader, proc), "Yes")
        # The shell reports the missing file in a box of its own first (the launch record asks for no
        # silence); the launcher's message follows once it is answered.
        shell = reader.find(pred=lambda w: w["pid"] != 0 and w["text"] != TITLE and "OK" in tvx_wine.buttons(w),
                            timeout=30, gone=proc)
        assert shell, f"{missing}: the shell reported nothing"
        answer(reader, shell, "OK")
        w = box(reader, proc, message)
        assert tvx_wine.static_texts(w) == [message], f"{missing}: {tvx_wine.static_texts(w)!r}"
        assert sorted(tvx_wine.buttons(w)) == ["OK"], f"{message}: buttons {sorted(tvx_wine.buttons(w))}"
        assert not tvx_wine.has_icon(w)
        assert f.log() == sequential(ran), f"{missing}: {f.log()}"
        answer(reader, w, "OK")
        form = reader.find("Form1", timeout=15, gone=proc)
        assert form, "no Form1 after the error"
        assert form["children"] == [], f"Form1 has controls: {form['children']}"
        assert form["client"] == [312, 213], f"Form1 client area {form['client']}"
        time.sleep(1)
        assert proc.poll() is None, "the launcher ended while Form1 was open"
        wid = tvx_e2e.find_window("Form1", s.xenv, timeout=10)
        assert wid, "Form1 is not mapped on the X server"
        tvx_e2e.close_window(wid, s.xenv)
        assert finish(proc, "Form1 closed", timeout=15) == 0
        assert f.log() == sequential(ran), f"{missing}: {f.log()}"
    finally:
        f.cleanup()


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--bin-dir", required=True)
    p.add_argument("--test-dir", required=True)
    p.add_argument("--prefix", required=True)
    p.add_argument("--screenshots", default=None)
    args = p.parse_args()
    args.standin = os.path.join(args.test_dir, "tvx_installer_standin.exe")
    helper = os.path.join(args.test_dir, "tvx_window_text.exe")
    for path in (args.standin, helper, os.path.join(args.bin_dir, TITLE + ".exe")):
        assert os.path.exists(path), f"{path} is not built"
    with tvx_wine.Session(args.prefix) as s:
        reader = tvx_wine.WindowReader(s, helper)
        # Packages open with the stand-in for the length of the test; msiexec again afterwards.
        s.prefix.reg_set(CLASSES + r"\.msi", "", "TvxTest.Package", s.env)
        s.prefix.reg_set(CLASSES + r"\TvxTest.Package\shell\Open\command", "",
                         f'"{s.prefix.windows_path(args.standin)}" "%1"', s.env)
        try:
            no_starts_nothing(s, reader, args)
            yes_runs_each_chain(s, reader, args)
            error_then_form1(s, reader, args, "Microsoft Windows XP", "tv_enua.exe", "ShellExecuteEx Error",
                             ["Tallyvox-Number.msi"])
            error_then_form1(s, reader, args, "Microsoft Windows 98", "Tallyvox-Number.msi",
                             "WaitForSingleObject Error", [])
            error_then_form1(s, reader, args, "Microsoft Windows 95", "InstMsiA.exe", "ShellExecuteEx Error", [])
        finally:
            s.prefix.reg_set(CLASSES + r"\.msi", "", "Msi.Package", s.env)
            s.prefix.reg_delete(CLASSES + r"\TvxTest.Package", None, s.env)
    print("launcher under Wine: all cases passed", flush=True)


if __name__ == "__main__":
    try:
        main()
    except AssertionError as e:
        print(f"FAILED: {e}", flush=True)
        sys.exit(1)
