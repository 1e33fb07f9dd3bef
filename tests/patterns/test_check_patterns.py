#!/usr/bin/python3
"""Breaks copies of the pattern library one fault at a time and expects check_patterns.py to
report each one (and to pass the unbroken copy), so the content check cannot pass vacuously.

Usage: test_check_patterns.py PATTERN_DIR LYRAVANE_CLI
"""

import os
import shutil
import subprocess
import sys
import tempfile

import mido

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKER = os.path.join(HERE, "check_patterns.py")
SETS = os.path.join(HERE, os.pardir, os.pardir, "data", "patterns", "README.md")


def RunChecker(patternDir, *extra):
    result = subprocess.run([sys.executable, CHECKER, patternDir, "--sets", SETS, *extra],
                            capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


def FirstEntry(patternDir, kind):
    with open(os.path.join(patternDir, kind + "00.DAT"), encoding="utf-8") as f:
        return f.readline().split("|")[0].strip()


def EditNotes(path, edit):
    """Loads a pattern, lets edit change the (absolute-time) message list of track 1, saves."""
    mid = mido.MidiFile(path)
    track = mid.tracks[1]
    now = 0
    timed = []
    for msg in track:
        now += msg.time
        timed.append([now, msg])
    edit(timed, mid.ticks_per_beat)
    timed.sort(key=lambda e: e[0])
    track.clear()
    last = 0
    for t, msg in timed:
        track.append(msg.copy(time=t - last))
        last = t
    mid.save(path)


def FirstNoteOn(timed):
    return next(e for e in timed if e[1].type == "note_on" and e[1].velocity > 0)


def MakeFirstNoteAnF(timed, _):
    on = FirstNoteOn(timed)
    key = on[1].note
    f = key - key % 12 + 5
    for e in timed:
        if e[0] >= on[0] and e[1].type in ("note_on", "note_off") and e[1].note == key:
            e[1] = e[1].copy(note=f)
            if e[1].type == "note_off" or e[1].velocity == 0:
                break


def LastNoteOff(timed):
    return max(i for i, e in enumerate(timed)
               if e[1].type == "note_off" or (e[1].type == "note_on" and e[1].velocity == 0))


def StretchLastNote(timed, tpq):
    # The last note-off of the file ends the note that starts last in bar 4; moving it a bar
    # later leaves the pairing intact and only breaks the bar rule.
    timed[LastNoteOff(timed)][0] += 4 * tpq


def DropLastNoteOff(timed, _):
    del timed[LastNoteOff(timed)]


def MoveToChannel0(timed, _):
    for e in timed:
        if e[1].type in ("note_on", "note_off"):
            e[1] = e[1].copy(channel=0)


def AddNoteAfterLastBar(timed, tpq):
    timed.append([16 * tpq, mido.Message("note_on", note=60, velocity=80)])
    timed.append([16 * tpq + 100, mido.Message("note_off", note=60)])


def RaiseEveryNote(octaves):
    # Two octaves up the default backing climbs over C5, three past C6.
    def edit(timed, _):
        for e in timed:
            if e[1].type in ("note_on", "note_off"):
                e[1] = e[1].copy(note=e[1].note + 12 * octaves)
    return edit


def LowerEveryNote(timed, _):
    for e in timed:
        if e[1].type in ("note_on", "note_off"):
            e[1] = e[1].copy(note=e[1].note - 12)


def OneVelocity(timed, _):
    for e in timed:
        if e[1].type == "note_on" and e[1].velocity > 0:
            e[1] = e[1].copy(velocity=90)


def FifthOnBeat3(timed, tpq):
    # A G sounding across beat 3 of bar 1, where the chord may change.
    timed.append([2 * tpq - 10, mido.Message("note_on", note=43, velocity=80)])
    timed.append([2 * tpq + 50, mido.Message("note_off", note=43)])


def SecondEntry(patternDir, kind):
    with open(os.path.join(patternDir, kind + "00.DAT"), encoding="utf-8") as f:
        return f.read().split("\n")[1].split("|")[0].strip()


def NamedEntry(patternDir, kind, name):
    with open(os.path.join(patternDir, kind + "00.DAT"), encoding="utf-8") as f:
        return next(line.split("|")[0].strip() for line in f if line.split("|")[1].strip() == name)


def AddNote(key, start, length=60, velocity=80):
    def edit(timed, _):
        timed.append([start, mido.Message("note_on", channel=9, note=key, velocity=velocity)])
        timed.append([start + length, mido.Message("note_off", channel=9, note=key)])
    return edit


def TripletsInAStraightBar(timed, tpq):
    # Two hats on the second and third triplet of beat 1 of bar 1 beside the straight "and"s.
    AddNote(42, tpq // 3, 30)(timed, tpq)
    AddNote(42, 2 * tpq // 3, 30)(timed, tpq)


def Louder(timed, tpq):
    # Every note as hard as it goes, and a crash on every eighth.
    for e in timed:
        if e[1].type == "note_on" and e[1].velocity > 0:
            e[1] = e[1].copy(velocity=127)
    for bar in range(4):
        for eighth in range(8):
            AddNote(57, bar * 4 * tpq + eighth * tpq // 2, 100, 127)(timed, tpq)


def DropKeyInBar(key, bar):
    def edit(timed, tpq):
        inBar = [e for e in timed if e[1].type in ("note_on", "note_off") and e[1].note == key
                 and bar * 4 * tpq <= e[0] < (bar + 1) * 4 * tpq]
        for e in inBar:
            timed.remove(e)
    return edit


def Velocity(velocity):
    def edit(timed, _):
        for e in timed:
            if e[1].type == "note_on" and e[1].velocity > 0:
                e[1] = e[1].copy(velocity=velocity)
    return edit


def HalveVelocities(timed, _):
    for e in timed:
        if e[1].type == "note_on" and e[1].velocity > 0:
            e[1] = e[1].copy(velocity=max(1, e[1].velocity // 2))


def Main(patternDir, cli):
    failures = []

    def Case(title, expected, mutate, *extra):
        with tempfile.TemporaryDirectory() as scratch:
            copy = os.path.join(scratch, "PATTERN")
            shutil.copytree(patternDir, copy)
            mutate(copy)
            code, output = RunChecker(copy, *extra)
            if code == 0 or expected not in output:
                failures.append("%s: exit %d, expected %r in:\n%s" %
                                (title, code, expected, output))

    with tempfile.TemporaryDirectory() as scratch:
        copy = os.path.join(scratch, "PATTERN")
        shutil.copytree(patternDir, copy)
        code, output = RunChecker(copy, "--no-generator")
        if code != 0:
            failures.append("unbroken copy: exit %d\n%s" % (code, output))

    back = FirstEntry(patternDir, "BACK")
    bass = FirstEntry(patternDir, "BASS")
    drum = FirstEntry(patternDir, "DRUM")

    def OnFile(name, edit):
        return lambda d: EditNotes(os.path.join(d, name), edit)

    def Rewrite(kind, change):
        def mutate(d):
            path = os.path.join(d, kind + "00.DAT")
            with open(path, encoding="utf-8") as f:
                text = f.read()
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(change(text))
        return mutate

    Case("F in a backing bar", "pitch class 5", OnFile(back, MakeFirstNoteAnF), "--no-generator")
    Case("note over the bar line", "reaches over the bar line", OnFile(bass, StretchLastNote),
         "--no-generator")
    Case("note-on without note-off", "never gets a note-off", OnFile(back, DropLastNoteOff),
         "--no-generator")
    Case("drum on channel 1", "channel 10 expected", OnFile(drum, MoveToChannel0),
         "--no-generator")
    Case("fifth bar", "after the fourth bar", OnFile(bass, AddNoteAfterLastBar),
         "--no-generator")
    Case("missing file", "missing", lambda d: os.remove(os.path.join(d, drum)),
         "--no-generator")
    Case("long name", "longer than 63 bytes",
         Rewrite("BASS", lambda t: t.replace("|", "| " + "x" * 64, 1)), "--no-generator")
    Case("duplicate name", "used twice",
         Rewrite("DRUM", lambda t: t + t.split("\n")[0] + "\n"), "--no-generator")
    Case("CR LF index", "CR characters",
         Rewrite("BACK", lambda t: t.replace("\n", "\r\n")), "--no-generator")
    Case("no quarter-note arpeggio", "no entry named",
         Rewrite("BACK", lambda t: t.replace("4分音符アルペジオ", "Arpegio")), "--no-generator")
    Case("backing above C5", "above C5", OnFile(back, RaiseEveryNote(2)), "--no-generator")
    Case("backing above C6", "outside the register", OnFile(back, RaiseEveryNote(3)),
         "--no-generator")
    Case("backing in the bass", "below E2", OnFile(back, LowerEveryNote), "--no-generator")
    Case("one velocity", "velocity levels", OnFile(drum, OneVelocity), "--no-generator")
    Case("fifth on beat 3", "sounds on beat 3", OnFile(bass, FifthOnBeat3), "--no-generator")
    Case("near duplicate", "alike",
         lambda d: shutil.copy(os.path.join(d, drum), os.path.join(d, SecondEntry(d, "DRUM"))),
         "--no-generator")
    Case("too few patterns", "at least 28 expected",
         Rewrite("DRUM", lambda t: "\n".join(t.split("\n")[:3]) + "\n"), "--no-generator")
    Case("edited output", "differs from the generator",
         OnFile(back, lambda timed, _: None),
         "--generator", os.path.join(patternDir, os.pardir, "patterns", "generate.py"))
    Case("stale file", "not made by the generator",
         lambda d: shutil.copy(os.path.join(d, back), os.path.join(d, "BACK99.MID")),
         "--generator", os.path.join(patternDir, os.pardir, "patterns", "generate.py"))

    # The rules of arrangement, one broken library each; the last two play songs, and measure
    # only the broken file.
    salsa = NamedEntry(patternDir, "DRUM", "Salsa")
    boogie = NamedEntry(patternDir, "BASS", "Bajo Boogie")
    drum2 = SecondEntry(patternDir, "DRUM")
    for title, expected, mutate, only in [
            ("crash in bar 3", "away from the start of bar 1",
             OnFile(drum, AddNote(49, 2 * 4 * 384)), None),
            ("two feels", "one feel throughout", OnFile(drum, TripletsInAStraightBar), None),
            ("loud backing", "velocities average", OnFile(back, Velocity(110)), None),
            ("clave stops", "the clave (key 75) stops", OnFile(salsa, DropKeyInBar(75, 2)), None),
            ("major seventh in a boogie", "a major seventh in a blues pattern",
             OnFile(boogie, AddNote(47, 384, 100)), None),
            ("same hits, softer", "of their hits",
             lambda d: (shutil.copy(os.path.join(d, drum), os.path.join(d, drum2)),
                        EditNotes(os.path.join(d, drum2), HalveVelocities)), None),
            ("backing over the melody", "on or above the melody for",
             OnFile(back, RaiseEveryNote(1)), back),
            ("drums louder than the melody", "LU over Bateria", OnFile(drum, Louder), drum)]:
        measured = ("--cli", cli, "--seeds", "2", "--loudness-units", "1", "--only", only)
        Case(title, expected, mutate, "--no-generator", *(measured if only else ()))

    for failure in failures:
        print(failure)
    print("%d checker cases failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: test_check_patterns.py PATTERN_DIR LYRAVANE_CLI")
    sys.exit(Main(sys.argv[1], sys.argv[2]))
