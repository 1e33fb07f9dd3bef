#!/usr/bin/python3
"""Plays patterns of the library the way the program fits them to chords, for listening.

Usage: audition.py [--back NAME] [--back2 NAME] [--bass NAME] [--drum NAME]
                   [--chords default|pop|minor|all] [--key K] [--use7th] [--tempo BPM]
                   [--units N] -o OUT.mid [--wav OUT.wav]

Names are display names or file names (BACK01.MID) of data/PATTERN. Every pattern bar is
moved onto the chord of each beat and notes are cut and struck again where the chord changes,
as the accompaniment renderer does; units alternate between no fill and fill. With --wav the
song is rendered by fluidsynth with the General MIDI SoundFont. The tool also reports pitched
notes that fall outside the scale of the song, which is how a stray pitch class shows up.
"""

import argparse
import os
import subprocess
import sys

import mido

BEAT = 384
BAR = 4 * BEAT

# Per scale (0 major, 1 minor), indexed by chord degree 1..6.
CHORD_ROOT = {0: [0, 0, 2, 4, 5, -5, -3], 1: [0, -3, -1, 0, 2, -8, -7]}
CHORD_QUALITY = {0: [0, 0, 2, 2, 0, 3, 2], 1: [0, 2, 1, 0, 2, 3, 0]}
LOWERED = {0: set(), 1: {3, 4, 5, 6, 7, 10, 11}, 2: {3, 4, 5, 10, 11}, 3: {10, 11}}

PROGRESSIONS = {
    "default": (0, [1, 1, 1, 1, 4, 4, 4, 4, 5, 5, 5, 5, 1, 1, 1, 1]),
    "pop": (0, [1, 1, 5, 5, 6, 6, 3, 3, 4, 4, 1, 1, 2, 2, 5, 5]),
    "minor": (1, [1, 1, 1, 1, 4, 4, 5, 5, 6, 6, 3, 3, 2, 2, 5, 5]),
}

# Pitch classes of the song's scale with key 0; the minor one allows the raised seventh of V.
SCALE_CLASSES = {0: {0, 2, 4, 5, 7, 9, 11}, 1: {9, 11, 0, 2, 4, 5, 7, 8}}


def PatternNoteForChord(degree, scale, note):
    if scale == 1:
        degree &= 0x7F
    root = CHORD_ROOT[scale][degree] if 1 <= degree <= 6 else 0
    quality = CHORD_QUALITY[scale][degree] if 1 <= degree <= 6 else 0
    return note + root - (1 if note % 12 in LOWERED[quality] else 0)


def LoadPattern(path):
    """Returns the pattern as per-track lists of (time, duration, message), time in 384 tpq."""
    mid = mido.MidiFile(path)
    tracks = []
    for track in mid.tracks:
        now = 0
        events = []
        for msg in track:
            now += msg.time
            if msg.is_meta or msg.type == "sysex":
                continue
            time = now * BEAT // mid.ticks_per_beat
            if msg.type == "note_off" or (msg.type == "note_on" and msg.velocity == 0):
                for e in events:
                    if e[1] == -1 and e[2].type == "note_on" and e[2].note == msg.note:
                        e[1] = time - e[0]
                        break
                continue
            events.append([time, -1 if msg.type == "note_on" else 0, msg])
        tracks.append(events)
    return tracks


def RenderBar(out, chords, bar, start, channel, pattern, key, scale, use7th, fill):
    if channel in (1, 2):
        u = ((bar % 2) + (2 if use7th else 0)) * BAR
    else:
        u = (bar % 4) * BAR
        if channel == 9 and bar == 3 and not fill:
            u = 2 * BAR

    def chord(k):
        return chords[bar * 4 + k] if k >= 0 else 0

    for i in range(4):
        for events in pattern:
            for time, duration, msg in events:
                if not u <= time < u + BAR or msg.type != "note_on" or duration <= 0:
                    if u <= time < u + BAR and msg.type == "control_change" and \
                            u + BEAT * i <= time < u + BEAT * (i + 1) and \
                            msg.control not in (0, 7, 10, 32, 91, 93):
                        out.append((start + time - u, msg.copy(channel=channel)))
                    continue
                if time < u + BEAT * i:
                    rem = time - u + duration - BEAT * i
                    if chord(i) == chord(i - 1) or rem <= 0:
                        continue
                    noteStart = start + BEAT * i
                    length = rem
                    last = min(3, (rem - 1) // BEAT + i)
                elif time < u + BEAT * (i + 1):
                    noteStart = start + time - u
                    length = duration
                    last = min(3, (time - u + length - 1) // BEAT)
                else:
                    continue
                if channel == 9:
                    pitch = msg.note
                else:
                    pitch = key + PatternNoteForChord(chord(i), scale, msg.note)
                for k in range(i + 1, last + 1):
                    if chord(k) != chord(k - 1):
                        length = start + BEAT * k - noteStart
                        break
                out.append((noteStart, mido.Message("note_on", channel=channel, note=pitch,
                                                    velocity=msg.velocity)))
                out.append((noteStart + length, mido.Message("note_off", channel=channel,
                                                             note=pitch)))


def FindPattern(patternDir, kind, name):
    index = os.path.join(patternDir, kind + "00.DAT")
    with open(index, encoding="utf-8") as f:
        for line in f.read().split("\n"):
            fileName, bar, display = line.partition("|")
            if bar and name.lower() in (fileName.strip().lower(), display.strip().lower()):
                return os.path.join(patternDir, fileName.strip())
    sys.exit("audition.py: no %s pattern %r" % (kind, name))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--dir", default=os.path.join(here, os.pardir, "PATTERN"))
    parser.add_argument("--back")
    parser.add_argument("--back2")
    parser.add_argument("--bass")
    parser.add_argument("--drum")
    parser.add_argument("--chords", default="all", choices=list(PROGRESSIONS) + ["all"])
    parser.add_argument("--key", type=int, default=0)
    parser.add_argument("--use7th", action="store_true")
    parser.add_argument("--tempo", type=int, default=120)
    parser.add_argument("--units", type=int, default=2, help="units per progression")
    parser.add_argument("--programs", default="16,4,34,0",
                        help="GM programs (0-based) of Acomp.1, Acomp.2, bass, drum kit")
    parser.add_argument("-o", "--out", required=True)
    parser.add_argument("--wav")
    args = parser.parse_args()

    parts = [(1, "BACK", args.back), (2, "BACK", args.back2), (3, "BASS", args.bass),
             (9, "DRUM", args.drum)]
    programs = [int(p) for p in args.programs.split(",")]
    names = list(PROGRESSIONS) if args.chords == "all" else [args.chords]
    units = []
    for name in names:
        units += [PROGRESSIONS[name]] * args.units

    mid = mido.MidiFile(type=1, ticks_per_beat=BEAT)
    conductor = mido.MidiTrack()
    conductor.append(mido.MetaMessage("set_tempo", tempo=mido.bpm2tempo(args.tempo)))
    mid.tracks.append(conductor)
    outside = 0
    for (channel, kind, name), program in zip(parts, programs):
        if not name:
            continue
        pattern = LoadPattern(FindPattern(args.dir, kind, name))
        events = [(0, mido.Message("program_change", channel=channel, program=program))]
        for n, (scale, chords) in enumerate(units):
            for bar in range(4):
                start = (n * 4 + bar) * BAR
                RenderBar(events, chords, bar, start, channel, pattern, args.key, scale,
                          args.use7th, n % 2 == 1)
        if channel != 9:
            scaleOf = {}
            for n, (scale, _) in enumerate(units):
                scaleOf[n] = scale
            for t, msg in events:
                if msg.type == "note_on":
                    scale = scaleOf[t // (4 * BAR)]
                    if (msg.note - args.key) % 12 not in SCALE_CLASSES[scale]:
                        outside += 1
                        print("outside the scale: %s note %d at bar %d beat %d" %
                              (kind, msg.note, t // BAR + 1, t % BAR // BEAT + 1))
        # Note-offs ahead of note-ons at one tick, as the program writes them.
        events.sort(key=lambda e: (e[0], 0 if e[1].type == "note_off" else 1))
        track = mido.MidiTrack()
        now = 0
        for t, msg in events:
            track.append(msg.copy(time=t - now))
            now = t
        mid.tracks.append(track)
    mid.save(args.out)
    print("%s: %d units, %d notes outside the scale" % (args.out, len(units), outside))
    if args.wav:
        subprocess.run(["fluidsynth", "-ni", "-q", "-g", "0.6", "-F", args.wav,
                        "/usr/share/sounds/sf2/FluidR3_GM.sf2", args.out], check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
