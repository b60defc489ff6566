#!/usr/bin/env python3
"""Word error rate of the drill's English readings as a stock speech recogniser hears them.

For each voice, random numbers of every length 1-15 (half their digits zeros) are rendered by
bench_english_wav -- the drill's own texts through its own English engine adapter -- and decoded by
pocketsphinx 0.8 with its stock US English acoustic model (not adapted), once with a grammar of
number words and once with the open language model. Prints, per voice, the word error rate of each
and how many numbers were heard exactly.

    python3 bench/english_wer.py --bin BUILD/bench [--per-length 40] [--voices slt,rms,espeak] [--show]

Needs the Debian packages pocketsphinx and pocketsphinx-en-us.
"""

import argparse
import audioop
import os
import random
import subprocess
import tempfile
import wave

MODEL = "/usr/share/pocketsphinx/model/en-us"
UNITS = ("zero one two three four five six seven eight nine ten eleven twelve thirteen fourteen "
         "fifteen sixteen seventeen eighteen nineteen").split()
TENS = "_ _ twenty thirty forty fifty sixty seventy eighty ninety".split()
SCALES = ["", "thousand", "million", "billion", "trillion"]


def words(n):
    """An American reading, written independently of the program's own wording."""
    if n == 0:
        return ["zero"]
    out, groups = [], []
    while n:
        groups.append(n % 1000)
        n //= 1000
    for i in reversed(range(len(groups))):
        g = groups[i]
        if not g:
            continue
        if g >= 100:
            out += [UNITS[g // 100], "hundred"]
            g %= 100
        if g >= 20:
            out.append(TENS[g // 10])
            g %= 10
        if g:
            out.append(UNITS[g])
        if i:
            out.append(SCALES[i])
    return out


def edit_distance(a, b):
    d = list(range(len(b) + 1))
    for i, x in enumerate(a, 1):
        prev, d[0] = d[0], i
        for j, y in enumerate(b, 1):
            prev, d[j] = d[j], min(d[j] + 1, d[j - 1] + 1, prev + (x != y))
    return d[len(b)]


def to_16k(path):
    with wave.open(path) as w:
        rate, frames = w.getframerate(), w.readframes(w.getnframes())
    if rate != 16000:
        frames, _ = audioop.ratecv(frames, 2, 1, rate, 16000, None)
    # Readings are heard between silences; the engine adapter cuts its own, so put the room back.
    pad = b"\0\0" * (16000 * 3 // 10)
    with open(path[:-4] + ".raw", "wb") as f:
        f.write(pad + frames + pad)


def decode(names, directory, extra):
    ctl = os.path.join(directory, "ctl")
    with open(ctl, "w") as f:
        f.write("\n".join(names) + "\n")
    hyp = os.path.join(directory, "hyp")
    subprocess.run(["pocketsphinx_batch", "-hmm", os.path.join(MODEL, "en-us"),
                    "-dict", os.path.join(MODEL, "cmudict-en-us.dict"), "-adcin", "yes", "-cepdir", directory,
                    "-cepext", ".raw", "-ctl", ctl, "-hyp", hyp, *extra],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    heard = {}
    with open(hyp) as f:
        for line in f:
            text, _, rest = line.rpartition(" (")
            heard[rest.split()[0]] = text.split()
    return heard


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", required=True, help="the build's bench directory")
    ap.add_argument("--per-length", type=int, default=40)
    ap.add_argument("--voices", default="slt,rms,espeak")
    ap.add_argument("--seed", type=int, default=20)
    ap.add_argument("--show", action="store_true", help="print every number not heard exactly")
    args = ap.parse_args()
    rnd = random.Random(args.seed)
    numbers = []
    for length in range(1, 16):
        for _ in range(args.per_length):
            d = str(rnd.randint(1, 9)) + "".join(rnd.choice("0123456789") if rnd.random() < 0.5 else "0"
                                                   for _ in range(length - 1))
            numbers.append(d)
    numbers += ["100", "305", "310", "1000", "10000", "100000", "1000000", "100000000000000",
                "922337203685477"]
    numbers = sorted(set(numbers), key=lambda d: (len(d), d))
    vocab = sorted(set(UNITS + TENS[2:] + SCALES[1:] + ["hundred"]))
    with tempfile.TemporaryDirectory(prefix="tvx-wer-") as tmp:
        grammar = os.path.join(tmp, "numbers.gram")
        with open(grammar, "w") as f:
            f.write("#JSGF V1.0;\ngrammar numbers;\npublic <number> = <word>+;\n<word> = "
                    + " | ".join(vocab) + ";\n")
        print(f"{len(numbers)} numbers ({args.per_length} of every length 1-15 and the edge cases)")
        for voice in args.voices.split(","):
            directory = os.path.join(tmp, voice)
            os.makedirs(directory)
            for i in range(0, len(numbers), 100):
                subprocess.run([os.path.join(args.bin, "bench_english_wav"), voice, directory,
                                *numbers[i:i + 100]], check=True, stderr=subprocess.DEVNULL)
            for d in numbers:
                to_16k(os.path.join(directory, d + ".wav"))
            result = []
            for label, extra in (("number grammar", ["-jsgf", grammar]),
                                 ("open model", ["-lm", os.path.join(MODEL, "en-us.lm.bin")])):
                heard = decode(numbers, directory, extra)
                errors = total = exact = 0
                for d in numbers:
                    ref = words(int(d))
                    e = edit_distance(ref, heard.get(d, []))
                    errors += e
                    total += len(ref)
                    exact += e == 0
                    if e and args.show:
                        print(f"  {voice} {label}: {d}: heard {' '.join(heard.get(d, []))!r}")
                result.append(f"{label}: WER {100.0 * errors / total:.1f} % ({exact}/{len(numbers)} exact)")
            print(f"{voice}: " + "; ".join(result), flush=True)


if __name__ == "__main__":
    main()
