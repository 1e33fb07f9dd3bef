#!/usr/bin/python3
"""Checks the shipped pattern library against the rules the accompaniment renderer relies on.

Usage: check_patterns.py PATTERN_DIR [--generator GENERATE_PY] [--no-generator]

Every entry of BACK00.DAT, BASS00.DAT and DRUM00.DAT is loaded with mido and checked: format
and resolution, four bars of 4/4, nothing past the fourth bar, notes paired and inside their
bar, pitch classes that survive the move onto any chord, registers, drum keys and channel.
The library itself: enough entries of each kind, unique short names, the quarter-note
arpeggio present. Finally the generator is run into a scratch directory and its output must
equal the directory byte for byte. Prints every violation and exits 1 if there is any.
"""

import argparse
import filecmp
import os
import re
import subprocess
import sys
import tempfile

import mido

QUARTER_ARPEGGIO = "4分音符アルペジオ"
MIN_COUNT = {"BACK": 40, "BASS": 24, "DRUM": 28}

# Pitch classes allowed per kind and bar. Over a minor chord E and B move down a semitone to
# the chord's third and seventh, over the dominant B does; C, E, G and D stay chord tones or
# a ninth, so nothing else may appear. B (a seventh) belongs to the seventh bars of a backing
# pattern only; a bass line may pass through it, as it is the seventh of every chord.
PLAIN = {0, 2, 4, 7}
SEVENTH = PLAIN | {11}
ALLOWED_CLASSES = {
    "BACK": [PLAIN, PLAIN, SEVENTH, SEVENTH],
    "BASS": [SEVENTH] * 4,
}
# Pitch ranges of the written patterns. Chords move them by -8..+5 semitones, so a bass
# note below C2 could fall under the lowest string of a bass guitar.
REGISTER = {"BACK": (40, 84), "BASS": (36, 60)}
# The melody sings above C5: at most this share of a backing pattern's notes may lie there.
BACK_HIGH_KEY = 72
BACK_HIGH_SHARE = 0.20
# No backing note sinks into the bass under any chord, in major or minor (E2).
BACK_LOWEST_FITTED = 40
# Distinct velocities a pattern needs to sound played rather than programmed.
MIN_VELOCITY_LEVELS = 3
# Two patterns of a kind whose figures agree this much (Similarity) are the same figure under
# two names.
MAX_SIMILARITY = 0.62
# Chord quality and root offset per degree 1..6, as the renderer moves pattern notes.
QUALITY = {0: [0, 0, 2, 2, 0, 3, 2], 1: [0, 2, 1, 0, 2, 3, 0]}
ROOT = {0: [0, 0, 2, 4, 5, -5, -3], 1: [0, -3, -1, 0, 2, -8, -7]}
LOWERED = {0: set(), 1: {3, 4, 5, 6, 7, 10, 11}, 2: {3, 4, 5, 10, 11}, 3: {10, 11}}
NAME_PATTERN = re.compile(r"[A-Z0-9_]{1,8}\.[A-Z0-9]{1,3}")
PATTERN_FILE = re.compile(r"(BACK|BASS|DRUM)\d\d\.MID")


def FittedKey(degree, scale, key):
    """The key a pattern note sounds at over a chord of the degree in key 0."""
    lowered = key % 12 in LOWERED[QUALITY[scale][degree]]
    return key + ROOT[scale][degree] - (1 if lowered else 0)


def LowestFitted(key):
    return min(FittedKey(d, s, key) for s in (0, 1) for d in range(1, 7))


class Checker:
    def __init__(self):
        self.Faults = []

    def Fault(self, where, text):
        self.Faults.append("%s: %s" % (where, text))


def ReadIndex(checker, patternDir, kind):
    """Returns the entries (file name, display name) of one index file."""
    path = os.path.join(patternDir, kind + "00.DAT")
    where = kind + "00.DAT"
    try:
        with open(path, "rb") as f:
            raw = f.read()
    except OSError as e:
        checker.Fault(where, "cannot be read (%s)" % e.strerror)
        return []
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        checker.Fault(where, "is not UTF-8")
        return []
    if "\r" in text:
        checker.Fault(where, "has CR characters; lines end in LF")
    if text.endswith("\n"):
        text = text[:-1]  # a final line break adds no entry
    entries = []
    seen = set()
    for lineNo, line in enumerate(text.split("\n"), 1):
        here = "%s line %d" % (where, lineNo)
        fileName, bar, name = line.partition("|")
        fileName, name = fileName.strip(), name.strip()
        if not bar:
            checker.Fault(here, "no '|' (an empty or broken line is an empty entry)")
            continue
        if not NAME_PATTERN.fullmatch(fileName):
            checker.Fault(here, "file name %r is not an upper-case 8.3 name" % fileName)
        if not name:
            checker.Fault(here, "empty display name")
        elif len(name.encode("utf-8")) > 63:
            checker.Fault(here, "display name %r is longer than 63 bytes" % name)
        if name.lower() in seen:
            checker.Fault(here, "display name %r is used twice" % name)
        seen.add(name.lower())
        entries.append((fileName, name))
    if len(entries) < MIN_COUNT[kind]:
        checker.Fault(where, "%d entries, at least %d expected" % (len(entries), MIN_COUNT[kind]))
    return entries


def FileNotes(checker, where, mid):
    """Pairs note-ons with note-offs per track; returns (start, end, key, channel) tuples."""
    notes = []
    for trackNo, track in enumerate(mid.tracks):
        now = 0
        sounding = {}
        pedalDown = None
        for msg in track:
            now += msg.time
            here = "%s track %d tick %d" % (where, trackNo, now)
            if msg.type == "note_on" and msg.velocity > 0:
                if msg.note in sounding:
                    checker.Fault(here, "key %d struck again while it sounds" % msg.note)
                sounding[msg.note] = (now, msg.channel, msg.velocity)
            elif msg.type in ("note_on", "note_off"):
                if msg.note not in sounding:
                    checker.Fault(here, "note-off of key %d without a note-on" % msg.note)
                    continue
                start, channel, velocity = sounding.pop(msg.note)
                notes.append((start, now, msg.note, channel, velocity))
            elif msg.type == "control_change" and msg.control == 64:
                if msg.value >= 64:
                    pedalDown = now
                elif pedalDown is not None:
                    if pedalDown // (4 * mid.ticks_per_beat) != (now - 1) // (
                            4 * mid.ticks_per_beat):
                        checker.Fault(here, "sustain pedal held over a bar line")
                    pedalDown = None
        for key, (start, _, _) in sounding.items():
            checker.Fault("%s track %d" % (where, trackNo),
                          "key %d at tick %d never gets a note-off" % (key, start))
        if pedalDown is not None:
            checker.Fault("%s track %d" % (where, trackNo), "sustain pedal never released")
    return notes


def CheckArrangement(checker, where, kind, notes, bar):
    """Rules of taste: register, beat 3 of the bass, dynamics."""
    pitched = [n for n in notes if n[1] > n[0]]
    if kind == "BACK" and pitched:
        high = sum(1 for n in pitched if n[2] > BACK_HIGH_KEY)
        if high > BACK_HIGH_SHARE * len(pitched):
            checker.Fault(where, "%d%% of the notes lie above C5, at most %d%% may" %
                          (100 * high // len(pitched), 100 * BACK_HIGH_SHARE))
        lowest = min(n[2] for n in pitched)
        if LowestFitted(lowest) < BACK_LOWEST_FITTED:
            checker.Fault(where, "key %d sinks to %d under some chord, below E2" %
                          (lowest, LowestFitted(lowest)))
    if kind == "BASS":
        for start, end, key, _, _ in pitched:
            beat3 = start // bar * bar + bar // 2
            if start <= beat3 < end and key % 12 != 0:
                # The chord may change here; the new chord would start on its third or fifth.
                checker.Fault("%s bar %d key %d" % (where, start // bar + 1, key),
                              "sounds on beat 3 and is not the root")
    levels = {n[4] for n in pitched}
    if len(levels) < MIN_VELOCITY_LEVELS:
        checker.Fault(where, "%d velocity levels, at least %d expected" %
                      (len(levels), MIN_VELOCITY_LEVELS))


def Onsets(kind, notes, tpq):
    """The figure of a pattern: how hard notes start where (to a 48th of a bar, so strums and
    laid-back rows count as the beat they decorate) on which drum, bass key or chord pitch
    class."""
    cell = tpq / 12
    figure = {}
    for start, _, key, _, velocity in notes:
        place = (round(start / cell), key % 12 if kind == "BACK" else key)
        figure[place] = max(figure.get(place, 0), velocity)
    return figure


def Similarity(a, b):
    """Weighted Jaccard index of two figures: 1 for the same hits at the same strength, still
    high for one figure played a little louder, low for different rhythms or accents."""
    places = set(a) | set(b)
    most = sum(max(a.get(p, 0), b.get(p, 0)) for p in places)
    return sum(min(a.get(p, 0), b.get(p, 0)) for p in places) / most if most else 1.0


def CheckDistinct(checker, kind, figures):
    """figures: (file name, display name, onset set). Near duplicates are faults."""
    for i, (fileA, nameA, a) in enumerate(figures):
        for fileB, nameB, b in figures[i + 1:]:
            similarity = Similarity(a, b)
            if similarity > MAX_SIMILARITY:
                checker.Fault("%s %s" % (fileA, fileB),
                              "%r and %r are %d%% alike; give each its own figure" %
                              (nameA, nameB, round(100 * similarity)))


def CheckPattern(checker, patternDir, kind, fileName):
    """Checks one pattern file; returns its figure (onset set) or None."""
    where = fileName
    path = os.path.join(patternDir, fileName)
    if not os.path.isfile(path):
        checker.Fault(where, "listed in %s00.DAT but missing" % kind)
        return None
    try:
        mid = mido.MidiFile(path)
    except Exception as e:  # mido raises several types for broken files
        checker.Fault(where, "does not load (%s)" % e)
        return None
    if mid.type != 1:
        checker.Fault(where, "format %d, format 1 expected" % mid.type)
    tpq = mid.ticks_per_beat
    if tpq not in (384, 480):
        checker.Fault(where, "%d ticks per quarter note, 384 or 480 expected" % tpq)
        return None
    bar = 4 * tpq
    for track in mid.tracks:
        for msg in track:
            if msg.type == "time_signature" and (msg.numerator, msg.denominator) != (4, 4):
                checker.Fault(where, "time signature %d/%d, bars are 4/4" %
                              (msg.numerator, msg.denominator))
    notes = FileNotes(checker, where, mid)
    barsWithNotes = set()
    for start, end, key, channel, _ in notes:
        here = "%s bar %d tick %d key %d" % (where, start // bar + 1, start % bar, key)
        if end <= start:
            checker.Fault(here, "length %d, must be above 0" % (end - start))
            continue
        if start >= 4 * bar:
            checker.Fault(here, "starts after the fourth bar")
            continue
        barIndex = start // bar
        barsWithNotes.add(barIndex)
        if end > (barIndex + 1) * bar:
            checker.Fault(here, "reaches over the bar line")
        if kind == "DRUM":
            if channel != 9:
                checker.Fault(here, "drum note on channel %d, channel 10 expected" %
                              (channel + 1))
            if not 35 <= key <= 81:
                checker.Fault(here, "not a General MIDI percussion key")
            if start // tpq != (end - 1) // tpq:
                # The renderer strikes a note again where the chord changes on a beat line.
                checker.Fault(here, "drum note reaches into the next beat")
        else:
            if key % 12 not in ALLOWED_CLASSES[kind][barIndex]:
                checker.Fault(here, "pitch class %d is not allowed in this bar" % (key % 12))
            low, high = REGISTER[kind]
            if not low <= key <= high:
                checker.Fault(here, "outside the register %d..%d" % (low, high))
    for barIndex in range(4):
        if barIndex not in barsWithNotes:
            checker.Fault(where, "bar %d has no notes" % (barIndex + 1))
    if kind == "BACK":
        for barIndex in (2, 3):
            if not any(s // bar == barIndex and k % 12 == 11 for s, _, k, _, _ in notes):
                checker.Fault(where, "seventh bar %d has no seventh (B)" % (barIndex + 1))
    CheckArrangement(checker, where, kind, notes, bar)
    return Onsets(kind, notes, tpq)


def CheckGenerated(checker, patternDir, generator):
    """The directory must hold exactly what the generator writes from the sources."""
    with tempfile.TemporaryDirectory() as scratch:
        result = subprocess.run([sys.executable, generator, "-o", scratch],
                                capture_output=True, text=True)
        if result.returncode != 0:
            checker.Fault("generator", "failed: %s" % result.stderr.strip())
            return
        generated = {f for f in os.listdir(scratch)}
        present = {f for f in os.listdir(patternDir)
                   if PATTERN_FILE.fullmatch(f) or f.endswith("00.DAT")}
        for f in sorted(present - generated):
            checker.Fault(f, "is not made by the generator (stale file?)")
        for f in sorted(generated - present):
            checker.Fault(f, "is made by the generator but missing; run generate.py")
        for f in sorted(generated & present):
            if not filecmp.cmp(os.path.join(scratch, f), os.path.join(patternDir, f),
                               shallow=False):
                checker.Fault(f, "differs from the generator's output; run generate.py")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("pattern_dir")
    parser.add_argument("--generator", help="default: PATTERN_DIR/../patterns/generate.py")
    parser.add_argument("--no-generator", action="store_true",
                        help="skip the comparison with the generator's output")
    args = parser.parse_args()
    patternDir = args.pattern_dir
    checker = Checker()
    counts = {}
    for kind in ("BACK", "BASS", "DRUM"):
        entries = ReadIndex(checker, patternDir, kind)
        counts[kind] = len(entries)
        if kind == "BACK" and QUARTER_ARPEGGIO not in [name for _, name in entries]:
            checker.Fault("BACK00.DAT", "no entry named %s" % QUARTER_ARPEGGIO)
        figures = []
        for fileName, name in entries:
            figure = CheckPattern(checker, patternDir, kind, fileName)
            if figure is not None:
                figures.append((fileName, name, figure))
        CheckDistinct(checker, kind, figures)
    if not args.no_generator:
        generator = args.generator or os.path.join(patternDir, os.pardir, "patterns",
                                                   "generate.py")
        CheckGenerated(checker, patternDir, generator)
    for fault in checker.Faults:
        print(fault)
    print("%d backing, %d bass, %d drum patterns; %d violations" %
          (counts["BACK"], counts["BASS"], counts["DRUM"], len(checker.Faults)))
    return 1 if checker.Faults else 0


if __name__ == "__main__":
    sys.exit(main())
