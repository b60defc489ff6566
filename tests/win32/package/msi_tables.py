"""Tallyvox-Number.msi as msiinfo reads it: the tables hold what the package claims."""

import argparse
import os
import re
import subprocess
import tempfile
import sys

UPGRADE_CODE = "{6C1D5A7E-3F0B-4C2A-9E61-7B2D4F8A9C13}"


def table(msi, name):
    # msiinfo writes a table's binary streams (Icon/...) into its working folder: keep them out of the tree.
    with tempfile.TemporaryDirectory() as scratch:
        out = subprocess.run(["msiinfo", "export", os.path.abspath(msi), name], capture_output=True, text=True,
                             check=True, cwd=scratch).stdout
    lines = out.splitlines()
    header = lines[0].split("\t")
    return [dict(zip(header, line.split("\t"))) for line in lines[3:]]


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--msi", required=True)
    p.add_argument("--drill", required=True)
    p.add_argument("--character", required=True)
    p.add_argument("--version", required=True)
    p.add_argument("--arch", required=True)
    a = p.parse_args()

    props = {r["Property"]: r["Value"] for r in table(a.msi, "Property")}
    expected = {"ProductName": "Tallyvox-Number", "ProductVersion": a.version, "UpgradeCode": UPGRADE_CODE,
                "ARPPRODUCTICON": "TallyvoxNumber.ico", "ALLUSERS": "1", "Manufacturer": "Tallyvox"}
    for k, v in expected.items():
        assert props.get(k) == v, f"property {k}: {props.get(k)!r}, expected {v!r}"

    files = {r["FileName"]: r for r in table(a.msi, "File")}
    assert sorted(files) == ["PEEDY.acs", "Tallyvox-Number.exe"], f"files {sorted(files)}"
    # The package carries the files of this build, not some older copy.
    assert int(files["Tallyvox-Number.exe"]["FileSize"]) == os.path.getsize(a.drill)
    assert int(files["PEEDY.acs"]["FileSize"]) == os.path.getsize(a.character)

    comps = {r["Component"]: r for r in table(a.msi, "Component")}
    dirs = {r["Directory"]: r for r in table(a.msi, "Directory")}
    for f in files.values():
        d = comps[f["Component_"]]["Directory_"]
        assert dirs[d]["DefaultDir"] == "Tallyvox-Number", f"{f['FileName']} in {dirs[d]}"
        program_files = "ProgramFiles64Folder" if a.arch == "x64" else "ProgramFilesFolder"
        assert dirs[d]["Directory_Parent"] == program_files, f"{f['FileName']} under {dirs[d]['Directory_Parent']}"
        # 64-bit components (attribute 256) in the 64-bit package only.
        assert (int(comps[f["Component_"]]["Attributes"]) & 256 != 0) == (a.arch == "x64")

    shortcuts = table(a.msi, "Shortcut")
    assert len(shortcuts) == 1, shortcuts
    s = shortcuts[0]
    assert (s["Directory_"], s["Name"], s["Target"], s["Icon_"]) == (
        "ProgramMenuFolder", "Tallyvox-Number", "[INSTALLDIR]Tallyvox-Number.exe", "TallyvoxNumber.ico"), s

    icons = [r["Name"] for r in table(a.msi, "Icon")]
    assert icons == ["TallyvoxNumber.ico"], icons
    upgrades = table(a.msi, "Upgrade")
    assert {u["UpgradeCode"] for u in upgrades} == {UPGRADE_CODE}, upgrades
    # A newer package finds and removes this one: the detection row reaches up to this version.
    assert any(u["ActionProperty"] == "WIX_UPGRADE_DETECTED" for u in upgrades), upgrades

    info = subprocess.run(["msiinfo", "suminfo", a.msi], capture_output=True, text=True, check=True).stdout
    template = re.search(r"Template: (\S+)", info).group(1)
    # Windows Installer names a 32-bit package's platform "Intel".
    platform = {"x64": "x64", "x86": "Intel"}[a.arch]
    assert template.startswith(platform + ";"), f"template {template}"
    print("MSI tables: as claimed", flush=True)


if __name__ == "__main__":
    try:
        main()
    except AssertionError as e:
        print(f"FAILED: {e}", flush=True)
        sys.exit(1)
