#!/usr/bin/env python3
"""Writes a corpus of project text files unlike the sample's: its own word
lists (process, maintenance and logistics terms rather than the sample's
tags and scripts), lines from a few characters to several thousand, some
files with CR LF breaks and some with LF, and words outside ASCII.

    bench/make_corpus.py FOLDER [--files N] [--megabytes M] [--seed S]

The needles printed at the end run from rare (a word written on exactly
120 lines) through scarce (about one line in a thousand) to very common
(about one line in four).
"""
import argparse
import os
import random

EXTENSIONS = ["htm", "html", "bat", "js", "svg", "txt", "css"]

# Ranked by how often they are drawn (Zipf-like weights below).
WORDS = """status the of line valve pump flow motor setpoint level batch conveyor
heater pressure interlock filter drain chiller hopper silo agitator feeder
dosing scale purge nitrogen steam condensate boiler burner damper louver
compressor receiver dryer separator cyclone baghouse scrubber stack fan
belt chute gate diverter elevator screw mixer reactor jacket coil vessel
tank tote drum pallet forklift dock shipment order lot recipe phase step
operation unit area cell shift operator supervisor maintenance inspection
calibration lubrication vibration bearing seal gasket impeller casing shaft
coupling gearbox encoder resolver limit proximity photoeye barrier curtain
estop reset acknowledge inhibit bypass override permissive trip hold resume
abort complete ready running stopped faulted idle starting stopping""".split()

FOREIGN = ["Druckbehälter", "Ölpumpe", "Kühlwasser", "température", "débit",
           "vanne", "насос", "давление", "задвижка", "泵站", "阀门", "流量",
           "ポンプ", "バルブ", "Größe", "Übertemperatur", "çıkış", "ñandú"]

# Words drawn for about one line in a thousand each.
SCARCE = ["deaerator", "rotameter", "thermowell", "economizer", "desuperheater"]

RARE = "QuokkaInterlockOverride"
RARE_LINES = 120


def weights(count):
    return [1.0 / (rank + 1) ** 0.9 for rank in range(count)]


def make_line(rng, words, cumulative):
    # Most lines are code-like or prose-like of ordinary length; some are
    # a word or two, some run to thousands of characters (minified text).
    roll = rng.random()
    if roll < 0.15:
        count = rng.randint(1, 3)
    elif roll < 0.97:
        count = rng.randint(4, 24)
    else:
        count = rng.randint(200, 900)
    picked = rng.choices(words, cum_weights=cumulative, k=count)
    if rng.random() < 0.08:
        picked[rng.randrange(count)] = rng.choice(FOREIGN)
    if rng.random() < 0.005:
        picked.insert(rng.randrange(count + 1), rng.choice(SCARCE))
    if rng.random() < 0.2:
        picked.append(f"{rng.choice(words).upper()}_{rng.randint(0, 99999)}")
    indent = " " * rng.choice([0, 0, 2, 4, 8])
    joiner = rng.choice([" ", " ", ", ", ".", "_", " = "])
    return indent + joiner.join(picked)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--files", type=int, default=2000)
    parser.add_argument("--megabytes", type=int, default=210)
    parser.add_argument("--seed", type=int, default=2026)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    words = WORDS
    cumulative = []
    total = 0.0
    for weight in weights(len(words)):
        total += weight
        cumulative.append(total)

    # File sizes: many small, a few large, adding up to the goal.
    sizes = [rng.paretovariate(1.2) for _ in range(args.files)]
    scale = args.megabytes * 1_000_000 / sum(sizes)
    sizes = [max(200, int(size * scale)) for size in sizes]
    rare_files = set(rng.sample(range(args.files), RARE_LINES))

    for index, size in enumerate(sizes):
        folder = os.path.join(args.folder, f"area{index % 40:02d}", f"unit{index % 7}")
        os.makedirs(folder, exist_ok=True)
        name = f"{rng.choice(words)}_{index:04d}.{EXTENSIONS[index % len(EXTENSIONS)]}"
        newline = "\r\n" if rng.random() < 0.3 else "\n"
        lines = []
        written = 0
        while written < size:
            line = make_line(rng, words, cumulative)
            lines.append(line)
            written += len(line) + len(newline)
        if index in rare_files:
            at = rng.randrange(len(lines))
            lines[at] = f"{lines[at]} {RARE} {lines[at][:20]}"
        with open(os.path.join(folder, name), "w", encoding="utf-8", newline="") as out:
            out.write(newline.join(lines) + newline)

    print(f"needles: {RARE} deaerator stopping pump status")


if __name__ == "__main__":
    main()
