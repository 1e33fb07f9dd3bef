#!/usr/bin/python3
"""Builds the shipped accompaniment library from the readable sources beside this file.

Usage: generate.py [-o OUTDIR] [--list]

Reads back/*.txt, bass/*.txt and drum/*.txt (the notation is described in README.md) and
writes OUTDIR/BACKnn.MID, BASSnn.MID, DRUMnn.MID and the index files BACK00.DAT, BASS00.DAT,
DRUM00.DAT. OUTDIR defaults to ../PATTERN. The output depends only on the sources, so the
committed files can be compared byte for byte with a fresh run.
"""

import argparse
import os
import re
import sys

TPQ = 384
BAR = 4 * TPQ
HALF_BAR = BAR // 2
BAR_COUNT = 4

# Velocity digits: 0 is a ghost note, 9 a hard accent.
VELOCITY = {str(d): v for d, v in enumerate((24, 34, 44, 54, 64, 74, 84, 94, 104, 114))}

NOTE_STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}

# General MIDI percussion keys by the short names the drum sources use.
DRUM_KEYS = {
    "kick2": 35, "kick": 36, "stick": 37, "snare": 38, "clap": 39, "esnare": 40,
    "ftom": 41, "hh": 42, "ftom2": 43, "phh": 44, "ltom": 45, "ohh": 46, "lmtom": 47,
    "hmtom": 48, "crash": 49, "htom": 50, "ride": 51, "china": 52, "bell": 53, "tamb": 54,
    "splash": 55, "cowbell": 56, "crash2": 57, "vibra": 58, "ride2": 59, "hbongo": 60,
    "lbongo": 61, "mconga": 62, "hconga": 63, "lconga": 64, "htimb": 65, "ltimb": 66,
    "hagogo": 67, "lagogo": 68, "cabasa": 69, "maracas": 70, "swhistle": 71, "lwhistle": 72,
    "sguiro": 73, "lguiro": 74, "claves": 75, "hblock": 76, "lblock": 77, "mcuica": 78,
    "ocuica": 79, "mtri": 80, "otri": 81,
}

KINDS = {
    # kind: (file prefix, channel in the file, default gate in percent)
    "back": ("BACK", 0, 90),
    "bass": ("BASS", 0, 85),
    "drum": ("DRUM", 9, 50),
}

ROW_OPTIONS = {"gate", "len", "ring", "strum", "taper", "vel", "shift", "grid"}


class SourceError(Exception):
    pass


class Row:
    """One line of a bar: a voice (note, chord or drum) and its cells."""

    def __init__(self, pitches, options, cells, line):
        self.Pitches = pitches
        self.Options = options
        self.Cells = cells
        self.Line = line
        self.Copied = False

    def Mapped(self, pitchMap):
        row = Row(tuple(pitchMap.get(p, p) for p in self.Pitches), dict(self.Options),
                  self.Cells, self.Line)
        row.Copied = True
        return row


class Pattern:
    def __init__(self, path, kind, number):
        self.Path = path
        self.Kind = kind
        self.Number = number
        self.Name = None
        self.Program = None
        self.Tempo = 120
        self.Grid = 8
        self.Gate = KINDS[kind][2]
        self.Bars = {}  # bar number (1-based) -> list of Row

    @property
    def FileName(self):
        return "%s%02d.MID" % (KINDS[self.Kind][0], self.Number)


def ParsePitch(token, kind, where):
    if kind == "drum":
        if token in DRUM_KEYS:
            return DRUM_KEYS[token]
        if token.isdigit():
            return int(token)
        raise SourceError("%s: unknown drum name %r" % (where, token))
    if token.isdigit():
        return int(token)
    m = re.fullmatch(r"([A-G])([#b]?)(-?\d)", token)
    if not m:
        raise SourceError("%s: bad note name %r" % (where, token))
    step = NOTE_STEPS[m.group(1)] + {"": 0, "#": 1, "b": -1}[m.group(2)]
    # C4 is middle C, MIDI note 60.
    return 12 * (int(m.group(3)) + 1) + step


def StripComment(line):
    # '#' opens a comment at the start of a line or after a blank, so F#3 stays a note name.
    m = re.search(r"(^|\s)#", line)
    return line[: m.start()] if m else line


def ParseOptions(tokens, where):
    options = {}
    for token in tokens:
        key, _, value = token.partition("=")
        if key not in ROW_OPTIONS:
            raise SourceError("%s: unknown option %r" % (where, token))
        if key == "ring":
            if value:
                raise SourceError("%s: 'ring' takes no value" % where)
            options[key] = True
        else:
            try:
                options[key] = int(value)
            except ValueError:
                raise SourceError("%s: option %r needs a whole number" % (where, token))
    return options


def ParseRow(text, pattern, grid, where):
    head, sep, cells = text.partition(":")
    if not sep:
        raise SourceError("%s: a row needs ':' before its cells" % where)
    head = head.strip()
    if head.startswith("["):
        close = head.find("]")
        if close < 0:
            raise SourceError("%s: unclosed chord" % where)
        pitches = tuple(ParsePitch(t, pattern.Kind, where) for t in head[1:close].split())
        rest = head[close + 1:].split()
    else:
        tokens = head.split()
        if not tokens:
            raise SourceError("%s: row without a voice" % where)
        pitches = (ParsePitch(tokens[0], pattern.Kind, where),)
        rest = tokens[1:]
    if not pitches:
        raise SourceError("%s: empty chord" % where)
    options = ParseOptions(rest, where)
    options.setdefault("grid", grid)
    cells = "".join(cells.split())
    if len(cells) != options["grid"]:
        raise SourceError("%s: %d cells for a grid of %d" % (where, len(cells), options["grid"]))
    if BAR % options["grid"]:
        raise SourceError("%s: grid %d does not divide the bar" % (where, options["grid"]))
    bad = set(cells) - set(".-0123456789")
    if bad:
        raise SourceError("%s: unknown cell characters %s" % (where, "".join(sorted(bad))))
    return Row(pitches, options, cells, where)


def ParseSource(path, kind, number):
    pattern = Pattern(path, kind, number)
    bar = None
    barGrid = None
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for lineNo, raw in enumerate(lines, 1):
        where = "%s:%d" % (os.path.relpath(path), lineNo)
        line = StripComment(raw).strip()
        if not line:
            continue
        words = line.split()
        key = words[0]
        if key == "name":
            pattern.Name = line[len("name"):].strip()
        elif key == "program":
            pattern.Program = int(words[1])
        elif key == "tempo":
            pattern.Tempo = int(words[1])
        elif key == "grid":
            pattern.Grid = int(words[1])
        elif key == "gate":
            pattern.Gate = int(words[1])
        elif key == "bar":
            m = re.fullmatch(r"bar\s+(\d+)(?:\s+grid=(\d+))?(?:\s*=\s*(\d+)((?:\s+\S+>\S+)*))?",
                             line)
            if not m:
                raise SourceError("%s: bad bar line" % where)
            bar = int(m.group(1))
            if not 1 <= bar <= BAR_COUNT:
                raise SourceError("%s: bar %d outside 1..%d" % (where, bar, BAR_COUNT))
            if bar in pattern.Bars:
                raise SourceError("%s: bar %d given twice" % (where, bar))
            barGrid = int(m.group(2)) if m.group(2) else pattern.Grid
            rows = []
            if m.group(3):
                source = int(m.group(3))
                if source not in pattern.Bars:
                    raise SourceError("%s: bar %d copies bar %d, not given yet" %
                                      (where, bar, source))
                pitchMap = {}
                for pair in (m.group(4) or "").split():
                    a, b = pair.split(">")
                    pitchMap[ParsePitch(a, kind, where)] = ParsePitch(b, kind, where)
                rows = [r.Mapped(pitchMap) for r in pattern.Bars[source]]
            pattern.Bars[bar] = rows
        else:
            if bar is None:
                raise SourceError("%s: row before the first bar line" % where)
            row = ParseRow(line, pattern, barGrid, where)
            rows = pattern.Bars[bar]
            # A row for a voice that a copied bar brought in replaces that row.
            for i, old in enumerate(rows):
                if old.Copied and old.Pitches == row.Pitches:
                    rows[i] = row
                    break
            else:
                rows.append(row)
    if not pattern.Name:
        raise SourceError("%s: no name" % path)
    missing = [b for b in range(1, BAR_COUNT + 1) if b not in pattern.Bars]
    if missing:
        raise SourceError("%s: bars %s missing" % (path, missing))
    return pattern


def RowNotes(row, barIndex, pattern):
    """Turns one row into notes (start, end, key, velocity), all inside the row's bar."""
    grid = row.Options["grid"]
    step = BAR // grid
    gate = row.Options.get("gate", pattern.Gate)
    barStart = barIndex * BAR
    barEnd = barStart + BAR
    cells = row.Cells
    notes = []
    onsets = [i for i, c in enumerate(cells) if c.isdigit()]
    for i, c in enumerate(cells):
        if c == "-" and (i == 0 or cells[i - 1] == "."):
            raise SourceError("%s: '-' must follow a note" % row.Line)
    for i in onsets:
        span = 1
        while i + span < grid and cells[i + span] == "-":
            span += 1
        if row.Options.get("ring"):
            # Let the note sound over the rests that follow, up to the next note of the row or
            # the middle or end of the bar, where the chord may change.
            while (i + span < grid and cells[i + span] == "."
                   and ((i + span) * step) % HALF_BAR != 0):
                span += 1
        start = barStart + i * step + row.Options.get("shift", 0)
        if "len" in row.Options:
            length = row.Options["len"]
        else:
            length = (span * step * gate + 50) // 100
        end = min(start + length, barEnd)
        strum = row.Options.get("strum", 0)
        order = sorted(row.Pitches, reverse=strum < 0) if strum else list(row.Pitches)
        velocity = VELOCITY[cells[i]] + row.Options.get("vel", 0)
        for k, key in enumerate(order):
            noteStart = start + k * abs(strum)
            noteVelocity = max(1, min(127, velocity + k * row.Options.get("taper", 0)))
            if noteStart < barStart or noteStart >= end:
                raise SourceError("%s: a note at cell %d does not fit in its bar" %
                                  (row.Line, i + 1))
            notes.append((noteStart, end, key, noteVelocity))
    return notes


def PatternNotes(pattern):
    notes = []
    for bar in range(1, BAR_COUNT + 1):
        for row in pattern.Bars[bar]:
            for note in RowNotes(row, bar - 1, pattern):
                notes.append(note)
    notes.sort(key=lambda n: (n[0], n[2]))
    # One sounding note per key: overlapping notes of one key could not be paired with their
    # note-offs unambiguously.
    lastEnd = {}
    for start, end, key, _ in notes:
        if not 0 <= key <= 127:
            raise SourceError("%s: key %d outside 0..127" % (pattern.Path, key))
        if lastEnd.get(key, -1) > start:
            raise SourceError("%s: two notes of key %d overlap at tick %d" %
                              (pattern.Path, key, start))
        lastEnd[key] = end
        if pattern.Kind == "drum" and start // TPQ != (end - 1) // TPQ:
            # A drum note held over a beat line would be struck again at a chord change.
            raise SourceError("%s: drum key %d at tick %d reaches into the next beat" %
                              (pattern.Path, key, start))
    return notes


def VarLen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def TrackChunk(events, endTick):
    """events: (tick, bytes) already in order; returns the MTrk chunk."""
    data = bytearray()
    now = 0
    for tick, message in events:
        data += VarLen(tick - now) + message
        now = tick
    data += VarLen(max(endTick - now, 0)) + b"\xff\x2f\x00"
    return b"MTrk" + len(data).to_bytes(4, "big") + bytes(data)


def MetaText(kind, text):
    raw = text.encode("utf-8")
    return bytes([0xFF, kind]) + VarLen(len(raw)) + raw


def PatternFile(pattern):
    channel = KINDS[pattern.Kind][1]
    endTick = BAR_COUNT * BAR
    tempo = 60000000 // pattern.Tempo
    conductor = [
        (0, MetaText(0x03, pattern.Name)),
        (0, b"\xff\x58\x04\x04\x02\x18\x08"),
        (0, b"\xff\x51\x03" + tempo.to_bytes(3, "big")),
    ]
    events = []  # (tick, order, sequence, bytes): note-offs first at a tick, then note-ons
    if pattern.Program is not None:
        events.append((0, 1, 0, bytes([0xC0 | channel, pattern.Program])))
    for seq, (start, end, key, velocity) in enumerate(PatternNotes(pattern)):
        events.append((start, 2, seq, bytes([0x90 | channel, key, velocity])))
        events.append((end, 0, seq, bytes([0x80 | channel, key, 0x40])))
    events.sort(key=lambda e: e[:3])
    notesTrack = [(0, MetaText(0x03, {"back": "Acomp", "bass": "Bajo", "drum": "Bateria"}
                                [pattern.Kind]))]
    notesTrack += [(e[0], e[3]) for e in events]
    header = b"MThd" + (6).to_bytes(4, "big") + (1).to_bytes(2, "big") + \
        (2).to_bytes(2, "big") + TPQ.to_bytes(2, "big")
    return header + TrackChunk(conductor, endTick) + TrackChunk(notesTrack, endTick)


def LoadLibrary(sourceDir):
    library = {}
    for kind in KINDS:
        patterns = []
        folder = os.path.join(sourceDir, kind)
        for entry in sorted(os.listdir(folder)):
            if not entry.endswith(".txt"):
                continue
            m = re.match(r"(\d\d)_", entry)
            if not m:
                raise SourceError("%s/%s: source names start with a two-digit number" %
                                  (kind, entry))
            patterns.append(ParseSource(os.path.join(folder, entry), kind, int(m.group(1))))
        numbers = [p.Number for p in patterns]
        if len(set(numbers)) != len(numbers) or 0 in numbers:
            raise SourceError("%s: numbers must be unique and start at 01" % kind)
        names = [p.Name.lower() for p in patterns]
        for p in patterns:
            if names.count(p.Name.lower()) > 1:
                raise SourceError("%s: name %r used twice" % (p.Path, p.Name))
            if len(p.Name.encode("utf-8")) > 63 or "|" in p.Name:
                raise SourceError("%s: name must fit 63 bytes and hold no '|'" % p.Path)
        library[kind] = patterns
    return library


def Generate(sourceDir, outDir):
    library = LoadLibrary(sourceDir)
    os.makedirs(outDir, exist_ok=True)
    written = set()
    for kind, patterns in library.items():
        prefix = KINDS[kind][0]
        index = "".join("%s | %s\n" % (p.FileName, p.Name) for p in patterns)
        indexName = prefix + "00.DAT"
        with open(os.path.join(outDir, indexName), "wb") as f:
            f.write(index.encode("utf-8"))
        written.add(indexName)
        for p in patterns:
            with open(os.path.join(outDir, p.FileName), "wb") as f:
                f.write(PatternFile(p))
            written.add(p.FileName)
    # Drop pattern files whose source is gone, so the directory holds exactly the library.
    for entry in os.listdir(outDir):
        if re.fullmatch(r"(BACK|BASS|DRUM)\d\d\.MID", entry) and entry not in written:
            os.remove(os.path.join(outDir, entry))
    return library


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Build the pattern library from its sources.")
    parser.add_argument("-o", "--out", default=os.path.join(here, os.pardir, "PATTERN"),
                        help="output directory (default: ../PATTERN)")
    parser.add_argument("--list", action="store_true", help="print the library after building")
    args = parser.parse_args()
    try:
        library = Generate(here, os.path.normpath(args.out))
    except (SourceError, OSError, ValueError) as e:
        print("generate.py: %s" % e, file=sys.stderr)
        return 1
    if args.list:
        for patterns in library.values():
            for p in patterns:
                print("%s  %s" % (p.FileName, p.Name))
    return 0


if __name__ == "__main__":
    sys.exit(main())
