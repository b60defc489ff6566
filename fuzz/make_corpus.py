#!/usr/bin/env python3
"""Writes the fuzzer's seed files into fuzz/corpus: one valid character and the hostile ones.

Each hostile file breaks one thing in the valid one; the loader must refuse it (or, for the
1 ms steps, accept it with its steps lengthened). Rerun after changing the format.
"""
import copy
import json
import pathlib

SQUARE = ('<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32">'
          '<rect width="32" height="32" fill="#3a3"/></svg>')
XLINK = 'xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"'


def valid():
    frames = {name: SQUARE for name in ("rest", "shut", "b1", "b2", "b3")}
    return {
        "format": "tallyvox-character", "version": 1, "id": "peedy",
        "size": {"width": 32, "height": 32}, "beak": {"x": 20, "y": 10},
        "frames": frames,
        "animations": {"idle": [{"frame": "rest", "ms": 1000}], "blink": [{"frame": "shut", "ms": 80}],
                       "show": [{"frame": "b1", "ms": 50}, {"frame": "rest", "ms": 50}]},
        "beakFrames": ["rest", "b1", "b2", "b3"],
    }


def with_frame(svg):
    doc = valid()
    doc["frames"]["b2"] = svg
    return doc


def changed(**top):
    doc = valid()
    doc.update(top)
    return doc


def svg(body, head=""):
    return f'{head}<svg {XLINK} width="32" height="32">{body}</svg>'


def amplified(levels, fan):
    groups = ['<g id="l0"><rect width="1" height="1"/></g>']
    for i in range(1, levels):
        uses = "".join(f'<use xlink:href="#l{i - 1}"/>' for _ in range(fan))
        groups.append(f'<g id="l{i}">{uses}</g>')
    return svg("<defs>" + "".join(groups) + f'</defs><use xlink:href="#l{levels - 1}"/>')


CASES = {
    "valid": valid(),
    "budget_big_frames": changed(size={"width": 1024, "height": 1024}),
    "budget_many_frames": None,  # filled below
    "budget_use_amplification": with_frame(amplified(8, 10)),
    "budget_deep_nesting": with_frame(svg("<g>" * 200 + "</g>" * 200)),
    "budget_use_cycle": with_frame(svg('<g id="a"><use xlink:href="#b"/></g><g id="b"><use xlink:href="#a"/></g>')),
    "steps_1ms": None,
    "ext_image_fifo": with_frame(svg('<image xlink:href="/tmp/tvx-fifo" width="32" height="32"/>')),
    "ext_image_passwd": with_frame(svg('<image xlink:href="file:///etc/passwd" width="9" height="9"/>')),
    "ext_image_url": with_frame(svg('<image xlink:href="http://example.invalid/a.png" width="9" height="9"/>')),
    "ext_use_file": with_frame(svg('<use xlink:href="other.svg#shape"/>')),
    "ext_stylesheet_pi": with_frame(svg("", '<?xml-stylesheet href="/tmp/tvx.css" type="text/css"?>')),
    "ext_style_import": with_frame(svg('<style>@import url("/tmp/tvx.css");</style>')),
    "ext_fill_url": with_frame(svg('<rect width="9" height="9" fill="url(/tmp/p.svg#g)"/>')),
    "ext_entity": with_frame('<!DOCTYPE svg [<!ENTITY e SYSTEM "/etc/passwd">]>' + svg("<text>&e;</text>")),
    "ext_laughs": with_frame('<!DOCTYPE svg [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;">]>'
                             + svg("<text>&b;</text>")),
    "num_width_1e308": changed(size={"width": 1e308, "height": 32}),
    "num_beak_minus_1e308": changed(beak={"x": -1e308, "y": 0}),
    "text_html_id": changed(id='<b style="color:red">BIG</b><a href="http://x">link</a><img src="/tmp/tvx-fifo">'),
    "text_newlines_id": changed(id="\n" * 500),
    "text_nul_id": changed(id="pee\u0000dy"),
    "text_version_near_1": changed(version=1.0000001),
    "text_version_string": changed(version="1"),
}
many = valid()
many["frames"] = {f"f{i}": SQUARE for i in range(300)} | many["frames"]
CASES["budget_many_frames"] = many
fast = valid()
fast["animations"] = {name: [{"frame": "rest", "ms": 1}, {"frame": "b1", "ms": 1}]
                      for name in ("idle", "blink", "show")}
CASES["steps_1ms"] = fast

out = pathlib.Path(__file__).resolve().parent / "corpus"
out.mkdir(exist_ok=True)
for name, doc in CASES.items():
    (out / f"{name}.acs").write_text(json.dumps(doc, ensure_ascii=False), encoding="utf-8")
print(f"wrote {len(CASES)} files to {out}")
