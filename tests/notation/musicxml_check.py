#!/usr/bin/python3
"""Exports composed songs as MusicXML with lyravane-cli and reads them back with readers we
did not write.

  xml       a plain XML reader (xml.etree) finds the song's key signature, tempo, title,
            repeat count and one chord symbol per chord change, each naming the notes the
            accompaniment of our own MIDI export plays on that chord's beats; the .mxl
            container opens with zipfile. Named MIDI tracks read back with mido.
  musescore MuseScore 3 imports the lead sheet, the full score and the .mxl without a
            complaint, and its MIDI of the melody has the pitches and onsets of our MIDI
            export's melody track. Skipped (77) where mscore3 is not installed.

usage: musicxml_check.py xml|musescore LYRAVANE_CLI WORK_DIR
"""

import os
import re
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET
import zipfile

try:
    import mido
except ImportError:
    print("python3-mido is not installed")
    sys.exit(77)

STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
KINDS = {"major": (0, 4, 7), "minor": (0, 3, 7), "diminished": (0, 3, 6),
         "major-seventh": (0, 4, 7, 11), "minor-seventh": (0, 3, 7, 10),
         "dominant": (0, 4, 7, 10), "half-diminished": (0, 3, 6, 10)}
PARTS = ["Melodía", "Acomp. 1", "Acomp. 2", "Bajo", "Batería"]

# (name, key, minor, use 7th, octave up, harmony voice, repeat, melody seed)
SONGS = [
    ("g_major", 7, 0, 0, 0, 0, 1, 11),
    ("d_minor_7th", 5, 1, 1, 0, 1, 2, 12),
    ("e_flat_octave", 3, 0, 1, 1, 0, 3, 13),
    ("f_sharp_minor", 9, 1, 0, 0, 1, 1, 14),
]


def run(cli, *args):
    result = subprocess.run([cli, *args], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("lyravane-cli %s failed: %s" % (" ".join(args), result.stderr))


def patch_song(path, key, minor, use7th, octave_up, harmony):
    """Sets the first property set's key, scale and flags and every unit's harmony voice."""
    data = bytearray(open(path, "rb").read())
    count = struct.unpack_from("<i", data, 12)[0]
    pos = 400
    for kind in data[208:208 + count]:
        if kind == 1:
            struct.pack_into("<2i", data, pos + 4, minor, key)
            struct.pack_into("<i", data, pos + 16, use7th)
            struct.pack_into("<i", data, pos + 24, octave_up)
            pos += 640
        else:
            struct.pack_into("<i", data, pos + 28, harmony)
            pos += 256
    open(path, "wb").write(bytes(data))


def song_facts(path):
    """(tempo, chord degrees per beat of every unit) of a project file."""
    data = open(path, "rb").read()
    count = struct.unpack_from("<i", data, 12)[0]
    pos = 400
    tempo = None
    chords = []
    for kind in data[208:208 + count]:
        if kind == 1:
            tempo = tempo or struct.unpack_from("<i", data, pos + 12)[0]
            pos += 640
        else:
            chords.append(list(data[pos + 64:pos + 80]))
            pos += 256
    return tempo, chords


def make_songs(cli, work):
    songs = []
    for name, key, minor, use7th, octave, harmony, repeat, seed in SONGS:
        path = os.path.join(work, name + ".lvp")
        run(cli, "new", "-o", path, "--units", "3")
        run(cli, "randomize", path, "-o", path, "--seed", str(seed))
        patch_song(path, key, minor, use7th, octave, harmony)
        run(cli, "compose", path, "-o", path, "--seed", str(seed), "--melody-seed", str(seed))
        songs.append(dict(path=path, name=name, key=key, minor=minor, repeat=repeat))
    return songs


def export_all(cli, song, work):
    base = os.path.join(work, song["name"])
    rep = ["--repeat", str(song["repeat"])]
    files = dict(mid=base + ".mid", lead=base + ".musicxml", full=base + "-full.musicxml",
                 mxl=base + ".mxl", xmlfmt=base + "-fmt.out")
    run(cli, "export", song["path"], "-o", files["mid"], *rep)
    run(cli, "export", song["path"], "-o", files["lead"], *rep)
    run(cli, "export", song["path"], "-o", files["full"], "--full-score", *rep)
    run(cli, "export", song["path"], "-o", files["mxl"], *rep)
    run(cli, "export", song["path"], "-o", files["xmlfmt"], "--format", "musicxml", *rep)
    return files


# --- the plain XML reader -------------------------------------------------------------------

def expected_fifths(key):
    fifths = (key % 12) * 7 % 12
    return fifths - 12 if fifths > 5 else fifths


def harmonies(root):
    """(beat from the start, root pitch class, kind) of each chord symbol of part 1."""
    part = root.find("part")
    found = []
    measure_start = 0.0
    divisions = int(part.findtext("measure/attributes/divisions"))
    for measure in part.findall("measure"):
        position = 0
        for element in measure:
            if element.tag == "harmony":
                offset = int(element.findtext("offset", "0"))
                step = element.findtext("root/root-step")
                alter = int(element.findtext("root/root-alter", "0"))
                found.append((measure_start + (position + offset) / divisions,
                              (STEPS[step] + alter) % 12, element.findtext("kind")))
            elif element.tag == "note" and element.find("chord") is None:
                position += int(element.findtext("duration"))
            elif element.tag == "backup":
                position -= int(element.findtext("duration"))
        measure_start += 4.0
    return found


def accompaniment(mid_path):
    """Onset in beats -> pitch classes the accompaniment (not the drums) strikes."""
    midi = mido.MidiFile(mid_path)
    struck = {}
    for track in midi.tracks[1:4]:
        tick = 0
        for message in track:
            tick += message.time
            if message.type == "note_on" and message.velocity > 0:
                struck.setdefault(tick / midi.ticks_per_beat, set()).add(message.note % 12)
    return struck


def check_chords(song, root, mid_path, chords):
    found = harmonies(root)
    changes = sum(1 + sum(1 for a, b in zip(unit, unit[1:]) if a != b) for unit in chords)
    assert len(found) == changes, (song["name"], len(found), changes)
    struck = accompaniment(mid_path)
    song_beats = 16 * len(chords)
    starts = [beat for beat, _, _ in found] + [song_beats]
    heard = 0
    for (beat, root_pc, kind), end in zip(found, starts[1:]):
        # Besides the chord: the pattern's D (a ninth) and its passing B (the seventh the
        # chord would have: major over a major chord, else minor).
        passing = {2, 10} if kind != "major" else {2, 10, 11}
        tones = {(root_pc + i) % 12 for i in KINDS[kind] + tuple(passing)}
        for onset, pcs in struck.items():
            if beat <= onset < end:
                heard += 1
                assert pcs <= tones, (song["name"], beat, kind, root_pc, pcs)
    assert heard > 0, song["name"]


def check_xml(cli, song, files, work):
    root = ET.parse(files["lead"]).getroot()
    assert root.tag == "score-partwise" and root.get("version") == "4.0"
    assert root.findtext("work/work-title") == song["name"]
    assert [p.text for p in root.iter("part-abbreviation")] == PARTS[:1]
    key = root.find("part/measure/attributes/key")
    assert int(key.findtext("fifths")) == expected_fifths(song["key"]), song["name"]
    assert key.findtext("mode") == ("minor" if song["minor"] else "major")
    tempo, chords = song_facts(song["path"])
    assert float(root.find(".//sound").get("tempo")) == tempo
    assert int(root.findtext(".//metronome/per-minute")) == tempo
    backward = [r for r in root.iter("repeat") if r.get("direction") == "backward"]
    if song["repeat"] > 1:
        assert [int(r.get("times")) for r in backward] == [song["repeat"]]
    else:
        assert not backward
    assert len(root.find("part").findall("measure")) == 4 * len(chords)
    marks = [m.text for m in root.iter("rehearsal")]
    assert marks == ["Ptn.%d" % i for i in range(1, len(chords) + 1)], marks
    check_chords(song, root, files["mid"], chords)

    full = ET.parse(files["full"]).getroot()
    assert [p.text for p in full.iter("part-abbreviation")] == PARTS
    assert full.find("part[@id='P5']/measure/attributes/clef/sign").text == "percussion"
    assert open(files["xmlfmt"], "rb").read() == open(files["lead"], "rb").read()
    with zipfile.ZipFile(files["mxl"]) as mxl:
        assert mxl.testzip() is None
        assert mxl.namelist()[0] == "mimetype"
        container = ET.fromstring(mxl.read("META-INF/container.xml"))
        inner = container.find("rootfiles/rootfile").get("full-path")
        assert mxl.read(inner) == open(files["lead"], "rb").read()


def check_track_names(cli, song, work):
    plain = os.path.join(work, "plain.mid")
    named = os.path.join(work, "named.mid")
    unit = os.path.join(work, "unit-named.mid")
    run(cli, "export", song["path"], "-o", plain)
    run(cli, "export", song["path"], "-o", named, "--track-names")
    run(cli, "export", song["path"], "--unit", "2", "-o", unit, "--track-names")
    for path in (named, unit):
        midi = mido.MidiFile(path, charset="utf-8")
        names = [[m.name for m in t if m.type == "track_name"] for t in midi.tracks]
        assert [n[0].split(": ")[0] for n in names] == PARTS, names
        assert all(len(n) == 1 and n[0].split(": ")[1] for n in names), names
        assert all(t[0].type == "track_name" for t in midi.tracks)
    notes = lambda p: [[(m.type, m.time, getattr(m, "note", None)) for m in t
                        if m.type != "track_name"] for t in mido.MidiFile(p).tracks]
    assert notes(plain) == notes(named)


def check_refusals(cli, song, work):
    """Options that do not fit the output's kind are usage errors that write nothing."""
    for args in (["-o", "x.mid", "--full-score"],
                 ["-o", "x.musicxml", "--unit", "1"],
                 ["-o", "x.musicxml", "--track-names"],
                 ["-o", "x.musicxml", "--gm-reset"],
                 ["-o", "x.out", "--format", "pdf"]):
        out = os.path.join(work, args[1])
        result = subprocess.run([cli, "export", song["path"], *args[:1], out, *args[2:]],
                                capture_output=True, text=True)
        assert result.returncode == 2, (args, result.returncode, result.stderr)
        assert not os.path.exists(out), args
    missing = os.path.join(work, "no-such-dir", "x.musicxml")
    result = subprocess.run([cli, "export", song["path"], "-o", missing], capture_output=True)
    assert result.returncode == 1 and not os.path.exists(missing)


# --- MuseScore ------------------------------------------------------------------------------

# MuseScore 3.2 reads a percussion part of several General MIDI keys as instrument changes
# and notes "element already exists" where two keys start together; it plays every key as
# written all the same (check_musescore compares its drums with ours).
PERCUSSION_NOTE = re.compile(r"^instr '(P5-I\d+)?', tick \d+/\d+ \(\d+\): element already exists$")


def complaints(output, percussion, words=()):
    """The lines of MuseScore's output that tell of a fault (with percussion, its notes on
    instrument changes aside)."""
    words = ("error", "invalid", "not valid", "failed", "already exists", "warning") + words
    return [line for line in output.splitlines()
            if not (percussion and PERCUSSION_NOTE.match(line)) and
            any(w in line.lower() for w in words)]


def musescore_midi(source, target, percussion):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    result = subprocess.run(["mscore3", "-o", target, source], capture_output=True, text=True,
                            env=env, timeout=300)
    complaint = complaints(result.stdout + result.stderr, percussion)
    assert result.returncode == 0 and os.path.exists(target), (source, result.stderr)
    assert not complaint, (source, complaint)


def onsets(path, track_index=None, channel=None):
    """Sorted (onset in beats, pitch) of a track's notes, or of a channel's in every track."""
    midi = mido.MidiFile(path)
    notes = []
    for index, track in enumerate(midi.tracks):
        if track_index is not None and index != track_index:
            continue
        tick = 0
        for message in track:
            tick += message.time
            if message.type == "note_on" and message.velocity > 0 and \
                    channel in (None, message.channel):
                notes.append((round(tick / midi.ticks_per_beat, 3), message.note))
    return sorted(notes)


def first_note_track(path):
    midi = mido.MidiFile(path)
    for i, track in enumerate(midi.tracks):
        if any(m.type == "note_on" for m in track):
            return i
    raise AssertionError("no notes in " + path)


def check_musescore(song, files, work):
    ours = onsets(files["mid"], 0)
    assert ours, song["name"]
    for kind in ("lead", "full", "mxl"):
        target = os.path.join(work, "%s-%s-mscore.mid" % (song["name"], kind))
        musescore_midi(files[kind], target, kind == "full")
        theirs = onsets(target, first_note_track(target))
        assert theirs == ours, (song["name"], kind, len(theirs), len(ours),
                                [a for a in zip(theirs, ours) if a[0] != a[1]][:5])
        if kind == "full":
            # The drums: every General MIDI key at its sixteenth.
            drums = onsets(files["mid"], 4)
            assert drums and onsets(target, channel=9) == drums, song["name"]


def main():
    mode, cli, work = sys.argv[1:4]
    if mode == "musescore" and shutil.which("mscore3") is None:
        print("mscore3 (Debian musescore3) is not installed: "
              "scripts/install-deps test installs it")
        sys.exit(77)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    songs = make_songs(cli, work)
    for song in songs:
        files = export_all(cli, song, work)
        if mode == "xml":
            check_xml(cli, song, files, work)
        else:
            check_musescore(song, files, work)
    if mode == "xml":
        check_track_names(cli, songs[1], work)
        check_refusals(cli, songs[0], work)
    print("%s: %d songs checked" % (mode, len(songs)))


if __name__ == "__main__":
    main()
