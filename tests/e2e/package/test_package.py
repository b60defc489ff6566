"""Builds the Debian package from this source tree, checks it with lintian and the desktop validators,
unpacks it with dpkg-deb -x (never installing it) and starts the unpacked drill through its usr/bin link
under a private X server. The main window maps and the character stands at the placement point only
when the drill found PEEDY.acs beside its real executable, not beside the link."""

import glob
import os
import shutil
import struct
import subprocess
import tempfile
import time

import tvx_e2e as e2e

LIB = "usr/lib/tallyvox-number"
RUNTIME_DEPENDS = ["espeak-ng-data", "open-jtalk", "open-jtalk-mecab-naist-jdic", "hts-voice-nitech-jp-atr503-m001",
                   "fonts-ipafont-gothic", "libqt6svg6", "libpulse0", "libespeak-ng1", "libflite1"]


def run(cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, **kw)


def complaints(output):
    """Error and warning lines of lintian, desktop-file-validate or appstreamcli."""
    return [line for line in output.splitlines() if line.startswith(("E:", "W:")) or ": error:" in line
            or ": warning:" in line]


def build(source_dir, out):
    for tool in ("dpkg-buildpackage", "dh", "lintian", "desktop-file-validate", "appstreamcli"):
        if not shutil.which(tool):
            raise e2e.Skip(f"{tool} is not installed (run scripts/install-deps.sh)")
    began = time.monotonic()
    log = os.path.join(out, "build-deb.log")
    with open(log, "w") as f:
        rc = subprocess.run(["bash", os.path.join(source_dir, "scripts", "build-deb.sh"), "--no-check", out],
                            stdout=f, stderr=subprocess.STDOUT).returncode
    if rc != 0:
        with open(log, encoding="utf-8", errors="replace") as f:
            tail = f.read()[-4000:]
        raise AssertionError(f"the package build failed ({rc}):\n{tail}")
    debs = glob.glob(os.path.join(out, "tallyvox-number_*.deb"))
    assert len(debs) == 1, debs
    print(f"package built in {time.monotonic() - began:.0f} s: {os.path.basename(debs[0])}", flush=True)
    return debs[0]


def check_control(deb):
    r = run(["lintian", "--fail-on", "error,warning", deb])
    assert r.returncode == 0 and not complaints(r.stdout + r.stderr), f"lintian:\n{r.stdout}{r.stderr}"
    # The voice comes from contrib: a package depending on it cannot be in main.
    section = run(["dpkg-deb", "-f", deb, "Section"], check=True).stdout.strip()
    assert section == "contrib/education", f"Section: {section}"
    depends = run(["dpkg-deb", "-f", deb, "Depends"], check=True).stdout
    names = {d.strip().split(" ")[0] for d in depends.replace("|", ",").split(",")}
    missing = [p for p in RUNTIME_DEPENDS if p not in names]
    assert not missing, f"Depends lacks {missing}: {depends}"
    # shlibs filled in the libraries the programs and the charts module link.
    assert "libqt6widgets6" in names and "libqt6charts6" in names, depends


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    assert head[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG"
    return struct.unpack(">II", head[16:24])


def check_layout(root):
    lib = os.path.join(root, LIB)
    for prog in ("Tallyvox-Number", "TallyvoxNumberInstall"):
        assert os.access(os.path.join(lib, prog), os.X_OK), f"{prog} missing from {LIB}"
    assert os.path.isfile(os.path.join(lib, "PEEDY.acs")), f"PEEDY.acs missing from {LIB}"
    # The listening summary's charts are opened from beside the drill.
    assert os.path.isfile(os.path.join(lib, "tvx_rate_chart.so")), f"tvx_rate_chart.so missing from {LIB}"
    link = os.path.join(root, "usr/bin/tallyvox-number")
    assert os.path.islink(link), "usr/bin/tallyvox-number is not a symbolic link"
    assert os.readlink(link) == "../lib/tallyvox-number/Tallyvox-Number", os.readlink(link)
    assert os.listdir(os.path.join(root, "usr/bin")) == ["tallyvox-number"], "only the drill is on PATH"

    # One menu entry, the drill's; the installer launcher gets none.
    apps = os.path.join(root, "usr/share/applications")
    assert os.listdir(apps) == ["tallyvox-number.desktop"], os.listdir(apps)
    desktop = os.path.join(apps, "tallyvox-number.desktop")
    r = run(["desktop-file-validate", desktop])
    assert r.returncode == 0 and not (r.stdout + r.stderr).strip(), f"desktop-file-validate:\n{r.stdout}{r.stderr}"
    with open(desktop, encoding="utf-8") as f:
        entry = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    assert entry["Exec"] == "tallyvox-number" and entry["Icon"] == "tallyvox-number", entry
    assert entry["Name[ja]"] == "タリボックス-数字" and entry["Categories"] == "Education;Languages;", entry

    icons = os.path.join(root, "usr/share/icons/hicolor")
    assert os.path.isfile(os.path.join(icons, "scalable/apps/tallyvox-number.svg"))
    for size in (48, 128, 256):
        png = os.path.join(icons, f"{size}x{size}/apps/tallyvox-number.png")
        assert png_size(png) == (size, size), png

    metainfo = glob.glob(os.path.join(root, "usr/share/metainfo/*.metainfo.xml"))
    assert len(metainfo) == 1, metainfo
    r = run(["appstreamcli", "validate", "--no-net", metainfo[0]])
    assert r.returncode == 0 and not complaints(r.stdout), f"appstreamcli:\n{r.stdout}{r.stderr}"

    for page in ("tallyvox-number.1.gz", "TallyvoxNumberInstall.1.gz"):
        assert os.path.isfile(os.path.join(root, "usr/share/man/man1", page)), f"man page {page} missing"


def check_start_through_link(root, x, cwd):
    proc = subprocess.Popen([os.path.join(root, "usr/bin/tallyvox-number")], env=x.env, cwd=cwd,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    try:
        main = e2e.find_window(e2e.MAIN_TITLE, x.env, timeout=20)
        if not main:
            e2e.stop(proc)
            raise AssertionError(f"the main window never appeared; output:\n{proc.stdout.read()}")
        peedy = e2e.find_window("peedy", x.env, timeout=5)
        assert peedy, "the character window never appeared"
        want = e2e.expected_character_position(e2e.window_geometry(main, x.env))
        time.sleep(0.5)
        got = e2e.window_geometry(peedy, x.env)[:2]
        assert got == want, f"character at {got}, expected {want}"
        e2e.close_window(main, x.env)
        rc = e2e.wait_exit(proc, 5)
        assert rc == 0, f"exit code {rc} after closing"
    finally:
        e2e.stop(proc)


def main():
    args = e2e.parse_args(lambda p: p.add_argument("--source-dir", required=True))
    out = os.path.join(args.test_dir, "package")
    os.makedirs(out, exist_ok=True)
    deb = build(args.source_dir, out)
    check_control(deb)
    with tempfile.TemporaryDirectory(prefix="tvx-deb-") as root:
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        check_layout(root)
        with e2e.Xvfb() as x:
            check_start_through_link(root, x, cwd=out)


if __name__ == "__main__":
    e2e.run_main(main)
