"""The Win32 listening test window under Wine, driven from the keyboard as a learner would.

A host program (ListeningHost.cpp) stands in for ReadOut1: its menu bar gets the test's item, a
recording character logs each reading, and a command file feeds it keys (sent with SendInput, so they
take the window's own keyboard path) and asks for the window's texts. The number to type is read from
the recording, never from the window. With --screenshots DIR it also saves the pictures for docs/.
The host leaves a marker when it ran: without it (Wine ran nothing) the test fails.
"""

import argparse
import os
import subprocess
import tempfile
import time

import tvx_e2e as e2e
import tvx_wine

PLACES = ["", "一", "十", "百", "千", "万", "十万", "百万", "千万", "一億", "十億", "百億", "千億",
          "一兆", "十兆", "百兆", "千兆", "一京", "十京"]
FULL_WIDTH = str.maketrans("0123456789", "０１２３４５６７８９")

def number_of(spoken):
    """The digits of one recorded reading: the text between \\Map=" and "=, "4 hundred 72" or "12,345"."""
    text = spoken.split("\t", 1)[1]
    # The number must never reach the balloon before it is answered.
    assert text.endswith('"=""\\'), f"a reading that opens a balloon: {text}"
    start = text.index('\\Map="') + len('\\Map="')
    said = text[start:text.index('"=', start)]
    words = said.split()
    if "hundred" in words:
        return str(int(words[0]) * 100 + (int(words[2]) if len(words) > 2 else 0))
    return said.replace(",", "")


def grouped(digits):
    return f"{int(digits):,}"


class Host:
    def __init__(self, exe, work, session):
        self.work = work
        self.sent = 0
        self.windows_path = session.prefix.windows_path
        open(os.path.join(work, "commands.txt"), "w").close()
        self.log = open(os.path.join(work, "host.out"), "w")
        self.proc = subprocess.Popen([session.prefix.wine, exe, self.windows_path(work)], env=session.env,
                                     stdout=self.log, stderr=subprocess.STDOUT)
        self.wait_done(0, timeout=90)

    def lines(self, name):
        path = os.path.join(self.work, name)
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as f:
            return [l.rstrip("\n") for l in f if l.strip()]

    def wait_done(self, n, timeout=20):
        deadline = time.monotonic() + timeout
        while str(n) not in self.lines("done.log"):
            if self.proc.poll() is not None:
                raise AssertionError(f"the host ended ({self.proc.returncode}) before command {n}")
            if time.monotonic() > deadline:
                raise AssertionError(f"the host did not answer command {n}")
            time.sleep(0.05)

    def send(self, command):
        self.sent += 1
        with open(os.path.join(self.work, "commands.txt"), "a", encoding="utf-8") as f:
            f.write(command + "\n")
        self.wait_done(self.sent)
        with open(os.path.join(self.work, f"reply-{self.sent}.txt"), encoding="utf-8") as f:
            return f.read()

    def texts(self, settle=0.3):
        # SendInput's keys reach the window through the server: let them be handled first.
        time.sleep(settle)
        reply = self.send("texts")
        if reply.strip() == "closed":
            return None
        out = {}
        for line in reply.splitlines():
            key, _, value = line.partition("=")
            out[key] = value
        return out

    def wait_spoken(self, count, timeout=10):
        deadline = time.monotonic() + timeout
        while len(self.lines("spoken.log")) < count:
            if time.monotonic() > deadline:
                raise AssertionError(f"no reading {count}; readings: {self.lines('spoken.log')}")
            time.sleep(0.05)
        return self.lines("spoken.log")[count - 1]


# Control ids of win32::drill::ListeningControl.
ENGLISH, JAPANESE, START, REPLAY, SLOW, ANSWER, HINT, CORRECT, YOURS, VERDICT, COUNTS, SUMMARY, STATUS, SAVE = (
    str(i) for i in range(101, 115))


def field(texts, key):
    """A control's text without the "(focus)" / "(disabled)" notes."""
    text = texts[key]
    for note in (" (focus)", " (disabled)", " (checked)"):
        text = text.replace(note, "")
    return text


def shoot(texts, path, env):
    """The test window with the window manager's frame, cut from the screen."""
    window = texts.get("xwindow", "0")
    assert window not in ("", "0"), f"no X window behind the test window: {texts}"
    x, y, w, h = e2e.outer_geometry(window, env)
    whole = path + ".screen.png"
    e2e.screenshot(whole, env)
    subprocess.run(["convert", whole, "-crop", f"{w}x{h}+{x}+{y}", "+repage", path], check=True)
    os.remove(whole)


def answer_round(host, n, answer, env):
    """Enter reads number n; the answer is typed as the learner's input method would hand it over."""
    host.send("key return")
    digits = number_of(host.wait_spoken(n))
    host.send("type " + answer(digits))
    host.send("key return")
    return digits, host.texts()


def run(args):
    prefix = os.path.join(os.path.abspath(args.build_dir), "wineprefix-gui")
    with tempfile.TemporaryDirectory(prefix="tvx-win-listening-") as work:
        with tvx_wine.Session(prefix, width=1280, height=900) as s:
            host = Host(args.host, work, s)
            try:
                drive(host, work, s.xenv, args.screenshots)
            finally:
                if host.proc.poll() is None:
                    host.proc.kill()
                host.log.close()
        marker = os.path.join(work, "host-ran")
        assert os.path.exists(marker), "the host left no marker: Wine ran nothing"
        with open(marker, encoding="utf-8") as f:
            ran = dict(l.rstrip("\n").split("=", 1) for l in f if "=" in l)
        # The new item sits between "◆ Copyright" and Version, and Version keeps its place on the right.
        assert ran["menu"] == "◆ Copyright|聞き取りテスト|>Version", ran
        readings = len(host.lines("spoken.log"))
        # The drill stops when the window opens and again before each reading.
        assert int(ran["stops"]) == readings + 1, (ran, readings)


def drive(host, work, env, shots):
    host.send("open")
    t = host.texts(settle=1.0)
    assert t and t["title"] == "聞き取りテスト", t
    assert field(t, STATUS) == "Enter または「スタート」で数字を読み上げます", t
    assert t[ANSWER].endswith("(focus)"), f"the answer box has not the focus: {t}"
    assert t[REPLAY].endswith("(disabled)"), t

    # A right answer in full-width digits and an ideographic comma, as a Japanese input method types it.
    digits, t = answer_round(host, 1, lambda d: grouped(d).replace(",", "、").translate(FULL_WIDTH), env)
    assert field(t, VERDICT) == "正解", t
    assert field(t, CORRECT) == grouped(digits) and field(t, YOURS) == grouped(digits), t
    assert field(t, STATUS) == "Enter で次の数字", t
    assert field(t, COUNTS) == "出題 1　正解 1　もう一度 0（うち ゆっくり 0）", t

    # Letters get the inline hint; a number heard a group too big is a place shift of three digits.
    host.send("key return")
    second = number_of(host.wait_spoken(2))
    host.send("type 12ab")
    host.send("key return")
    t = host.texts()
    assert field(t, HINT) == "数字（半角・全角）とカンマ・スペースだけで入力してください", t
    assert t[ANSWER].endswith("(focus)"), t
    host.send("type " + second + " 000")
    t = host.texts()
    assert field(t, HINT) == "", f"editing did not clear the hint: {t}"
    host.send("key return")
    t = host.texts()
    heard = second + "000"
    expected = f"位ずれ：3桁多い（{PLACES[len(second)]}の位を{PLACES[len(heard)]}の位と聞き違え）"
    assert field(t, VERDICT) == expected, (second, t)
    assert field(t, CORRECT) == grouped(second) and field(t, YOURS) == grouped(heard), t
    assert field(t, COUNTS) == "出題 2　正解 1　もう一度 0（うち ゆっくり 0）", t
    if shots:
        shoot(t, os.path.join(shots, "win32-listening-wrong.png"), env)

    # Ten more: もう一度 and ゆっくり once, every third answer with its last digit wrong.
    right = 1
    for n in range(3, 13):
        reading = len(host.lines("spoken.log")) + 1
        if n in (5, 6):
            host.send("click " + ("japanese" if n == 5 else "english"))
            t = host.texts()
            assert "(checked)" in t[JAPANESE if n == 5 else ENGLISH], t
        host.send("key return")
        digits = number_of(host.wait_spoken(reading))
        if n == 3:
            before = len(host.lines("spoken.log"))
            host.send("key backtab")  # from the answer box back to ゆっくり
            host.send("key space")
            slow = host.wait_spoken(before + 1)
            assert slow.startswith("en\t\\Spd=100\\"), slow
            assert number_of(slow) == digits, slow
        said = host.lines("spoken.log")[reading - 1]
        assert said.startswith("ja\t" if n == 5 else "en\t"), said
        wrong = n % 3 == 0
        typed = digits[:-1] + str((int(digits[-1]) + 1) % 10) if wrong else " ".join(digits)
        host.send("type " + typed)
        host.send("key return")
        t = host.texts()
        if wrong:
            assert field(t, VERDICT).startswith("間違えた位："), t
        else:
            right += 1
            assert field(t, VERDICT) == "正解", (digits, typed, t)
    assert field(t, COUNTS) == f"出題 12　正解 {right}　もう一度 1（うち ゆっくり 1）", t
    if shots:
        shoot(t, os.path.join(shots, "win32-listening-summary.png"), env)

    # 結果を保存… through the common file dialog.
    csv = os.path.join(work, "result.csv")
    host.send("click save")
    deadline = time.monotonic() + 15
    while True:
        focus = host.texts(settle=0.2)
        if focus is None or not focus.get(ANSWER, "").endswith("(focus)"):
            break  # the dialog took the keyboard
        assert time.monotonic() < deadline, "no file dialog"
    time.sleep(1.0)
    host.send("settext " + host.windows_path(csv))
    host.send("key return")
    deadline = time.monotonic() + 15
    while not os.path.exists(csv) or os.path.getsize(csv) == 0:
        assert time.monotonic() < deadline, "the file dialog saved nothing"
        time.sleep(0.1)
    time.sleep(0.3)
    with open(csv, "rb") as f:
        data = f.read()
    assert data.startswith(b"\xef\xbb\xbf"), data[:20]
    rows = data.decode("utf-8-sig").split("\r\n")
    assert rows[0] == "番号,言語,正解,答え,正誤,位ずれ,間違えた位,もう一度,ゆっくり", rows[0]
    assert len([r for r in rows[1:] if r]) == 12, rows
    assert rows[2].split(",")[0] == "2" and "桁多い" in rows[2], rows[2]

    t = host.texts(settle=0.5)
    assert t[ANSWER].endswith("(focus)"), f"the focus did not come back after saving: {t}"
    host.send("key escape")
    deadline = time.monotonic() + 10
    while host.texts() is not None:
        assert time.monotonic() < deadline, "Esc did not close the window"
    host.send("exit")
    e2e.wait_exit(host.proc, 20)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--host", required=True)
    p.add_argument("--build-dir", required=True)
    p.add_argument("--screenshots")
    run(p.parse_args())


if __name__ == "__main__":
    e2e.run_main(main)
