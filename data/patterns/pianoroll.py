#!/usr/bin/python3
"""Draws the pattern library as piano-roll grids, one PNG per kind.

Usage: pianoroll.py [PATTERN_DIR] [-o OUTDIR]

Writes OUTDIR/library-back.png, library-bass.png, library-drum.png and a README.md that
shows them with the names of the files.

Each pattern of BACK00.DAT, BASS00.DAT and DRUM00.DAT gets a panel labelled with its file
name: four bars left to right (bar lines dark, beats light), pitch or drum key bottom to top,
each note a bar whose colour goes from blue (soft) to red (loud). Pitched panels mark C in
every octave, and C5 in red: backing notes above it compete with the melody. PATTERN_DIR
defaults to ../PATTERN, OUTDIR to ../../docs/patterns. Needs only mido and the standard
library (the PNG is written by hand).
"""

import argparse
import os
import struct
import zlib

import mido

# 5x7 glyphs of the characters a label uses, one string of five bits per row.
GLYPHS = {
    "0": "01110 10001 10011 10101 11001 10001 01110", "1": "00100 01100 00100 00100 00100 00100 01110",
    "2": "01110 10001 00001 00010 00100 01000 11111", "3": "11110 00001 00001 01110 00001 00001 11110",
    "4": "00010 00110 01010 10010 11111 00010 00010", "5": "11111 10000 11110 00001 00001 10001 01110",
    "6": "00110 01000 10000 11110 10001 10001 01110", "7": "11111 00001 00010 00100 01000 01000 01000",
    "8": "01110 10001 10001 01110 10001 10001 01110", "9": "01110 10001 10001 01111 00001 00010 01100",
    "A": "01110 10001 10001 11111 10001 10001 10001", "B": "11110 10001 10001 11110 10001 10001 11110",
    "C": "01110 10001 10000 10000 10000 10001 01110", "D": "11110 10001 10001 10001 10001 10001 11110",
    "K": "10001 10010 10100 11000 10100 10010 10001", "M": "10001 11011 10101 10101 10001 10001 10001",
    "R": "11110 10001 10001 11110 10100 10010 10001", "S": "01111 10000 10000 01110 00001 00001 11110",
    "U": "10001 10001 10001 10001 10001 10001 01110",
}

BAR_PIXELS = 48
ROW_PIXELS = 2
LABEL = 11
MARGIN = 6
COLUMNS = 6
RANGES = {"BACK": (36, 96), "BASS": (28, 64), "DRUM": (35, 82)}

WHITE = (255, 255, 255)
PAPER = (250, 249, 244)
BEAT_LINE = (225, 225, 225)
BAR_LINE = (120, 120, 120)
OCTAVE_LINE = (200, 215, 235)
LIMIT_LINE = (230, 90, 90)
INK = (30, 30, 30)


class Canvas:
    def __init__(self, width, height):
        self.Width = width
        self.Height = height
        self.Pixels = [bytearray(WHITE * width) for _ in range(height)]

    def Rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.Height, y1)):
            row = self.Pixels[y]
            for x in range(max(0, x0), min(self.Width, x1)):
                row[3 * x:3 * x + 3] = bytes(colour)

    def Text(self, x, y, text):
        for ch in text:
            rows = GLYPHS.get(ch)
            if rows:
                for dy, bits in enumerate(rows.split()):
                    for dx, bit in enumerate(bits):
                        if bit == "1":
                            self.Rect(x + dx, y + dy, x + dx + 1, y + dy + 1, INK)
            x += 6

    def Png(self):
        raw = b"".join(b"\0" + bytes(row) for row in self.Pixels)

        def Chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data +
                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        header = struct.pack(">IIBBBBB", self.Width, self.Height, 8, 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + Chunk(b"IHDR", header) +
                Chunk(b"IDAT", zlib.compress(raw, 9)) + Chunk(b"IEND", b""))


def Notes(path):
    """(start, end, key, velocity) in ticks of 384 per quarter note."""
    mid = mido.MidiFile(path)
    scale = 384 / mid.ticks_per_beat
    notes = []
    for track in mid.tracks:
        now = 0
        sounding = {}
        for msg in track:
            now += msg.time
            if msg.type == "note_on" and msg.velocity > 0:
                sounding[msg.note] = (now, msg.velocity)
            elif msg.type in ("note_on", "note_off") and msg.note in sounding:
                start, velocity = sounding.pop(msg.note)
                notes.append((start * scale, now * scale, msg.note, velocity))
    return notes


def Colour(velocity):
    t = max(0.0, min(1.0, (velocity - 24) / 90))
    return (int(40 + 200 * t), int(90 - 40 * t), int(200 - 160 * t))


def Panel(canvas, x0, y0, kind, label, notes):
    low, high = RANGES[kind]
    width = 4 * BAR_PIXELS
    height = (high - low) * ROW_PIXELS
    top = y0 + LABEL
    canvas.Text(x0, y0 + 1, label)
    canvas.Rect(x0, top, x0 + width, top + height, PAPER)
    if kind != "DRUM":
        for key in range(low, high):
            if key % 12 == 0:
                y = top + (high - 1 - key) * ROW_PIXELS + ROW_PIXELS - 1
                canvas.Rect(x0, y, x0 + width, y + 1, LIMIT_LINE if key == 72 else OCTAVE_LINE)
    for beat in range(17):
        x = x0 + beat * BAR_PIXELS // 4
        canvas.Rect(x, top, x + 1, top + height, BAR_LINE if beat % 4 == 0 else BEAT_LINE)
    for start, end, key, velocity in notes:
        if not low <= key < high:
            continue
        xa = x0 + int(start * BAR_PIXELS / 1536)
        xb = max(xa + 1, x0 + int(end * BAR_PIXELS / 1536))
        y = top + (high - 1 - key) * ROW_PIXELS
        canvas.Rect(xa, y, xb, y + ROW_PIXELS, Colour(velocity))


def Draw(patternDir, kind, out):
    with open(os.path.join(patternDir, kind + "00.DAT"), encoding="utf-8") as f:
        files = [line.split("|")[0].strip() for line in f if "|" in line]
    low, high = RANGES[kind]
    panelWidth = 4 * BAR_PIXELS + 1 + MARGIN
    panelHeight = LABEL + (high - low) * ROW_PIXELS + MARGIN
    rows = (len(files) + COLUMNS - 1) // COLUMNS
    canvas = Canvas(MARGIN + COLUMNS * panelWidth, MARGIN + rows * panelHeight)
    for i, name in enumerate(files):
        x = MARGIN + (i % COLUMNS) * panelWidth
        y = MARGIN + (i // COLUMNS) * panelHeight
        Panel(canvas, x, y, kind, name.split(".")[0], Notes(os.path.join(patternDir, name)))
    with open(out, "wb") as f:
        f.write(canvas.Png())


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("pattern_dir", nargs="?", default=os.path.join(here, os.pardir, "PATTERN"))
    parser.add_argument("-o", "--out", default=os.path.join(here, os.pardir, os.pardir, "docs",
                                                           "patterns"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    index = ["# The pattern library as piano rolls", "",
             "Drawn by `data/patterns/pianoroll.py` from `data/PATTERN`: four bars per panel, "
             "pitch or drum key upwards, blue soft to red loud, the red line at C5.", ""]
    for kind, title in (("BACK", "Backing"), ("BASS", "Bass"), ("DRUM", "Drums")):
        name = "library-%s.png" % kind.lower()
        Draw(args.pattern_dir, kind, os.path.join(args.out, name))
        index += ["## %s" % title, "", "![%s](%s)" % (title, name), "", "| File | Name |",
                  "|---|---|"]
        with open(os.path.join(args.pattern_dir, kind + "00.DAT"), encoding="utf-8") as f:
            for line in f:
                fileName, _, shown = line.partition("|")
                index.append("| %s | %s |" % (fileName.strip().split(".")[0], shown.strip()))
        index.append("")
    with open(os.path.join(args.out, "README.md"), "w", encoding="utf-8") as f:
        f.write("\n".join(index))


if __name__ == "__main__":
    main()
