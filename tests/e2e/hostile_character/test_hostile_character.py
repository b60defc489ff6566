#!/usr/bin/env python3
"""The real drill with hostile character files beside it, as a learner would meet them: each gives
one box that shows up at once and fits on the screen, exit code 1, and no main window; a file that
names a FIFO never blocks start-up. The files come from the fuzzer's seed corpus."""
import json
import os
import shutil
import subprocess
import tempfile
import time

import tvx_e2e as e2e

SCREEN = (1280, 1024)
MAIN_TITLE = "タリボックス-数字（Ｔａｌｌｙｖｏｘ－Ｎｕｍｂｅｒ）"
BOX_TITLE = "Tallyvox-Number"


def hostile_files(corpus, tmp):
    """(name, document, words the message must hold)."""
    valid = json.load(open(os.path.join(corpus, "valid.acs"), encoding="utf-8"))
    fifo = os.path.join(tmp, "fifo")
    os.mkfifo(fifo)

    def frame(svg):
        doc = json.loads(json.dumps(valid))
        doc["frames"]["b2"] = svg
        return doc

    def top(**kw):
        doc = json.loads(json.dumps(valid))
        doc.update(kw)
        return doc

    xlink = 'xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"'
    return [
        ("image naming a FIFO", frame(f'<svg {xlink}><image xlink:href="{fifo}" width="9" height="9"/></svg>'),
         ["(<image>)"]),
        ("markup and a FIFO image in the id", top(id=f'<b>BIG</b><img src="{fifo}">'), ['"<b>BIG</b><img src=']),
        ("500 newlines in the id", top(id="\n" * 500), ["\\n\\n\\n"]),
        ("a 5 MB id", top(id="x" * (5 * 1024 * 1024)), ["xxx…"]),
        ("NUL in the id", top(id="pee\u0000dy"), ['"pee\\0dy", not "peedy"']),
        ("width 1e308", top(size={"width": 1e308, "height": 32}), ["not 1e+308"]),
        ("version 1.0000001", top(version=1.0000001), ["format version 1.0000001;"]),
        ("frames of 1024 x 1024", top(size={"width": 1024, "height": 1024}), ["from 16 to 512, not 1024"]),
    ]


def run_case(args, x, tmp, name, doc, words):
    d = tempfile.mkdtemp(dir=tmp)
    exe = os.path.join(d, "Tallyvox-Number")
    shutil.copy2(os.path.join(args.bin_dir, "Tallyvox-Number"), exe)
    with open(os.path.join(d, "PEEDY.acs"), "w", encoding="utf-8") as f:
        json.dump(doc, f, ensure_ascii=False)
    started = time.monotonic()
    proc = subprocess.Popen([exe], env=x.env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors="replace")
    try:
        box = e2e.find_window(BOX_TITLE, x.env, timeout=15, gone=proc)
        assert box, f"{name}: no message box within 15 s (exit code {proc.poll()})"
        shown_after = time.monotonic() - started
        bx, by, bw, bh = e2e.window_geometry(box, x.env)
        assert bx >= 0 and by >= 0 and bx + bw <= SCREEN[0] and by + bh <= SCREEN[1], \
            f"{name}: the box {bw}x{bh} at {bx},{by} is not wholly on the {SCREEN} screen"
        assert e2e.find_window(MAIN_TITLE, x.env, timeout=0) is None, f"{name}: the main window mapped"
        # The first key may come before the box takes keys: press until the program ends.
        deadline = time.monotonic() + 10
        while proc.poll() is None and time.monotonic() < deadline:
            e2e.press(box, "Return", x.env)
            time.sleep(0.3)
        rc = e2e.wait_exit(proc, 5)
        out = proc.stdout.read() if rc is not None else ""
        assert rc == 1, f"{name}: exit code {rc}"
        for w in words:
            assert w in out, f"{name}: the message lacks {w!r}: {out[:600]!r}"
        lines = [line for line in out.splitlines() if "The character file" in line]
        assert len(lines) == 1 and len(lines[0]) < 600, f"{name}: not one short message: {out[:600]!r}"
        print(f"ok: {name}: box {bw}x{bh} after {shown_after:.2f} s")
    finally:
        e2e.stop(proc)


def main():
    args = e2e.parse_args(lambda p: p.add_argument("--corpus", required=True))
    with e2e.Xvfb(*SCREEN) as x, tempfile.TemporaryDirectory() as tmp:
        for name, doc, words in hostile_files(args.corpus, tmp):
            run_case(args, x, tmp, name, doc, words)


if __name__ == "__main__":
    e2e.run_main(main)
