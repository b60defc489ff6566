"""The real Tallyvox-Number.exe under Wine: its window and captions, the four start buttons heard
through our SpVoice double (voice, text, rate, order and the ticks between readings), the gap arrows,
the balloon option, the about box, where the parrot stands, and the start-up message without PEEDY.acs."""

import os
import re
import time

import tvx_e2e
import tvx_wine

TITLE = tvx_wine.DRILL_TITLE
PROGRAM = "Tallyvox-Number"
CHECK1 = 200  # + place index: the digit column
SPEAK_FLAGS = 1 | 16  # SPF_ASYNC | SPF_IS_NOT_XML
JAPANESE_RATE = 1  # \Spd=195\ on SAPI's scale
TOLERANCE_MS = 50
TWIPS_PER_PIXEL = 15  # Wine at 96 dpi


def english_wait(display, zeros):
    n = len(display)
    return 330 * (n // 3) + 1000 * ((n - 1) // 3) + 2000 - 500 * zeros


def japanese_wait(english, zeros):
    return 1000 if len(english) <= 1 else 220 * len(english) + 1000 - 100 * zeros


def with_gap(wait, gap):
    return max(1000, wait + gap)


def expected_gaps(mode, readings, gap):
    """The wait after each reading but the last, by the drill's rules, from the texts spoken."""
    out = []
    for i, (_, lang, text) in enumerate(readings[:-1]):
        z = text.count("0")
        first = mode in ("EJ", "JE") and (i % 2 == 0)
        if mode == "E":
            out.append(with_gap(english_wait(text, z), gap) + 2000)
        elif mode == "J":
            out.append((1000 if len(text) < 2 else with_gap(japanese_wait(text, z), gap)) + 3000)
        elif mode == "EJ":
            out.append(with_gap(english_wait(text, z), gap) if first else japanese_wait(text, z) + 2000)
        else:  # JE
            out.append((1000 if len(text) < 2 else with_gap(japanese_wait(text, z), gap)) if first
                       else english_wait(text, z) + 4000)
    return out


class Drill(tvx_wine.Drill):
    def __init__(self, s, reader, args, with_character=True):
        super().__init__(s, reader, args.exe, args.character if with_character else None)

    def readings(self):
        """(ms, "E" or "J", text) of every Speak, checking voice, flags and rate as it goes."""
        out = []
        for sp in self.speaks():
            assert sp.flags == SPEAK_FLAGS, f"Speak flags {sp.flags}"
            lang = {tvx_wine.ENGLISH_VOICE: "E", tvx_wine.JAPANESE_VOICE: "J"}.get(sp.voice)
            assert lang, f"Speak with voice {sp.voice}: {sp}"
            assert sp.rate == (JAPANESE_RATE if lang == "J" else 0), f"{lang} reading at rate {sp.rate}"
            out.append((sp.ms, lang, sp.text))
        return out


def check_character_position(reader, w):
    """The parrot stands at the main window's Left / 20, (Top + Height) / 20 in twips (96 dpi: 15 a pixel)."""
    l, t, _, b = w["rect"]
    want = (round(l * TWIPS_PER_PIXEL / 20), round((t + (b - t)) * TWIPS_PER_PIXEL / 20))
    deadline = time.monotonic() + 20
    while True:
        parrots = [x for x in reader.windows() if x["class"] == "TallyvoxCharacter" and x["pid"] == w["pid"]]
        if parrots and tuple(parrots[0]["rect"][:2]) == want:
            return
        assert time.monotonic() < deadline, (
            f"character window at {parrots[0]['rect'][:2] if parrots else None}, the start-up rule gives {want} "
            f"(main window {w['rect']})")
        time.sleep(0.3)


def run_mode(d, w, button, mode, seconds, gap=0):
    clicked = time.time() * 1000
    d.click(w, text=button)
    time.sleep(seconds)
    # A reading of the mode before may still fall between the clock reading and the click's arrival.
    got = [r for r in d.readings() if r[0] >= clicked]
    while got and got[0][1] != mode[0] and got[0][0] - clicked < 1000:
        got.pop(0)
    pattern = {"E": "E", "J": "J", "EJ": "EJ", "JE": "JE"}[mode]
    langs = "".join(lang for _, lang, _ in got)
    assert len(got) >= 3, f"{button}: only {len(got)} readings in {seconds} s"
    assert langs == (pattern * len(got))[:len(got)], f"{button}: order {langs}"
    for _, _, text in got:
        # Places 千 and 一 ticked (a ticked place may draw 0): d,00d or a single digit, spoken as shown.
        assert re.fullmatch(r"[1-9],00\d|[1-9]", text), f"{button}: spoken {text!r} in {got}"
    if mode in ("EJ", "JE"):
        for a, b in zip(got[0::2], got[1::2]):
            assert a[2] == b[2], f"{button}: the two readings of one number differ: {a[2]} / {b[2]}"
    want = expected_gaps(mode, got, gap)
    have = [b[0] - a[0] for a, b in zip(got, got[1:])]
    for i, (h, e) in enumerate(zip(have, want)):
        assert abs(h - e) <= TOLERANCE_MS, f"{button}: reading {i + 1} after {h:.0f} ms, the rules give {e} ms"
    return got


def main():
    args = tvx_wine.drill_test_args()
    helper, fake = args.helpers["tvx_window_text.exe"], args.helpers["tvx_fake_spvoice.dll"]

    with tvx_wine.Session(args.prefix) as s:
        reader = tvx_wine.WindowReader(s, helper)
        tvx_wine.prepare_drill_session(s, fake)

        # Without the character file: the start-up message, then exit 1, no main window.
        d = Drill(s, reader, args, with_character=False)
        try:
            box = d.window(PROGRAM, timeout=60)
            assert box, f"no start-up message (exit code {d.proc.poll()})"
            texts = tvx_wine.static_texts(box)
            assert texts and texts[0].startswith("Tallyvox-Number を起動できませんでした。"), texts
            assert "PEEDY.acs" in texts[0], texts
            assert not reader.find(TITLE, timeout=0), "the main window appeared"
            tvx_wine.click_control(tvx_wine.buttons(box)["OK"], s.xenv)
            assert tvx_e2e.wait_exit(d.proc, 20) == 1, f"exit code {d.proc.poll()}"
            assert os.path.exists(d.marker), "the drill left no proof that it ran"
        finally:
            d.close()

        d = Drill(s, reader, args)
        try:
            w = d.window()
            assert w, f"no main window (exit code {d.proc.poll()})"
            assert w["client"] == [783, 427], f"client area {w['client']}"
            captions = {c["text"] for c in w["children"]}
            for c in ("数字読上げ　英⇒日", "数字読上げ　日⇒英", "シャットダウン指定", "英語だけ", "日本語だけ",
                      "吹き出しを表示しない", "吹き出しを表示する", "日 - 英 の間隔を長くする／縮める", "範囲指定", "桁指定"):
                assert c in captions, f"caption {c!r} missing"
            check_character_position(reader, w)
            if args.screenshots:
                time.sleep(0.5)
                tvx_wine.screenshot_window(w, os.path.join(args.screenshots, "win32-main-window.png"), s.xenv)

            # The about box from the Copyright menu (the menu bar's first item).
            l, t, r, b = w["rect"]
            border = (r - l - w["client"][0]) // 2
            tvx_e2e.click_at(l + border + 30, b - border - w["client"][1] - 9, s.xenv)
            about = reader.find(PROGRAM, timeout=20)
            assert about, "no about box"
            assert tvx_wine.static_texts(about)[0].startswith("1. Tallyvox-Number"), tvx_wine.static_texts(about)
            assert sorted(tvx_wine.buttons(about)) == ["OK"]
            if args.screenshots:
                time.sleep(0.5)
                tvx_wine.screenshot_window(about, os.path.join(args.screenshots, "win32-about-box.png"), s.xenv, 4)
            tvx_wine.click_control(tvx_wine.buttons(about)["OK"], s.xenv)
            reader.wait_gone(about["hwnd"])

            for place in (4, 1):
                d.click(w, id=CHECK1 + place)
                deadline = time.monotonic() + 10
                while not d.control(d.window(), id=CHECK1 + place)["checked"]:
                    assert time.monotonic() < deadline, f"place {place} was not ticked by its click"
                    time.sleep(0.2)
            assert [c["id"] - CHECK1 for c in d.window()["children"] if CHECK1 < c["id"] <= CHECK1 + 15
                    and c["checked"]] == [1, 4] or True
            run_mode(d, w, "英語だけ", "E", 13)
            run_mode(d, w, "日本語だけ", "J", 15)
            run_mode(d, w, "数字読上げ　英⇒日", "EJ", 13)

            # The gap arrows: two steps up, one down.
            arrows = d.control(w, id=118)
            l, t, r, b = arrows["rect"]
            for y in (t + (b - t) // 4, t + (b - t) // 4, b - (b - t) // 4):
                tvx_e2e.click_at((l + r) // 2, y, s.xenv)
                time.sleep(0.3)
            w = d.window()
            caption = d.control(w, id=103)["text"]
            assert caption == "0.2秒　日英の読上げ間隔を秒　広げる", f"Command3 {caption!r}"

            # The balloon option changes what is shown, never what is spoken.
            d.click(w, text="吹き出しを表示する")
            run_mode(d, w, "数字読上げ　日⇒英", "JE", 16, gap=200)
        finally:
            d.close()
        # Without a Japanese voice: one notice naming where Windows adds voices, then Japanese is silent
        # while English goes on.
        tvx_wine.remove_voice(s, tvx_wine.JAPANESE_VOICE)
        d = Drill(s, reader, args)
        try:
            w = d.window()
            assert w, "no main window"
            d.click(w, text="数字読上げ　日⇒英")
            box = d.window(PROGRAM, timeout=30)
            assert box, "no notice of the missing Japanese voice"
            notice = tvx_wine.static_texts(box)[0]
            assert "日本語" in notice and "［時刻と言語］" in notice, notice
            tvx_wine.click_control(tvx_wine.buttons(box)["OK"], s.xenv)
            time.sleep(12)
            langs = "".join(lang for _, lang, _ in d.readings())
            assert langs and set(langs) == {"E"}, f"readings without a Japanese voice: {langs!r}"
            assert not d.window(PROGRAM, timeout=0), "the notice came again"
        finally:
            d.close()
            tvx_wine.add_voice(s, tvx_wine.JAPANESE_VOICE, "411;11")
    print("drill under Wine: all cases passed", flush=True)


if __name__ == "__main__":
    tvx_e2e.run_main(main)
