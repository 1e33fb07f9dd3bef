#!/usr/bin/python3
"""Cross-checks our MIDI file writer and reader with mido, a reader we did not write.

Usage: mido_crosscheck.py PATH/TO/midi_tool

1. midi_tool writes a sequence; mido must find in the file exactly the events the event
   lists hold, with note-offs made from the durations, in the order our writer promises.
2. mido writes files (format 0 and 1, running status, divisions 96, 384 and 480, several
   channels, meta and sysex); our reader's dump must give the right lists, times, durations
   and bytes. A hand-made file checks running status across a meta event.

Exits non-zero on the first mismatch.
"""

import os
import subprocess
import sys
import tempfile

import mido

DIVISION = 384


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def run_tool(tool, command, path):
    result = subprocess.run([tool, command, path], capture_output=True, text=True)
    if result.returncode != 0:
        fail("midi_tool %s %s: %s" % (command, path, result.stderr.strip()))
    lines = result.stdout.splitlines()
    header = lines[0].split()
    info = dict(zip(header[0::2], (int(v) for v in header[1::2])))
    lists = [[] for _ in range(info["lists"])]
    for line in lines[1:]:
        index, time, duration, hexbytes = line.split()
        lists[int(index)].append((int(time), int(duration), bytes.fromhex(hexbytes)))
    return info, lists


def event_bytes(msg):
    """The bytes of a message as our event lists hold them."""
    raw = bytes(msg.bytes())
    if msg.is_meta:
        # FF type length payload -> FF type payload
        i = 2
        while raw[i] & 0x80:
            i += 1
        return raw[:2] + raw[i + 1:]
    return raw  # channel messages whole; sysex as F0 payload F7


def flatten(lists):
    return [(index,) + tuple(event) for index, events in enumerate(lists) for event in events]


def compare(what, got, expected):
    """Compares event lists, or (time, bytes) rows, naming the first difference."""
    if got == expected:
        return
    if got and isinstance(got[0], list) or expected and isinstance(expected[0], list):
        got, expected = flatten(got), flatten(expected)
    for i, (g, e) in enumerate(zip(got, expected)):
        if g != e:
            fail("%s: item %d is %r, expected %r" % (what, i, g, e))
    fail("%s: %d items, expected %d" % (what, len(got), len(expected)))


# --- 1. Our writer, mido's reader ------------------------------------------------------

def expected_file_events(events):
    """The (time, bytes) our writer must put in a track for one event list."""
    offs = []
    for time, duration, data in events:
        if data[0] & 0xF0 == 0x90:
            off = bytes([0x80 | (data[0] & 0x0F), data[1] & 0x7F, 0])
            offs.append((time + max(duration, 0), off))
    offs.sort(key=lambda off: off[0])  # stable: equal ticks keep note-on order
    out = []
    k = 0
    for time, _, data in events:
        while k < len(offs) and offs[k][0] <= time:
            out.append(offs[k])
            k += 1
        out.append((time, data))
    out.extend(offs[k:])
    return out


def check_our_writer(tool, workdir):
    path = os.path.join(workdir, "ours.mid")
    info, lists = run_tool(tool, "write", path)
    midi = mido.MidiFile(path)
    if midi.type != 1 or midi.ticks_per_beat != DIVISION or len(midi.tracks) != len(lists):
        fail("header: type %d, division %d, %d tracks"
             % (midi.type, midi.ticks_per_beat, len(midi.tracks)))
    total = 0
    for index, (track, events) in enumerate(zip(midi.tracks, lists)):
        got = []
        now = 0
        for msg in track:
            now += msg.time
            got.append((now, event_bytes(msg)))
        if not got or got[-1][1] != b"\xff\x2f":
            fail("track %d does not end with end-of-track" % index)
        compare("our file, track %d" % index, got[:-1], expected_file_events(events))
        total += len(got)
    if total < 2000:
        fail("the written sequence is too small to prove much (%d events)" % total)

    # Our reader on our file. Overlapping notes of one key do not come back as written
    # (a note-off closes the oldest open note of its key), so the reference is mido's parse.
    _, back = run_tool(tool, "dump", path)
    compare("our file read back", back, expected_lists(midi))
    return total


# --- 2. mido's writer, our reader ------------------------------------------------------

def expected_lists(midi):
    """The event lists our reader must make of a file mido has parsed."""
    fmt = midi.type
    count = 16 if fmt == 0 else len(midi.tracks)
    lists = [[] for _ in range(count)]
    tracks = midi.tracks[:1] if fmt == 0 else midi.tracks
    for index, track in enumerate(tracks):
        now = 0
        for msg in track:
            now += msg.time
            time = now * DIVISION // midi.ticks_per_beat
            if msg.type == "end_of_track":
                break
            if msg.is_meta or msg.type == "sysex":
                lists[0 if fmt == 0 else index].append([time, 0, event_bytes(msg)])
                continue
            target = lists[msg.channel if fmt == 0 else index]
            if msg.type == "note_off" or (msg.type == "note_on" and msg.velocity == 0):
                for event in target:  # first open note-on of the key, any channel
                    if event[2][0] & 0xF0 == 0x90 and event[2][1] == msg.note and event[1] == -1:
                        event[1] = time - event[0]
                        break
                continue
            duration = -1 if msg.type == "note_on" else 0
            target.append([time, duration, event_bytes(msg)])
    return [[tuple(e) for e in events] for events in lists]


def notes(channel, pattern, step, key0, gap=0, velocity=90):
    """Note-on/note-off pairs one after another; every other note ends with a note-on of
    velocity 0, which mido writes with running status."""
    msgs = []
    for i, length in enumerate(pattern):
        key = key0 + (i * 5) % 12
        msgs.append(mido.Message("note_on", channel=channel, note=key, velocity=velocity,
                                 time=gap))
        if (i + gap) % 2:
            msgs.append(mido.Message("note_on", channel=channel, note=key, velocity=0,
                                     time=length * step))
        else:
            msgs.append(mido.Message("note_off", channel=channel, note=key, velocity=64,
                                     time=length * step))
    return msgs


def build_files(workdir):
    files = []

    # Format 1 at 480: a conductor track, a melodic track, a drum track with overlapping
    # notes of one key, a track whose last note is never closed.
    midi = mido.MidiFile(type=1, ticks_per_beat=480)
    midi.tracks.append(mido.MidiTrack([
        mido.MetaMessage("track_name", name="conductor"),
        mido.MetaMessage("set_tempo", tempo=500000),
        mido.MetaMessage("time_signature", numerator=4, denominator=4),
        mido.MetaMessage("set_tempo", tempo=400000, time=1920),
    ]))
    melodic = mido.MidiTrack([
        mido.Message("program_change", channel=2, program=40),
        mido.Message("control_change", channel=2, control=7, value=100),
        mido.Message("sysex", data=[0x7E, 0x7F, 0x09, 0x01]),
        mido.Message("pitchwheel", channel=2, pitch=1000),
        mido.Message("aftertouch", channel=2, value=33, time=7),
        mido.Message("polytouch", channel=2, note=60, value=20, time=1),
    ])
    melodic.extend(notes(2, [1, 2, 1, 3, 1, 1, 4, 2], 120, 60, gap=3))
    midi.tracks.append(melodic)
    midi.tracks.append(mido.MidiTrack([
        mido.Message("note_on", channel=9, note=36, velocity=100),
        mido.Message("note_on", channel=9, note=36, velocity=90, time=240),
        mido.Message("note_on", channel=9, note=42, velocity=80),
        mido.Message("note_on", channel=9, note=36, velocity=0, time=240),
        mido.Message("note_off", channel=9, note=42, velocity=0, time=1),
        mido.Message("note_off", channel=9, note=36, velocity=0, time=239),
        mido.Message("note_off", channel=9, note=50, velocity=0, time=5),  # no note-on: dropped
    ]))
    midi.tracks.append(mido.MidiTrack([
        mido.Message("note_on", channel=5, note=70, velocity=10, time=3),
        # A note-off of another channel closes it: the channel is not compared.
        mido.Message("note_off", channel=6, note=70, velocity=0, time=3),
        mido.Message("note_on", channel=5, note=71, velocity=10, time=1),
    ]))
    files.append(("format1_480", midi))

    # Format 0 at 96: channels 0, 3 and 9 interleaved in one track, meta and sysex among them.
    midi = mido.MidiFile(type=0, ticks_per_beat=96)
    track = mido.MidiTrack([mido.MetaMessage("set_tempo", tempo=600000)])
    chan0 = notes(0, [1, 1, 2, 1, 3], 48, 60)
    chan3 = notes(3, [2, 2, 1, 1, 1], 48, 52, gap=1)
    drums = notes(9, [1, 1, 1, 1, 1, 1], 24, 38)
    absolute = []
    for stream in (chan0, chan3, drums):
        now = 0
        for order, msg in enumerate(stream):
            now += msg.time
            absolute.append((now, order, msg))
    absolute.append((100, 0, mido.MetaMessage("marker", text="half")))
    absolute.append((100, 1, mido.Message("sysex", data=[0x41, 0x10])))
    absolute.sort(key=lambda item: item[0])
    last = 0
    for now, _, msg in absolute:
        track.append(msg.copy(time=now - last))
        last = now
    midi.tracks.append(track)
    files.append(("format0_96", midi))

    # Format 1 at 384 with long gaps (three- and four-byte delta times).
    midi = mido.MidiFile(type=1, ticks_per_beat=384)
    midi.tracks.append(mido.MidiTrack([
        mido.Message("program_change", channel=1, program=0),
        mido.Message("note_on", channel=1, note=64, velocity=64, time=20000),
        mido.Message("note_off", channel=1, note=64, velocity=0, time=3000000),
        mido.Message("control_change", channel=1, control=64, value=127, time=1),
    ]))
    files.append(("format1_384", midi))

    paths = []
    for name, midi in files:
        path = os.path.join(workdir, name + ".mid")
        midi.save(path)
        paths.append(path)

    # By hand: a meta event between a note-on and the running-status note-off after it.
    body = bytes([0x00, 0x90, 60, 100,
                  0x10, 0xFF, 0x01, 0x02, ord("h"), ord("i"),
                  0x10, 60, 0,
                  0x00, 0xFF, 0x2F, 0x00])
    path = os.path.join(workdir, "running_status_meta.mid")
    with open(path, "wb") as f:
        f.write(b"MThd" + (6).to_bytes(4, "big") + (1).to_bytes(2, "big") + (1).to_bytes(2, "big")
                + (120).to_bytes(2, "big") + b"MTrk" + len(body).to_bytes(4, "big") + body)
    paths.append(path)
    return paths


def check_our_reader(tool, workdir):
    checked = 0
    for path in build_files(workdir):
        midi = mido.MidiFile(path)
        info, lists = run_tool(tool, "dump", path)
        name = os.path.basename(path)
        header = (info["format"], info["tracks"], info["division"])
        if header != (midi.type, len(midi.tracks), midi.ticks_per_beat):
            fail("%s: header read as %r" % (name, info))
        expected = expected_lists(midi)
        compare(name, lists, expected)
        if sum(len(events) for events in expected) < 2:
            fail("%s: too few events to prove anything" % name)
        checked += 1

    # A few hand-worked values, in case the model above and the reader share a mistake.
    _, lists = run_tool(tool, "dump", os.path.join(workdir, "format0_96.mid"))
    if lists[0][0] != (0, 0, bytes([0xFF, 0x51, 0x09, 0x27, 0xC0])):
        fail("format 0: tempo not first in list 0: %r" % (lists[0][0],))
    if lists[9][0][:2] != (0, 96) or lists[3][0][:2] != (4, 384):
        fail("format 0 at 96: drum %r, channel 3 %r" % (lists[9][0], lists[3][0]))
    _, lists = run_tool(tool, "dump", os.path.join(workdir, "running_status_meta.mid"))
    if lists[0][0] != (0, 102, bytes([0x90, 60, 100])):
        fail("running status across meta: %r" % (lists[0],))
    return checked


def main():
    if len(sys.argv) != 2:
        fail("usage: mido_crosscheck.py PATH/TO/midi_tool")
    tool = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="lyravane_mido_") as workdir:
        events = check_our_writer(tool, workdir)
        files = check_our_reader(tool, workdir)
    print("mido cross-check passed: %d events of our file, %d files by mido" % (events, files))


if __name__ == "__main__":
    main()
