#!/usr/bin/python3
"""Checks the shipped pattern library against the rules the accompaniment renderer relies on.

Usage: check_patterns.py PATTERN_DIR [--generator GENERATE_PY] [--no-generator]
                         [--sets README] [--cli LYRAVANE_CLI [--seeds N] [--loudness-units N]
                         [--only FILE,...]]

Every entry of BACK00.DAT, BASS00.DAT and DRUM00.DAT is loaded with mido and checked: format
and resolution, four bars of 4/4, nothing past the fourth bar, notes paired and inside their
bar, pitch classes that survive the move onto any chord, registers, drum keys and channel,
and rules of arrangement: crashes, one feel per swung groove, loudness of the backing, the
Latin figures, blues without the major seventh, no near duplicates. The library itself:
enough entries of each kind, unique short names, the quarter-note arpeggio present, the sets
that data/patterns/README.md lists. With --cli, songs the program composes measure the
backing against the melody and the loudness of every part of every set alone. Finally the
generator is run into a scratch directory and its output must equal the directory byte for
byte. Prints every violation and the worst figure of each rule, and exits 1 on a violation.
"""

import argparse
import filecmp
import os
import re
import subprocess
import sys
import tempfile

import mido

import songs

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
# ... and two that share this much of their hits, however hard they play them (the Jaccard
# index of the places of Onsets).
MAX_SHARED_HITS = 0.6
# A crash marks the start of a phrase: beat 1 of the unit's first bar, which is also the bar
# after a fill. Anywhere else it crashes on bars 3 and 4 as well, bar 3 being heard twice.
CRASH_KEYS = {49, 57}
CRASH_SLACK = 12  # ticks at 384 per quarter note
# A swung groove keeps one feel, given as the cells of six per beat its notes start on:
# swung sixteenths or triplet eighths. Strums and laid-back rows stay within the slack.
SWUNG_SIXTEENTHS = frozenset({0, 2, 3, 5})
TRIPLETS = frozenset({0, 2, 4})
FEELS = {"swung sixteenths": SWUNG_SIXTEENTHS, "triplets": TRIPLETS}
FEEL_SLACK = 14  # ticks at 384 per quarter note
# The melody plays at velocity 100: the backing's notes average at most this.
MAX_BACK_VELOCITY = 80
# Latin figures: the key of each two-bar clave, which runs through all four bars (bar 3
# playing bar 1's side and bar 4 bar 2's); the habanera rhythm of the "Habanera" kick, in
# sixteenths of a half bar; the thumb of the "Bossa Nova" guitar (its lowest note on beats 1
# and 3) on root and fifth; a bass for the tango.
CLAVES = {"Salsa": 75, "Bossa Nova": 37}
HABANERA_DRUMS = "Habanera"
HABANERA = (0, 3, 4, 6)
BOSSA_BACKING = "Bossa Nova"
ROOT_AND_FIFTH = {0, 7}
TANGO_WORD = "tango"
# Blues-based patterns: a major seventh over I and IV sounds wrong there, and the flat
# seventh is no safe pitch class, so they play no seventh at all, in the seventh bars either.
BLUES = {"Boogie Woogie", "Bajo Boogie", "Shuffle", "Piano Rock and Roll"}
PART_NAMES = ("Acomp. 1", "Acomp. 2", "Bajo", "Bateria")
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
        self.Figures = {}  # rule -> (value, text): the worst figure of each rule

    def Fault(self, where, text):
        self.Faults.append("%s: %s" % (where, text))

    def Figure(self, rule, value, text, lowerIsWorse=False):
        """Keeps the worst value a rule has measured, with the words that print it."""
        old = self.Figures.get(rule)
        if old is None or (value < old[0] if lowerIsWorse else value > old[0]):
            self.Figures[rule] = (value, text)


class Pattern:
    """A loaded pattern file: notes are (start, end, key, channel, velocity)."""

    def __init__(self, kind, fileName, name, notes, tpq):
        self.Kind = kind
        self.File = fileName
        self.Name = name
        self.Notes = notes
        self.Tpq = tpq
        self.Figure = Onsets(kind, notes, tpq)

    def Bar(self):
        return 4 * self.Tpq

    def Label(self):
        return "%s %s" % (self.File, self.Name)


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


def SharedHits(a, b):
    """The share of two figures' hits that both play, loudness aside."""
    return len(set(a) & set(b)) / len(set(a) | set(b)) if a or b else 1.0


def CheckDistinct(checker, kind, patterns):
    """Near duplicates are faults."""
    for i, a in enumerate(patterns):
        for b in patterns[i + 1:]:
            where = "%s %s" % (a.File, b.File)
            similarity = Similarity(a.Figure, b.Figure)
            if similarity > MAX_SIMILARITY:
                checker.Fault(where, "%r and %r are %d%% alike; give each its own figure" %
                              (a.Name, b.Name, round(100 * similarity)))
            shared = SharedHits(a.Figure, b.Figure)
            checker.Figure("shared hits " + kind, shared, "%s %.3f (%s, %s; under %.2f)" %
                           (kind, shared, a.Name, b.Name, MAX_SHARED_HITS))
            if shared >= MAX_SHARED_HITS:
                checker.Fault(where, "%r and %r share %.3f of their hits, under %.2f expected" %
                              (a.Name, b.Name, shared, MAX_SHARED_HITS))


def CheckPattern(checker, patternDir, kind, fileName, name):
    """Checks one pattern file; returns it as a Pattern, or None."""
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
    if kind == "BACK" and name not in BLUES:
        for barIndex in (2, 3):
            if not any(s // bar == barIndex and k % 12 == 11 for s, _, k, _, _ in notes):
                checker.Fault(where, "seventh bar %d has no seventh (B)" % (barIndex + 1))
    CheckArrangement(checker, where, kind, notes, bar)
    return Pattern(kind, fileName, name, [n for n in notes if n[1] > n[0]], tpq)


def Named(patterns, name):
    return next((p for p in patterns if p.Name == name), None)


def ReadSets(checker, path, library):
    """The sets of backing, bass and drums that the sources' README lists under "## Sets":
    (set name, [Pattern or None for Acomp. 1, Acomp. 2, Bajo, Bateria])."""
    try:
        table = songs.SetNames(path)
    except OSError as e:
        checker.Fault(path, "cannot be read (%s)" % e.strerror)
        return []
    sets = []
    for setName, names in table:
        members = []
        for kind, name in zip(("BACK", "BACK", "BASS", "DRUM"), names):
            pattern = None if name is None else Named(library[kind], name)
            if name is not None and pattern is None:
                checker.Fault("set %s" % setName, "no %s pattern named %r" % (kind, name))
            members.append(pattern)
        sets.append((setName, members))
    if not sets:
        checker.Fault(path, "lists no sets under '## Sets'")
    return sets


def CheckCrashes(checker, drums):
    for p in drums:
        late = [n for n in p.Notes if n[2] in CRASH_KEYS
                and n[0] * 384 // p.Tpq > CRASH_SLACK]
        for start, _, key, _, _ in late:
            checker.Fault("%s bar %d beat %d" % (p.File, start // p.Bar() + 1,
                                                 start % p.Bar() // p.Tpq + 1),
                          "crash (key %d) away from the start of bar 1" % key)
        checker.Figure("crashes", len(late), "%d away from the unit's start (%s)" %
                       (len(late), p.Label()))


def FeelCell(start, tpq):
    """The cell of six per beat a note starts on, 's' on a straight sixteenth between, or
    'x' on a finer place."""
    place = start * 384 // tpq % 384
    cell = round(place / 64)
    if abs(place - 64 * cell) <= FEEL_SLACK:
        return cell % 6
    if min(abs(place - 96), abs(place - 288)) <= FEEL_SLACK:
        return "s"
    return "x"


def Swung(p):
    """Whether a pattern's groove swings: notes on the cells of six per beat that a straight
    groove does not use, in any bar but a drum fill (a triplet fill leaves a straight groove
    straight)."""
    groove = [n for n in p.Notes if p.Kind != "DRUM" or n[0] // p.Bar() < 3]
    return any(FeelCell(n[0], p.Tpq) in (1, 2, 4, 5) for n in groove)


def OffFeel(patterns):
    """The feel the notes keep best, how many start off it and on which cells."""
    cells = [FeelCell(n[0], p.Tpq) for p in patterns for n in p.Notes]
    best = None
    for feel, allowed in FEELS.items():
        off = [c for c in cells if c not in allowed]
        if best is None or len(off) < best[1]:
            best = (feel, len(off), sorted(set(map(str, off))))
    return best


def CheckFeel(checker, library, sets):
    """A swung pattern keeps one feel, and so does a set whose drums swing (or, without
    drums, any of whose patterns swings)."""
    groups = [(p.Label(), [p]) for kind in ("BACK", "BASS", "DRUM") for p in library[kind]
              if Swung(p)]
    for name, members in sets:
        present = [m for m in members if m]
        leader = [members[3]] if members[3] else present
        if any(Swung(m) for m in leader):
            groups.append(("set " + name, present))
    for label, patterns in groups:
        feel, count, cells = OffFeel(patterns)
        checker.Figure("feel", count, "%d notes off the swing (%s, %s)" % (count, label, feel))
        if count:
            checker.Fault(label, "swung, but %d notes start off %s (cells %s of six per "
                          "beat): one feel throughout" % (count, feel, ",".join(cells)))


def CheckBackingVelocity(checker, backs):
    for p in backs:
        average = sum(n[4] for n in p.Notes) / len(p.Notes)
        checker.Figure("velocity", average, "%.1f (%s; at most %d)" %
                       (average, p.Label(), MAX_BACK_VELOCITY))
        if average > MAX_BACK_VELOCITY:
            checker.Fault(p.File, "velocities average %.1f, over %d under a melody at 100" %
                          (average, MAX_BACK_VELOCITY))


def BarOnsets(p, key, barIndex):
    return sorted(n[0] % p.Bar() for n in p.Notes if n[2] == key and n[0] // p.Bar() == barIndex)


def CheckLatin(checker, library):
    faults = len(checker.Faults)
    for name, key in CLAVES.items():
        p = Named(library["DRUM"], name)
        if p is None:
            checker.Fault("DRUM00.DAT", "no %r drums" % name)
            continue
        bars = [BarOnsets(p, key, b) for b in range(4)]
        for b in range(4):
            if not bars[b]:
                checker.Fault("%s bar %d" % (p.File, b + 1),
                              "the clave (key %d) stops; it runs through the unit" % key)
        if bars[2] != bars[0] or bars[3] != bars[1]:
            checker.Fault(p.File, "bars 3 and 4 do not play the clave of bars 1 and 2")
    p = Named(library["DRUM"], HABANERA_DRUMS)
    if p is not None:
        sixteenth = p.Tpq // 4
        for half in range(8):
            cells = tuple(sorted(n[0] % (p.Bar() // 2) // sixteenth for n in p.Notes
                                 if n[2] in (35, 36) and n[0] // (p.Bar() // 2) == half))
            if len(cells) > 1 and cells != HABANERA:
                checker.Fault("%s half bar %d" % (p.File, half + 1), "kick on sixteenths %s, "
                              "the habanera is %s" % (cells, HABANERA))
    p = Named(library["BACK"], BOSSA_BACKING)
    if p is not None:
        # The thumb: the lowest note struck on beat 1 or 3.
        for beat in range(0, 16, 2):
            start = beat * p.Tpq
            struck = [n[2] for n in p.Notes if start <= n[0] < start + p.Tpq // 8]
            if struck and min(struck) % 12 not in ROOT_AND_FIFTH:
                checker.Fault("%s bar %d beat %d" % (p.File, beat // 4 + 1, beat % 4 + 1),
                              "the thumb plays key %d; it plays the root and the fifth only"
                              % min(struck))
    tango = [p for p in library["BASS"] if TANGO_WORD in p.Name.lower()]
    if not tango:
        checker.Fault("BASS00.DAT", "no bass for the tango")
    checker.Figure("latin", len(checker.Faults) - faults, "%d faults in the claves, the "
                   "habanera, the bossa's thumb and the tango bass (%s)" %
                   (len(checker.Faults) - faults, ", ".join(p.Name for p in tango) or "none"))


def CheckBlues(checker, library):
    for kind in ("BACK", "BASS"):
        for p in library[kind]:
            if p.Name not in BLUES:
                continue
            sevenths = [n for n in p.Notes if n[2] % 12 == 11]
            checker.Figure("blues", len(sevenths), "%d major sevenths (%s)" %
                           (len(sevenths), p.Label()))
            for start, _, key, _, _ in sevenths:
                checker.Fault("%s bar %d key %d" % (p.File, start // p.Bar() + 1, key),
                              "a major seventh in a blues pattern")


def CheckAgainstMelody(checker, cli, backs, seeds):
    if not backs:
        return
    figures = songs.MeasureOnOrAbove(cli, [p.Name for p in backs], seeds)
    for p in backs:
        covered, both, total = figures[p.Name]
        share = covered / total if total else 0.0
        print("on or above the melody: %5.1f%% of its time, %5.1f%% of the time both sound  %s"
              % (100 * share, 100 * covered / both if both else 0.0, p.Label()))
        checker.Figure("melody", share, "%.1f%% of the melody's time (%s; at most %d%%)" %
                       (100 * share, p.Label(), 100 * songs.MAX_ON_OR_ABOVE))
        if share > songs.MAX_ON_OR_ABOVE:
            checker.Fault(p.File, "its top note is on or above the melody for %.1f%% of the "
                          "melody's time, at most %d%%" %
                          (100 * share, 100 * songs.MAX_ON_OR_ABOVE))


def CheckLoudness(checker, cli, sets, only, units):
    parts = []
    for _, members in sets:
        for slot, p in enumerate(members):
            if p is not None and (slot, p.Name) not in parts and (not only or p.File in only):
                parts.append((slot, p.Name))
    melody, loudness = songs.MeasureParts(cli, parts, units)
    print("melody alone: %.1f LUFS" % melody)
    for (slot, name), value in loudness.items():
        print("%s alone: %.1f LUFS  %s" % (PART_NAMES[slot], value, name))
    for name, members in sets:
        for slot, p in enumerate(members):
            if p is None or (slot, p.Name) not in loudness:
                continue
            lead = melody - loudness[(slot, p.Name)]
            part = PART_NAMES[slot]
            checker.Figure("loudness", lead, "%.1f LU over %s %s alone (set %s; at least %.0f)"
                           % (lead, part, p.Label(), name, songs.MIN_MELODY_LEAD),
                           lowerIsWorse=True)
            if lead < songs.MIN_MELODY_LEAD:
                checker.Fault("set %s" % name, "the melody is %.1f LU over %s (%s) alone, at "
                              "least %.0f expected" % (lead, part, p.Name, songs.MIN_MELODY_LEAD))


RULES = [
    ("melody", "backing on or above the melody"),
    ("crashes", "crashes"),
    ("feel", "one feel per swung groove"),
    ("velocity", "backing velocity"),
    ("loudness", "melody over each part alone"),
    ("latin", "Latin figures"),
    ("blues", "blues"),
    ("shared hits BACK", "shared hits"),
    ("shared hits BASS", "shared hits"),
    ("shared hits DRUM", "shared hits"),
]


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
    parser.add_argument("--sets", help="default: PATTERN_DIR/../patterns/README.md")
    parser.add_argument("--cli", help="lyravane-cli, for the rules measured on songs")
    parser.add_argument("--seeds", type=int, default=20,
                        help="composed melodies per scale for the backing (default 20)")
    parser.add_argument("--loudness-units", type=int, default=2,
                        help="units of the song each part is rendered over (default 2)")
    parser.add_argument("--only", help="measure the songs for these pattern files only")
    args = parser.parse_args()
    patternDir = args.pattern_dir
    checker = Checker()
    library = {}
    for kind in ("BACK", "BASS", "DRUM"):
        entries = ReadIndex(checker, patternDir, kind)
        if kind == "BACK" and QUARTER_ARPEGGIO not in [name for _, name in entries]:
            checker.Fault("BACK00.DAT", "no entry named %s" % QUARTER_ARPEGGIO)
        patterns = []
        for fileName, name in entries:
            pattern = CheckPattern(checker, patternDir, kind, fileName, name)
            if pattern is not None:
                patterns.append(pattern)
        CheckDistinct(checker, kind, patterns)
        library[kind] = patterns
    sets = ReadSets(checker, args.sets or os.path.join(patternDir, os.pardir, "patterns",
                                                        "README.md"), library)
    CheckCrashes(checker, library["DRUM"])
    CheckFeel(checker, library, sets)
    CheckBackingVelocity(checker, library["BACK"])
    CheckLatin(checker, library)
    CheckBlues(checker, library)
    if args.cli:
        only = set(args.only.split(",")) if args.only else set()
        with tempfile.TemporaryDirectory() as scratch:
            cli = songs.Cli(args.cli, patternDir, scratch)
            try:
                CheckAgainstMelody(checker, cli, [p for p in library["BACK"]
                                                  if not only or p.File in only], args.seeds)
                CheckLoudness(checker, cli, sets, only, args.loudness_units)
            except (songs.CliError, OSError, ValueError) as e:
                checker.Fault("songs", str(e))
    if not args.no_generator:
        generator = args.generator or os.path.join(patternDir, os.pardir, "patterns",
                                                   "generate.py")
        CheckGenerated(checker, patternDir, generator)
    for fault in checker.Faults:
        print(fault)
    for rule, title in RULES:
        if rule in checker.Figures:
            print("worst, %s: %s" % (title, checker.Figures[rule][1]))
    print("%d backing, %d bass, %d drum patterns, %d sets; %d violations" %
          (len(library["BACK"]), len(library["BASS"]), len(library["DRUM"]), len(sets),
           len(checker.Faults)))
    return 1 if checker.Faults else 0


if __name__ == "__main__":
    sys.exit(main())
