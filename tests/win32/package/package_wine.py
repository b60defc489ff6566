"""The setup folder for real under Wine: the launcher's XP chain runs the real Tallyvox-Number.msi
(msiexec is what "Open" starts for a package) and stand-ins for the third-party installers; the
installed drill then starts from Program Files; msiexec /x removes every file and the shortcut; and
installing a second time over the first works."""

import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

import tvx_e2e
import tvx_wine

TITLE = "TallyvoxNumberInstall"
DRILL_TITLE = "タリボックス-数字（Ｔａｌｌｙｖｏｘ－Ｎｕｍｂｅｒ）"
STAND_INS = ["tv_enua.exe", "spchapi.exe", "Agtx0411.exe", "lhttsjpj.exe"]
NT_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion"
VERSION_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion"


def installed(s, program_files):
    d = s.prefix.unix_path(program_files + r"\Tallyvox-Number")
    return {n: os.path.exists(os.path.join(d, n)) for n in ("Tallyvox-Number.exe", "PEEDY.acs")}, d


def shortcut(s):
    """The all-users Start menu on Windows; Wine 8's msi resolves ProgramMenuFolder to the user's own
    whatever ALLUSERS says, so the shortcut is looked for in both."""
    found = glob.glob(os.path.join(s.prefix.unix_path(r"C:\ProgramData"), "Microsoft/Windows/Start Menu/Programs",
                                   "Tallyvox-Number.lnk"))
    found += glob.glob(os.path.join(s.prefix.unix_path(r"C:\users"), "*", "AppData/Roaming/Microsoft/Windows",
                                    "Start Menu/Programs/Tallyvox-Number.lnk"))
    return found[0] if found else None


def product_code(msi):
    out = subprocess.run(["msiinfo", "export", msi, "Property"], capture_output=True, text=True, check=True).stdout
    return dict(line.split("\t", 1) for line in out.splitlines() if "\t" in line)["ProductCode"]


def uninstall_entry(s, code):
    """The Programs and Features entry of the product: its name and icon, or None."""
    r = s.prefix.run(["reg", "query", VERSION_KEY + "\\Uninstall\\" + code], s.env, check=False)
    if r.returncode != 0:
        return None
    return r.stdout.decode("utf-8", "replace")


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--bin-dir", required=True)
    p.add_argument("--test-dir", required=True)
    p.add_argument("--prefix", required=True)
    p.add_argument("--program-files", default=r"C:\Program Files")
    args = p.parse_args()
    standin = os.path.join(args.test_dir, "tvx_installer_standin.exe")
    helper = os.path.join(args.test_dir, "tvx_window_text.exe")
    msi = os.path.join(args.bin_dir, "Tallyvox-Number.msi")
    for path in (standin, helper, msi, os.path.join(args.bin_dir, TITLE + ".exe")):
        assert os.path.exists(path), f"{path} is not built"

    code = product_code(msi)
    setup = tempfile.mkdtemp(prefix="tvx-setup-")
    try:
        shutil.copy2(os.path.join(args.bin_dir, TITLE + ".exe"), setup)
        shutil.copy2(msi, setup)
        for name in STAND_INS:
            shutil.copy2(standin, os.path.join(setup, name))
        with tvx_wine.Session(args.prefix) as s:
            reader = tvx_wine.WindowReader(s, helper)
            s.prefix.reg_set(r"HKLM\Software\Classes\.msi", "", "Msi.Package", s.env)
            s.prefix.reg_delete(VERSION_KEY, "ProductName", s.env)
            s.prefix.reg_set(NT_KEY, "ProductName", "Microsoft Windows XP", s.env)
            setup_msi = s.prefix.windows_path(os.path.join(setup, "Tallyvox-Number.msi"))
            # A clean start: nothing of an earlier run left installed.
            s.prefix.run(["msiexec", "/x", setup_msi, "/qn"], s.env, check=False, timeout=300)

            proc = s.prefix.start([os.path.join(setup, TITLE + ".exe")], s.env)
            w = reader.find(TITLE, timeout=60, gone=proc)
            assert w, "no consent box"
            tvx_wine.click_control(tvx_wine.buttons(w)["Yes"], s.xenv)
            rc = tvx_e2e.wait_exit(proc, 300)
            assert rc == 0, f"the launcher ended with {rc}"
            with open(os.path.join(setup, "install.log")) as f:
                log = f.read().split()
            assert log == [x for n in STAND_INS for x in ("start", n, "end", n)], f"stand-ins: {log}"
            files, folder = installed(s, args.program_files)
            assert all(files.values()), f"installed: {files} in {folder}"
            assert shortcut(s), "no Start-menu shortcut"
            entry = uninstall_entry(s, code)
            assert entry and "Tallyvox-Number" in entry, f"Programs and Features: {entry}"
            # Its icon (ARPPRODUCTICON), which Windows shows there; Wine keeps it but writes no DisplayIcon.
            icon = s.prefix.unix_path("C:\\windows\\Installer\\" + code + "\\TallyvoxNumber.ico")
            assert os.path.exists(icon), "the product's icon was not installed"
            print(f"installed by the launcher's XP chain: {sorted(os.listdir(folder))}", flush=True)

            # The installed drill starts from there and shows its window.
            marker = os.path.join(setup, "ran.txt")
            env = dict(s.env, TVX_RAN_MARKER=s.prefix.windows_path(marker))
            drill = s.prefix.start([args.program_files + r"\Tallyvox-Number\Tallyvox-Number.exe"], env)
            w = reader.find(DRILL_TITLE, timeout=60, gone=drill)
            assert w, f"the installed drill showed no window (exit code {drill.poll()})"
            assert os.path.exists(marker), "the installed drill left no proof that it ran"
            wid = tvx_e2e.find_window(DRILL_TITLE, s.xenv, timeout=10)
            tvx_e2e.close_window(wid, s.xenv)
            assert tvx_e2e.wait_exit(drill, 30) == 0, "the drill did not end when closed"

            # A second install over the first.
            r = s.prefix.run(["msiexec", "/i", setup_msi, "/qn"], s.env, check=False, timeout=300)
            assert r.returncode == 0, f"second install: msiexec ended with {r.returncode}"
            files, _ = installed(s, args.program_files)
            assert all(files.values()) and uninstall_entry(s, code), f"after the second install: {files}"

            r = s.prefix.run(["msiexec", "/x", setup_msi, "/qn"], s.env, check=False, timeout=300)
            assert r.returncode == 0, f"msiexec /x ended with {r.returncode}"
            files, folder = installed(s, args.program_files)
            assert not any(files.values()) and not os.path.exists(folder), f"left after /x: {files}"
            assert not shortcut(s), "the shortcut stayed after /x"
            assert uninstall_entry(s, code) is None, "the Programs and Features entry stayed"
            print("msiexec /x: every file, the folder and the shortcut removed; reinstall worked", flush=True)
    finally:
        shutil.rmtree(setup, ignore_errors=True)


if __name__ == "__main__":
    try:
        main()
    except AssertionError as e:
        print(f"FAILED: {e}", flush=True)
        sys.exit(1)
