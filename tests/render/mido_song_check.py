#!/usr/bin/python3
"""Exports songs with lyravane-cli and reads the files back with mido, a reader we did not
write. The tracks, channels and note counts must be those the song implies: the melody from
the units' rhythms, each accompaniment part from its pattern file (read with mido too), one
note per pattern note and beat, plus one where a chord change strikes a sounding note again.

usage: mido_song_check.py LYRAVANE_CLI VECTORS_DIR WORK_DIR
"""

import os
import struct
import subprocess
import sys

try:
    import mido
except ImportError:
    print("python3-mido is not installed")
    sys.exit(77)

BAR = 1536
BEAT = 384
CHANNELS = [0, 1, 2, 3, 9]


# --- the song -------------------------------------------------------------------------------

def read_song(path):
    """Entries of a project file: ('prop', dict) or ('unit', dict)."""
    data = open(path, "rb").read()
    assert data[:8] == b"LYRV1999", path
    count = struct.unpack_from("<i", data, 12)[0]
    kinds = data[208:208 + count]
    pos = 400
    entries = []
    for kind in kinds:
        if kind == 1:
            r = data[pos:pos + 640]
            pos += 640
            scale, key, tempo, use7th, alt_snare, octave_up = struct.unpack_from("<6i", r, 4)
            tracks = [tuple(r[65 + 8 * t:65 + 8 * t + 5]) for t in range(5)]
            names = [r[128 + 64 * i:128 + 64 * (i + 1)].split(b"\0")[0] for i in range(4)]
            entries.append(("prop", dict(scale=scale, key=key, tempo=tempo, use7th=use7th,
                                         alt_snare=alt_snare, octave_up=octave_up,
                                         tracks=tracks, names=names)))
        else:
            r = data[pos:pos + 256]
            pos += 256
            fill, _cadence, _short, harmony = struct.unpack_from("<4i", r, 16)
            entries.append(("unit", dict(fill=fill, harmony=harmony,
                                         chords=list(r[64:80]), rhythm=r[96:128])))
    return entries


# --- the pattern libraries ------------------------------------------------------------------

def trim(b):
    return b.strip(bytes(range(0, 33)))


def read_index(path, pattern_dir):
    entries = []
    if not os.path.exists(path):
        return entries
    text = open(path, "rb").read().replace(b"\r\n", b"\n").replace(b"\r", b"\n")
    lines = text.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    for line in lines:
        if b"|" not in line:
            entries.append((b"", None))
            continue
        file_name, name = line.split(b"|", 1)
        file_name = trim(file_name).decode("latin-1").replace("\\", "/")
        entries.append((trim(name), os.path.join(pattern_dir, file_name) if file_name else None))
    return entries


def resolve(path):
    """The file as written, or the one whose path differs only in ASCII letter case."""
    if os.path.exists(path):
        return path
    resolved = "/" if path.startswith("/") else "."
    for part in [p for p in path.split("/") if p]:
        candidate = os.path.join(resolved, part)
        if not os.path.exists(candidate):
            matches = sorted(n for n in os.listdir(resolved) if n.lower() == part.lower())
            if not matches:
                return path
            candidate = os.path.join(resolved, matches[0])
        resolved = candidate
    return resolved


def load_libraries(pattern_dir):
    libraries = {}
    for prefix in ("BACK", "BASS", "DRUM"):
        entries = read_index(os.path.join(pattern_dir, prefix + "00.DAT"), pattern_dir)
        entries += read_index(os.path.join(pattern_dir, "USER", prefix + "00.DAT"), pattern_dir)
        libraries[prefix] = entries
    return libraries


def lookup(library, name):
    for entry_name, path in library:
        if entry_name.lower() == name.lower():
            return resolve(path) if path else None
    return None


def pattern_notes(path):
    """(time at 384 per quarter, length) of every closed note of a pattern file."""
    midi = mido.MidiFile(path)
    lists = {}
    for index, track in enumerate(midi.tracks):
        now = 0
        for message in track:
            now += message.time
            if message.type not in ("note_on", "note_off"):
                continue
            target = lists.setdefault(index if midi.type == 1 else message.channel, [])
            time = now * 384 // midi.ticks_per_beat
            if message.type == "note_on" and message.velocity > 0:
                target.append([message.note, time, -1])
            else:
                for note in target:
                    if note[0] == message.note and note[2] == -1:
                        note[2] = time - note[1]
                        break
    return [(t, d) for notes in lists.values() for (_, t, d) in notes if d > 0]


# --- the expected counts ----------------------------------------------------------------------

def part_notes_in_bar(notes, unit, bar, channel, prop):
    if channel in (1, 2):
        u = (bar % 2 + (2 if prop["use7th"] else 0)) * BAR
    else:
        pattern_bar = bar % 4
        if channel == 9 and bar == 3 and not unit["fill"]:
            pattern_bar = 2
        u = pattern_bar * BAR
    chords = unit["chords"][4 * bar:4 * bar + 4]
    count = 0
    for i in range(4):
        changes = chords[i] != (chords[i - 1] if i > 0 else 0)
        for t, d in notes:
            if not u <= t < u + BAR:
                continue
            if t < u + BEAT * i:
                count += 1 if changes and t - u + d - BEAT * i > 0 else 0
            elif t < u + BEAT * (i + 1):
                count += 1
    return count


def expected(entries, libraries, repeat):
    libs = ["BACK", "BACK", "BASS", "DRUM"]
    notes = [0] * 5
    programs = [0] * 5
    previous = None
    cache = {}
    for _ in range(repeat):
        for kind, e in entries:
            if kind == "prop":
                for t in range(5):
                    if previous is None or previous["tracks"][t][0] != e["tracks"][t][0]:
                        programs[t] += 1
                previous = e
                continue
            prop = previous
            onsets = e["rhythm"].count(b"*")
            notes[0] += onsets * (2 if e["harmony"] else 1)
            for slot in range(4):
                path = lookup(libraries[libs[slot]], prop["names"][slot])
                if path is None:
                    continue
                if path not in cache:
                    cache[path] = pattern_notes(path)
                for bar in range(4):
                    notes[slot + 1] += part_notes_in_bar(cache[path], e, bar,
                                                         CHANNELS[slot + 1], prop)
    return notes, programs


# --- the check ----------------------------------------------------------------------------------

def check(cli, vectors, work, song, repeat, gm_reset, unit=None):
    out = os.path.join(work, "mido_check.mid")
    args = [cli, "export", os.path.join(vectors, song), "-o", out,
            "--pattern-dir", os.path.join(vectors, "PATTERN")]
    if unit is not None:
        args += ["--unit", str(unit)]
    else:
        args += ["--repeat", str(repeat)]
    if gm_reset:
        args.append("--gm-reset")
    subprocess.run(args, check=True)

    entries = read_song(os.path.join(vectors, song))
    if unit is not None:
        governing = [e for e in entries[:unit + 1] if e[0] == "prop"][-1]
        entries = [governing, entries[unit]]
    want_notes, want_programs = expected(entries, load_libraries(os.path.join(vectors, "PATTERN")),
                                         repeat)

    midi = mido.MidiFile(out)
    label = "%s repeat %d%s%s" % (song, repeat, " gm-reset" if gm_reset else "",
                                  "" if unit is None else " unit %d" % unit)
    failures = []
    if midi.type != 1 or midi.ticks_per_beat != 384 or len(midi.tracks) != 5:
        failures.append("format %d, division %d, %d tracks" %
                        (midi.type, midi.ticks_per_beat, len(midi.tracks)))
    units = sum(1 for kind, _ in entries if kind == "unit") * repeat
    end = (BAR if gm_reset else 0) + units * 4 * BAR
    for t, track in enumerate(midi.tracks[:5]):
        on = off = programs = 0
        now = last_start = 0
        for message in track:
            now += message.time
            if hasattr(message, "channel") and message.channel != CHANNELS[t]:
                failures.append("track %d: %s on channel %d" % (t, message.type, message.channel))
            if message.type == "note_on" and message.velocity > 0:
                on += 1
                last_start = now
            elif message.type == "note_off" or message.type == "note_on":
                off += 1
            elif message.type == "program_change":
                programs += 1
        if on != want_notes[t]:
            failures.append("track %d: %d notes, the song implies %d" % (t, on, want_notes[t]))
        if off != on:
            failures.append("track %d: %d note-ons but %d note-offs" % (t, on, off))
        if programs != want_programs[t]:
            failures.append("track %d: %d program changes, expected %d" %
                            (t, programs, want_programs[t]))
        if on and last_start >= end:
            failures.append("track %d: a note starts at %d, after the song's end %d" %
                            (t, last_start, end))
    for failure in failures:
        print("%s: %s" % (label, failure))
    print("%s: %s, notes per track %s" % (label, "FAIL" if failures else "ok", want_notes))
    return not failures


def main():
    cli, vectors, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    cases = [
        ("compose/out_0.lvp", 1, False, None),
        ("compose/out_1.lvp", 2, True, None),
        ("compose/out_2.lvp", 3, False, None),
        ("compose/out_7.lvp", 4, True, None),
        ("compose/out_2.lvp", 1, True, 6),
    ]
    ok = all([check(cli, vectors, work, *case) for case in cases])
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
