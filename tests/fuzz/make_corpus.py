#!/usr/bin/python3
"""Rebuilds the seed corpora in tests/fuzz/corpus from real files.

usage: make_corpus.py LYRAVANE_CLI

Project files: the composition vectors and songs made here with lyravane-cli (new, compose,
randomize). Unit records: cut from those songs. MIDI files: a choice of the shipped patterns,
the vector patterns and renderings, and files mido writes (format 0, running status, another
division). Index files: the shipped and the vector index files. Render inputs: a choice
byte followed by a property record and a unit record, or by a whole song. Pattern checks: a
kind byte followed by a pattern file.
Files named regress-* (inputs that once broke a reader) are kept as they are.
"""

import io
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile

import mido

ROOT = pathlib.Path(__file__).resolve().parents[2]
CORPUS = ROOT / "tests/fuzz/corpus"
VECTORS = ROOT / "tests/data/vectors"
PATTERN = ROOT / "data/PATTERN"

HEADER = 400
PROPERTY = 640
UNIT = 256


def records(song: bytes):
    """(kind, bytes) of every entry of a project file."""
    count = struct.unpack_from("<i", song, 12)[0]
    at = HEADER
    for i in range(count):
        kind = song[208 + i]
        size = PROPERTY if kind == 1 else UNIT if kind == 2 else 0
        if size:
            yield kind, song[at:at + size]
        at += size


def reset(name):
    d = CORPUS / name
    d.mkdir(parents=True, exist_ok=True)
    for f in d.iterdir():
        if not f.name.startswith("regress-"):
            f.unlink()
    return d


def made_songs(cli, work):
    def run(*args):
        subprocess.run([cli, *args, "--pattern-dir", str(PATTERN)], check=True,
                       stdout=subprocess.DEVNULL)

    run("new", "-o", f"{work}/new1.lvp", "--units", "1")
    run("new", "-o", f"{work}/new6.lvp", "--units", "6")
    run("compose", f"{work}/new6.lvp", "-o", f"{work}/comp6.lvp", "--seed", "11",
        "--melody-seed", "5")
    run("randomize", f"{work}/comp6.lvp", "-o", f"{work}/rand6.lvp", "--seed", "3")
    run("compose", f"{work}/new1.lvp", "-o", f"{work}/comp1.lvp", "--seed", "77",
        "--melody-seed", "2", "--lock", "1,2")
    return sorted(pathlib.Path(work).glob("*.lvp"))


def mido_files(out):
    """Files another writer made: format 0 with running status, division 96; format 1."""
    f0 = mido.MidiFile(type=0, ticks_per_beat=96)
    t = mido.MidiTrack()
    f0.tracks.append(t)
    t.append(mido.MetaMessage("set_tempo", tempo=400000, time=0))
    t.append(mido.Message("program_change", channel=9, program=0, time=0))
    for i, note in enumerate([36, 38, 42, 46]):
        t.append(mido.Message("note_on", channel=9, note=note, velocity=90,
                              time=0 if i == 0 else 24))
        t.append(mido.Message("note_on", channel=9, note=note, velocity=0, time=24))
    t.append(mido.Message("note_on", channel=0, note=60, velocity=80, time=0))
    t.append(mido.Message("pitchwheel", channel=0, pitch=1000, time=10))
    t.append(mido.Message("note_off", channel=0, note=60, velocity=0, time=86))
    f0.save(out / "mido_format0_96.mid")

    f1 = mido.MidiFile(type=1, ticks_per_beat=480)
    meta = mido.MidiTrack()
    meta.append(mido.MetaMessage("track_name", name="meta", time=0))
    meta.append(mido.MetaMessage("time_signature", numerator=4, denominator=4, time=0))
    meta.append(mido.Message("sysex", data=[0x7E, 0x7F, 0x09, 0x01], time=0))
    f1.tracks.append(meta)
    notes = mido.MidiTrack()
    for note in (48, 52, 55):
        notes.append(mido.Message("note_on", channel=1, note=note, velocity=70, time=0))
    notes.append(mido.Message("control_change", channel=1, control=64, value=127, time=240))
    for note in (48, 52, 55):
        notes.append(mido.Message("note_off", channel=1, note=note, velocity=64,
                                  time=240 if note == 48 else 0))
    f1.tracks.append(notes)
    f1.save(out / "mido_format1_480.mid")


def main():
    cli = sys.argv[1]
    with tempfile.TemporaryDirectory() as work:
        songs = sorted(VECTORS.glob("compose/in_*.lvp")) + [
            VECTORS / "compose/out_2.lvp", VECTORS / "compose/rand_1.lvp"
        ] + made_songs(cli, work)

        d = reset("project")
        for s in songs:
            shutil.copy(s, d / s.name)

        d = reset("unit_record")
        seen = set()
        for s in songs:
            for kind, rec in records(s.read_bytes()):
                if kind == 2 and rec not in seen and len(seen) < 12:
                    seen.add(rec)
                    # Every other record carries the byte after it: scale, locks, seed.
                    extra = bytes([len(seen) * 37 % 256]) if len(seen) % 2 else b""
                    (d / f"{s.stem}_unit{len(seen)}.rec").write_bytes(rec + extra)

        d = reset("render")
        n = 0
        for s in songs:
            data = s.read_bytes()
            entries = list(records(data))
            prop = next(r for k, r in entries if k == 1)
            units = [r for k, r in entries if k == 2][:1]
            for u in units:
                n += 1
                (d / f"unit_{s.stem}_{n}.bin").write_bytes(bytes([(n % 2) * 2]) + prop + u)
            if len(data) < 3000 and n % 2:
                (d / f"song_{s.stem}.bin").write_bytes(bytes([1 | (n % 4) << 2]) + data)

        d = reset("midi")
        for name in ["BACK01", "BACK02", "BACK17", "BACK31", "BASS01", "BASS09", "BASS18",
                     "DRUM01", "DRUM10", "DRUM20"]:
            shutil.copy(PATTERN / f"{name}.MID", d / f"{name}.MID")
        for f in sorted(VECTORS.glob("PATTERN/**/*.MID")):
            shutil.copy(f, d / f"vector_{f.name}")
        for name in ["song_0", "unit_0", "preview_4"]:
            shutil.copy(VECTORS / f"render/{name}.mid", d / f"{name}.mid")
        mido_files(d)

        d = reset("pattern")
        # A kind byte, then a pattern file: shipped ones of each kind under their own kind
        # and another, a vector pattern, a file of too few bars.
        for n, (kind, name) in enumerate([(0, "BACK01.MID"), (1, "BASS01.MID"),
                                          (2, "DRUM01.MID"), (2, "BASS03.MID")]):
            (d / f"{n}_{name}").write_bytes(bytes([kind]) + (PATTERN / name).read_bytes())
        (d / "vector_DRUM01.MID").write_bytes(bytes([2]) +
                                              (VECTORS / "PATTERN/DRUM01.MID").read_bytes())
        two = mido.MidiFile(ticks_per_beat=96)
        track = mido.MidiTrack()
        two.tracks.append(track)
        track.append(mido.MetaMessage("time_signature", numerator=3, denominator=4))
        for bar in range(2):
            track.append(mido.Message("note_on", note=36, velocity=90, time=0))
            track.append(mido.Message("note_off", note=36, time=96 * 4))
        buffer = io.BytesIO()
        two.save(file=buffer)
        (d / "two_bars.mid").write_bytes(bytes([1]) + buffer.getvalue())

        d = reset("index")
        for f in sorted(PATTERN.glob("*.DAT")):
            shutil.copy(f, d / f.name)
        for f in sorted(VECTORS.glob("PATTERN/**/*.DAT")):
            shutil.copy(f, d / ("vector_" + "_".join(f.relative_to(VECTORS / "PATTERN").parts)))


if __name__ == "__main__":
    main()
