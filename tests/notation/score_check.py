#!/usr/bin/python3
"""Full scores of every style set, and lead sheets, read back by MuseScore 3 and played
against our own MIDI export part by part.

For each set of the pattern sources' README a composed song of two units plays the set's
patterns; lyravane-cli exports it as MIDI and as a full score, and MuseScore 3 converts the
score to MIDI. Per part, every note of ours must sound in MuseScore's at the same pitch and
onset on a 1/48-note grid (a chord strummed over less than a 1/48 note counts at its first
note), and no other; a note not written with an articulation (nor a drum stroke, which has no
length) lasts within a sixteenth of ours. MuseScore must log no import error.

usage: score_check.py LYRAVANE_CLI PATTERN_DIR WORK_DIR [--pages DIR] [--only SET,...]
Exits 77 where mscore3 is not installed; prints a line of figures per score.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "patterns"))
from musicxml_check import complaints  # noqa: E402 (exits 77 without mido)
import songs  # noqa: E402

GRID = 48 / 4  # grid steps per quarter note
SIXTEENTH = 0.25  # in quarter notes
STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
OCTAVE_UP_AT = 24  # property record: the melody an octave up
FILL_AT, HARMONY_AT = 16, 28  # unit record: the drums' fill, the harmony voice
DRUM_CHANNEL = 9
# Sets whose pages are drawn with --pages: a swing set, a Latin set and the 12/8 ballad.
PAGE_SETS = {"Swing": "score-swing", "Salsa": "score-salsa", "Balada 6/8": "score-ballad-6-8"}
OTTAVA_SHEET = "lead sheet, octave up"


def channel_notes(path):
    """{channel: [(onset, pitch, length)]} in quarter notes, strummed chords at their first
    note."""
    ticks, found = songs.ChannelNotes(path)
    notes = {}
    for channel, played in found.items():
        first = None
        for start, end, pitch in sorted(played):
            onset = start / float(ticks)
            if first is None or onset - first >= 1 / GRID:
                first = onset
            notes.setdefault(channel, []).append((first, pitch, end / float(ticks) - first))
    return notes


def grid(onset):
    return int(round(onset * GRID))


def written_parts(path):
    """{part id: (MIDI channel, {(grid onset, pitch) of notes with an articulation})}."""
    root = ET.parse(path).getroot()
    channels = {}
    keys = {}
    for part in root.iter("score-part"):
        # A drum part that strikes nothing names no instrument.
        channels[part.get("id")] = int(part.findtext(".//midi-channel", "10")) - 1
        for instrument in part.iter("midi-instrument"):
            if instrument.find("midi-unpitched") is not None:
                keys[instrument.get("id")] = int(instrument.findtext("midi-unpitched")) - 1
    parts = {}
    for part in root.iter("part"):
        divisions = 1
        start = 0.0
        marked = set()
        for measure in part.iter("measure"):
            position = 0
            length = 0
            last = 0
            for element in measure:
                if element.tag == "attributes" and element.find("divisions") is not None:
                    divisions = int(element.findtext("divisions"))
                elif element.tag == "backup":
                    position -= int(element.findtext("duration"))
                elif element.tag == "forward":
                    position += int(element.findtext("duration"))
                elif element.tag == "note":
                    duration = int(element.findtext("duration", "0"))
                    at = last if element.find("chord") is not None else position
                    if element.find("chord") is None:
                        last = position
                        position += duration
                    length = max(length, position)
                    if element.find("notations/articulations") is None:
                        continue
                    onset = grid(start + at / divisions)
                    if element.find("pitch") is not None:
                        pitch = (12 * (int(element.findtext("pitch/octave")) + 1) +
                                 STEPS[element.findtext("pitch/step")] +
                                 int(element.findtext("pitch/alter", "0")))
                    else:
                        pitch = keys.get(element.find("instrument").get("id"))
                    marked.add((onset, pitch))
            start += length / divisions
        parts[part.get("id")] = (channels[part.get("id")], marked)
    return parts


def compare(ours, theirs, marked, strokes):
    """(notes of ours sounding in theirs, notes in either, lengths checked, lengths within a
    sixteenth)."""
    pending = {}
    for onset, pitch, length in theirs:
        pending.setdefault((grid(onset), pitch), []).append(length)
    matched = lengths = good = 0
    for onset, pitch, length in ours:
        key = (grid(onset), pitch)
        if not pending.get(key):
            continue
        other = pending[key].pop(0)
        matched += 1
        if strokes or key in marked:
            continue
        lengths += 1
        good += abs(other - length) <= SIXTEENTH + 1e-6
    extra = sum(len(v) for v in pending.values())
    return matched, len(ours) + extra, lengths, good


def musescore(jobs, work):
    """Converts every (source, target) with one MuseScore run (pages at 100 dpi); returns its
    complaints."""
    job = os.path.join(work, "job.json")
    with open(job, "w") as f:
        json.dump([{"in": source, "out": target} for source, target in jobs], f)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    result = subprocess.run(["mscore3", "-r", "100", "-j", job], capture_output=True, text=True,
                            env=env, timeout=1800)
    missing = [t for _, t in jobs if not os.path.exists(t) and not t.endswith(".png")]
    faults = complaints(result.stdout + result.stderr, True, ("incomplete",))
    if result.returncode != 0 or missing:
        faults.append("mscore3 exited %d; missing %s" % (result.returncode, missing))
    return faults


def make_scores(cli, patternDir, work, only):
    """[(name, our MIDI, our MusicXML)]: a full score per set, then lead sheets."""
    readme = os.path.join(patternDir, os.pardir, "patterns", "README.md")
    composed = [songs.ComposedSong(cli, 2, scale) for scale in (0, 1)]
    scores = []
    for index, (name, names) in enumerate(songs.SetNames(readme)):
        if only and name not in only:
            continue
        header, prop, units = composed[index % 2]
        # The second unit ends with the drums' fill (a snare roll in the march).
        units = [units[0], units[1][:FILL_AT] + b"\x01" + units[1][FILL_AT + 1:]]
        prop = songs.WithSlots(prop, [n or "" for n in names])
        prop[OCTAVE_UP_AT] = index % 3 == 0
        scores.append((name, prop, units, header, True))
    if not only:
        header, prop, units = composed[1]
        harmony = [bytes(u[:HARMONY_AT]) + b"\x01" + bytes(u[HARMONY_AT + 1:]) for u in units]
        scores.append(("lead sheet, harmony", prop, harmony, header, False))
        # A melody an octave up that climbs to two ledger lines: written under 8va marks.
        path = cli.File(".lvp")
        cli.Run("new", "-o", path, "--units", "4")
        cli.Run("randomize", path, "-o", path, "--seed", "5")
        header, prop, units = songs.ReadSong(path)
        prop[OCTAVE_UP_AT] = 1
        songs.WriteSong(path, header, [(prop, units)])
        cli.Run("compose", path, "-o", path, "--seed", "5", "--melody-seed", "5")
        header, prop, units = songs.ReadSong(path)
        scores.append((OTTAVA_SHEET, prop, units, header, False))
    made = []
    for name, prop, units, header, full in scores:
        # The score's title is the song's file name.
        base = os.path.join(work, name.replace("/", "-"))
        songs.WriteSong(base + ".lvp", header, [(prop, units)])
        cli.Run("export", base + ".lvp", "-o", base + ".mid")
        cli.Run("export", base + ".lvp", "-o", base + ".musicxml", *(["--full-score"] * full))
        made.append((name, base))
    return made


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("cli")
    parser.add_argument("pattern_dir")
    parser.add_argument("work")
    parser.add_argument("--pages", help="draw the pages of three full scores into this folder")
    parser.add_argument("--only", help="these sets only, by name, comma-separated")
    args = parser.parse_args()
    if shutil.which("mscore3") is None:
        print("mscore3 (Debian musescore3) is not installed: scripts/install-deps test "
              "installs it")
        sys.exit(77)
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    cli = songs.Cli(args.cli, args.pattern_dir, args.work)
    only = set(args.only.split(",")) if args.only else set()
    made = make_scores(cli, args.pattern_dir, args.work, only)
    jobs = [(base + ".musicxml", base + "-mscore.mid") for _, base in made]
    if args.pages:
        os.makedirs(args.pages, exist_ok=True)
        jobs += [(base + ".musicxml", os.path.join(args.pages, PAGE_SETS[name] + ".png"))
                 for name, base in made if name in PAGE_SETS]
    faults = musescore(jobs, args.work)
    for name, base in made:
        if name == OTTAVA_SHEET and "<octave-shift" not in open(base + ".musicxml").read():
            faults.append("%s: no 8va mark written" % name)
    for name, base in made:
        ours = channel_notes(base + ".mid")
        theirs = channel_notes(base + "-mscore.mid")
        figures = []
        for part, (channel, marked) in written_parts(base + ".musicxml").items():
            matched, total, lengths, good = compare(ours.get(channel, []),
                                                    theirs.get(channel, []), marked,
                                                    channel == DRUM_CHANNEL)
            figures.append("%s %d/%d notes, %d/%d lengths" % (part, matched, total, good,
                                                              lengths))
            if matched != total or good != lengths:
                faults.append("%s, %s: %d of %d notes, %d of %d lengths" %
                              (name, part, matched, total, good, lengths))
        print("%-22s %s" % (name, "; ".join(figures)))
    for fault in faults:
        print("FAULT", fault)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
