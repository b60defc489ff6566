"""The listening test of the real Tallyvox-Number.exe under Wine, opened from its menu bar.

Where the window stands beside the drill and its parrot; each number read from our SpVoice double's log
(never from the window), answered through SendInput as the desktop hands keys over (one answer in
full-width digits, as a Japanese input method commits them), the result line and, after a dozen numbers,
the counts; Enter and Esc; and the drill silent while the test reads, even when started meanwhile.
With --screenshots DIR it also saves the pictures for docs/.
"""

import os
import time

import tvx_e2e
import tvx_wine

TEST_TITLE = "聞き取りテスト"
CHECK1 = 200  # + place index: the digit column the test draws from
PLACES = ["", "一", "十", "百", "千", "万", "十万", "百万", "千万"]
FULL_WIDTH = str.maketrans("0123456789,", "０１２３４５６７８９、")
# Control ids of win32::drill::ListeningControl.
ENGLISH, JAPANESE, START, REPLAY, SLOW, ANSWER, HINT, CORRECT, YOURS, VERDICT, COUNTS = range(101, 112)
# How long each reading must stay the only one. Shorter than the drill's ~7 s between two 7-digit
# readings, but a drill left running shows within the next rounds: each of them counts the Speak calls.
QUIET_S = 3


def number_of(speak):
    """The digits of a reading as the drill hands it to SAPI: "472", "4,721" or "4 hundred 72"."""
    words = speak.text.replace(",", "").split()
    if "hundred" in words:
        return str(int(words[0]) * 100 + (int(words[2]) if len(words) > 2 else 0))
    assert len(words) == 1 and words[0].isdigit(), f"a reading that is not a number: {speak}"
    return words[0]


def grouped(digits):
    return f"{int(digits):,}"


class Listening:
    def __init__(self, d, send_input):
        self.d, self.s, self.send_input = d, d.s, send_input
        self.heard = len(d.speaks())

    def keys(self, verb, arg):
        self.s.prefix.run([self.send_input, verb, arg], self.s.env, timeout=60)

    def window(self, timeout=20):
        return self.d.reader.find(TEST_TITLE, timeout=timeout, gone=self.d.proc)

    def texts(self):
        w = self.window()
        assert w, "the listening test window is gone"
        return {c["id"]: c for c in w["children"]}

    def wait_text(self, id, pred, what):
        deadline = time.monotonic() + 15
        while True:
            t = self.texts()
            if pred(t[id]["text"]):
                return t
            assert time.monotonic() < deadline, f"{what}: control {id} shows {t[id]['text']!r}"
            time.sleep(0.2)

    def next_reading(self, voice=tvx_wine.ENGLISH_VOICE):
        """The one Speak the test's last action caused; nothing else may speak meanwhile."""
        deadline = time.monotonic() + 15
        while len(self.d.speaks()) <= self.heard:
            assert time.monotonic() < deadline, "the test read nothing"
            time.sleep(0.1)
        time.sleep(QUIET_S)
        got = self.d.speaks()[self.heard:]
        assert len(got) == 1, f"one reading expected, the voice was handed {got}"
        self.heard += 1
        assert got[0].voice == voice, f"reading with voice {got[0].voice}, not {voice}: {got[0]}"
        return got[0]

    def reading_over_drill(self):
        """The test's Japanese reading while the drill was reading English: the last Speak of all."""
        deadline = time.monotonic() + 15
        while not [sp for sp in self.d.speaks()[self.heard:] if sp.voice == tvx_wine.JAPANESE_VOICE]:
            assert time.monotonic() < deadline, "the test read nothing over the drill"
            time.sleep(0.1)
        time.sleep(QUIET_S)
        got = self.d.speaks()
        ours = [i for i, sp in enumerate(got) if i >= self.heard and sp.voice == tvx_wine.JAPANESE_VOICE]
        assert ours == [len(got) - 1], f"the drill read on over the test: {got[self.heard:]}"
        self.heard = len(got)
        return got[-1]

    def answer(self, typed, tried):
        """Types the answer, Enter checks it; returns the texts once the counts show it."""
        self.keys("text", typed)
        self.wait_text(ANSWER, lambda t: t == typed, "typed answer")
        self.keys("key", "return")
        return self.wait_text(COUNTS, lambda t: t.startswith(f"出題 {tried}　"), "the counts after an answer")


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def parrot_of(reader, main):
    parrot = [w for w in reader.windows() if w["class"] == "TallyvoxCharacter" and w["pid"] == main["pid"]]
    assert parrot, "no character window"
    return parrot[0]["rect"]


def open_from_menu(t):
    t.keys("key", "f10")
    t.keys("key", "right")
    t.keys("key", "return")
    tw = t.window()
    assert tw, "no listening test window from the menu"
    return tw


def check_placement(reader, main, test, size):
    """Beside the drill: over none of its controls nor its character, and on the screen."""
    parrot = parrot_of(reader, main)
    tr = test["rect"]
    assert 0 <= tr[0] and 0 <= tr[1] and tr[2] <= size[0] and tr[3] <= size[1], f"test window {tr} off screen"
    for c in main["children"]:
        if c["visible"]:
            assert not overlaps(tr, c["rect"]), f"test window {tr} covers {c['text']!r} {c['rect']}"
    assert not overlaps(tr, parrot), f"test window {tr} lies under the character {parrot}"


def check_no_room(d, send_input, size):
    """Where the test cannot stand beside the drill it still leaves the place columns it draws from in
    sight, the character steps off it, and goes back when the test closes."""
    main = d.window()
    assert main, f"no main window (exit code {d.proc.poll()})"
    home = parrot_of(d.reader, main)
    t = Listening(d, send_input)
    tr = open_from_menu(t)["rect"]
    time.sleep(0.5)
    parrot = parrot_of(d.reader, main)
    print(f"{size[0]}x{size[1]}: drill {main['rect']}, test {tr}, character {home} -> {parrot}", flush=True)
    assert 0 <= tr[0] and 0 <= tr[1] and tr[2] <= size[0] and tr[3] <= size[1], f"test window {tr} off screen"
    for c in main["children"]:
        if c["text"] in ("範囲指定", "桁指定") or 201 <= c["id"] <= 215 or 301 <= c["id"] <= 315:
            assert not overlaps(tr, c["rect"]), f"test window {tr} hides the place column's {c['text']!r}"
    assert not overlaps(tr, parrot), f"the character {parrot} stands on the test window {tr}"
    assert 0 <= parrot[0] and 0 <= parrot[1] and parrot[2] <= size[0] and parrot[3] <= size[1], parrot
    t.keys("key", "escape")
    deadline = time.monotonic() + 10
    while parrot_of(d.reader, main) != home:
        assert time.monotonic() < deadline, f"the character stayed at {parrot_of(d.reader, main)}, not {home}"
        time.sleep(0.2)


def main():
    args = tvx_wine.drill_test_args("tvx_send_input.exe")
    helper, fake = args.helpers["tvx_window_text.exe"], args.helpers["tvx_fake_spvoice.dll"]
    send_input = args.helpers["tvx_send_input.exe"]

    # Wide enough for the test window beside the centred drill.
    size = (2560, 1440)
    with tvx_wine.Session(args.prefix, width=size[0], height=size[1]) as s:
        reader = tvx_wine.WindowReader(s, helper)
        tvx_wine.prepare_drill_session(s, fake)
        d = tvx_wine.Drill(s, reader, args.exe, args.character)
        try:
            run(d, send_input, size, args.screenshots)
            assert os.path.exists(d.marker), "the drill left no proof that it ran"
        finally:
            d.close()
    size = (1920, 1080)  # the commonest screen: too narrow for the two side by side
    with tvx_wine.Session(args.prefix, width=size[0], height=size[1]) as s:
        tvx_wine.prepare_drill_session(s, fake)
        d = tvx_wine.Drill(s, tvx_wine.WindowReader(s, helper), args.exe, args.character)
        try:
            check_no_room(d, send_input, size)
            assert os.path.exists(d.marker), "the drill left no proof that it ran"
        finally:
            d.close()
    print("listening test of the drill under Wine: all cases passed", flush=True)


def run(d, send_input, size, shots):
    s = d.s
    w = d.window()
    assert w, f"no main window (exit code {d.proc.poll()})"
    # Places 一 to 百万 ticked in the digit column: seven-digit numbers, three groups.
    for place in range(1, 8):
        d.click(w, id=CHECK1 + place)
        deadline = time.monotonic() + 10
        while not d.control(d.window(), id=CHECK1 + place)["checked"]:
            assert time.monotonic() < deadline, f"place {place} was not ticked by its click"
            time.sleep(0.2)

    # The drill reads on its timers until the test opens from the menu bar (F10, then the next item).
    d.click(w, text="英語だけ")
    deadline = time.monotonic() + 15
    while not d.speaks():
        assert time.monotonic() < deadline, "the drill read nothing"
        time.sleep(0.2)
    t = Listening(d, send_input)
    tw = open_from_menu(t)
    t.heard = len(d.speaks())
    time.sleep(QUIET_S)
    assert len(d.speaks()) == t.heard, f"the drill read on with the test open: {d.speaks()[t.heard:]}"
    check_placement(d.reader, d.window(), tw, size)
    c = t.texts()
    assert c[ANSWER]["focus"], "the answer box has not the focus"
    assert c[REPLAY]["style"] & 0x08000000, "もう一度 is live before any number"

    # スタート reads; a right answer in full-width digits and ideographic commas.
    tvx_wine.click_control(c[START], s.xenv)
    digits = number_of(t.next_reading())
    c = t.texts()
    assert c[ANSWER]["focus"], "the focus did not go to the answer after the reading"
    c = t.answer(grouped(digits).translate(FULL_WIDTH), 1)
    assert c[VERDICT]["text"] == "正解", (digits, c[VERDICT])
    assert c[CORRECT]["text"] == grouped(digits) and c[YOURS]["text"] == grouped(digits), (digits, c[CORRECT])

    # Enter goes on; a wrong answer names the misheard places, highest first.
    t.keys("key", "return")
    digits = number_of(t.next_reading())
    wrong = str((int(digits[0]) % 9) + 1) + digits[1:-1] + str((int(digits[-1]) + 1) % 10)
    if len(digits) == 1:
        wrong = str(int(digits) % 9 + 1)
    places = sorted({len(digits), 1}, reverse=True)
    c = t.answer(wrong, 2)
    assert c[VERDICT]["text"] == "間違えた位：" + "、".join(PLACES[p] + "の位" for p in places), (digits, wrong, c[VERDICT])
    assert c[CORRECT]["text"] == grouped(digits) and c[YOURS]["text"] == grouped(wrong), (digits, c[YOURS])
    if shots:
        time.sleep(0.5)
        tvx_wine.screenshot_window(t.window(), os.path.join(shots, "win32-listening-wrong.png"), s.xenv)

    # Ten more: two in Japanese, one replayed, one after the drill was started meanwhile, every third wrong.
    right = 1
    for n in range(3, 13):
        japanese = n in (5, 8)
        if japanese or n in (6, 9):
            tvx_wine.click_control(t.texts()[JAPANESE if japanese else ENGLISH], s.xenv)
        voice = tvx_wine.JAPANESE_VOICE if japanese else tvx_wine.ENGLISH_VOICE
        if n == 8:
            # The drill starts again from its own window (in English); the test's next reading stops it.
            d.click(d.window(), text="英語だけ")
            deadline = time.monotonic() + 15
            while len(d.speaks()) == t.heard:
                assert time.monotonic() < deadline, "the drill did not start again"
                time.sleep(0.2)
            tvx_wine.click_control(t.texts()[ANSWER], s.xenv)
            t.keys("key", "return")
            reading = t.reading_over_drill()
        else:
            t.keys("key", "return")
            reading = t.next_reading(voice)
        digits = number_of(reading)
        if n == 4:
            tvx_wine.click_control(t.texts()[REPLAY], s.xenv)
            again = t.next_reading()
            assert number_of(again) == digits, f"もう一度 read {again}, not {digits}"
            deadline = time.monotonic() + 10
            while not t.texts()[ANSWER]["focus"]:
                assert time.monotonic() < deadline, "the focus did not come back to the answer after もう一度"
                time.sleep(0.2)
        wrong = n % 3 == 0
        typed = digits[:-1] + str((int(digits[-1]) + 1) % 10) if wrong else digits
        c = t.answer(typed, n)
        if wrong:
            assert c[VERDICT]["text"].startswith("間違えた位："), (digits, typed, c[VERDICT])
        else:
            right += 1
            assert c[VERDICT]["text"] == "正解", (digits, typed, c[VERDICT])
    assert c[COUNTS]["text"] == f"出題 12　正解 {right}　もう一度 1（うち ゆっくり 0）", c[COUNTS]
    if shots:
        time.sleep(0.5)
        tvx_wine.screenshot_window(t.window(), os.path.join(shots, "win32-listening-summary.png"), s.xenv)

    # Esc closes the test, not the drill.
    hwnd = t.window()["hwnd"]
    t.keys("key", "escape")
    d.reader.wait_gone(hwnd)
    assert d.proc.poll() is None, "closing the test ended the drill"


if __name__ == "__main__":
    tvx_e2e.run_main(main)
