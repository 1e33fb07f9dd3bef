"""Rules of the pattern library measured on songs that lyravane-cli composes, exports and
renders: the backing against the composer's melodies, and the loudness of each part alone.

The songs are the program's own: `new` and `compose` write them, `export` and `render` play
them. Between those steps only fields of the song file are set (scale, pattern names, a
track's volume), and the units of one composed song are put behind several property sets, so
that one export or render plays many patterns in turn. Needs mido and libebur128.
"""

import concurrent.futures
import ctypes
import itertools
import os
import struct
import subprocess
import wave

import mido

# The song file: a header with one kind byte per entry, then property and unit records.
HEADER_SIZE = 400
KINDS_AT = 208
KIND_PROPERTY, KIND_UNIT = 1, 2
PROPERTY_SIZE = 640
UNIT_SIZE = 256
MAX_ENTRIES = 50
SCALE_AT, TEMPO_AT = 4, 12
TRACKS_AT = 65  # five blocks of 8 bytes: instrument, volume, ...
NAMES_AT = 128  # four pattern names of 64 bytes
NAME_FIELD = 64
MELODY_TRACK = 0
SLOT_TRACKS = (1, 2, 3, 4)  # Acomp. 1, Acomp. 2, Bajo, Bateria
BARS_PER_UNIT = 4

# The melody sings over the backing when the backing's top note lies under it: a pattern may
# reach the melody's note, or climb over it, for at most this share of the melody's time.
MAX_ON_OR_ABOVE = 0.25
# Every part alone stays this far under the melody alone (LU).
MIN_MELODY_LEAD = 3.0
RENDER_RATE = 22050
WORKERS = 2


NO_PATTERN = {"", "-", "\u2014"}


def SetNames(readme):
    """The sets the pattern sources' README lists under "## Sets": (set name, [pattern name
    or None for Acomp. 1, Acomp. 2, Bajo, Bateria]). Raises OSError."""
    with open(readme, encoding="utf-8") as f:
        lines = f.read().split("\n")
    sets = []
    inSets = False
    for line in lines:
        if line.startswith("#"):
            inSets = line.strip() == "## Sets"
            continue
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if not inSets or not line.startswith("|") or len(cells) != 5:
            continue
        if cells[0] in ("Set", "") or set(cells[0]) <= set("-:"):
            continue  # the head and the rule under it
        sets.append((cells[0], [None if n in NO_PATTERN else n for n in cells[1:]]))
    return sets


class CliError(Exception):
    pass


class Cli:
    """Runs lyravane-cli on a private data folder (no user patterns) in a scratch folder."""

    def __init__(self, path, patternDir, scratch):
        self.Path = path
        self.PatternDir = patternDir
        self.Scratch = scratch
        self.Env = dict(os.environ, XDG_DATA_HOME=os.path.join(scratch, "data"))
        self.Names = itertools.count()  # scratch file names, drawn from several threads

    def Run(self, *args):
        result = subprocess.run([self.Path, *args, "--pattern-dir", self.PatternDir],
                                capture_output=True, text=True, env=self.Env)
        if result.returncode != 0:
            raise CliError("lyravane-cli %s failed: %s" % (args[0], result.stderr.strip()))

    def File(self, suffix):
        return os.path.join(self.Scratch, "f%d%s" % (next(self.Names), suffix))


def ReadSong(path):
    """The first property record and the unit records of a song of one property set."""
    with open(path, "rb") as f:
        data = f.read()
    count = struct.unpack_from("<i", data, 12)[0]
    kinds = data[KINDS_AT:KINDS_AT + count]
    if kinds[0] != KIND_PROPERTY or any(k != KIND_UNIT for k in kinds[1:]):
        raise CliError("%s: expected one property set and its units" % path)
    units = [data[HEADER_SIZE + PROPERTY_SIZE + i * UNIT_SIZE:][:UNIT_SIZE]
             for i in range(count - 1)]
    return data[:HEADER_SIZE], bytearray(data[HEADER_SIZE:HEADER_SIZE + PROPERTY_SIZE]), units


def WriteSong(path, header, groups):
    """groups: (property record, unit records) in song order."""
    kinds = []
    body = b""
    for prop, units in groups:
        kinds += [KIND_PROPERTY] + [KIND_UNIT] * len(units)
        body += bytes(prop) + b"".join(units)
    if len(kinds) > MAX_ENTRIES:
        raise ValueError("a song holds at most %d entries" % MAX_ENTRIES)
    head = bytearray(header)
    struct.pack_into("<i", head, 12, len(kinds))
    head[KINDS_AT:KINDS_AT + MAX_ENTRIES] = bytes(kinds) + bytes(MAX_ENTRIES - len(kinds))
    with open(path, "wb") as f:
        f.write(bytes(head) + body)


def WithSlots(prop, names, melodyVolume=None):
    """A property record playing the pattern names of the four slots ("" leaves one silent)."""
    prop = bytearray(prop)
    for i, name in enumerate(names):
        raw = (name or "").encode("utf-8")
        prop[NAMES_AT + i * NAME_FIELD:NAMES_AT + (i + 1) * NAME_FIELD] = \
            raw + bytes(NAME_FIELD - len(raw))
    if melodyVolume is not None:
        prop[TRACKS_AT + 8 * MELODY_TRACK + 1] = melodyVolume
    return prop


def ComposedSong(cli, units, scale):
    """A new song of `units` units in major (0) or minor (1), composed with seed 1; unit k
    sings the melody of melody seed k + 1, as the composer makes it with default options."""
    path = cli.File(".lvp")
    cli.Run("new", "-o", path, "--units", str(units))
    header, prop, unitRecords = ReadSong(path)
    struct.pack_into("<i", prop, SCALE_AT, scale)
    WriteSong(path, header, [(prop, unitRecords)])
    cli.Run("compose", path, "-o", path, "--seed", "1", "--melody-seed", "1")
    return ReadSong(path)


def RunAll(jobs):
    with concurrent.futures.ThreadPoolExecutor(WORKERS) as pool:
        return list(pool.map(lambda job: job(), jobs))


# --- The backing against the melody -------------------------------------------------------

def ChannelNotes(path):
    """(start, end, key) of the notes of each channel of a MIDI file (a key struck again
    while it sounds: its notes end first in, first out)."""
    mid = mido.MidiFile(path)
    notes = {}
    for track in mid.tracks:
        now = 0
        sounding = {}
        for msg in track:
            now += msg.time
            if msg.type == "note_on" and msg.velocity > 0:
                sounding.setdefault((msg.channel, msg.note), []).append(now)
            elif msg.type in ("note_on", "note_off") and sounding.get((msg.channel, msg.note)):
                start = sounding[(msg.channel, msg.note)].pop(0)
                notes.setdefault(msg.channel, []).append((start, now, msg.note))
    return mid.ticks_per_beat, notes


def OnOrAbove(melody, backing, begin, end):
    """Ticks of the melody's sounding time in [begin, end), those of them during which the
    backing sounds too, and those during which the backing's top note is at or above the
    melody's note."""
    events = []
    for voice, notes in ((0, melody), (1, backing)):
        for start, stop, key in notes:
            if start < end and stop > begin:
                events.append((max(start, begin), 1, voice, key))
                events.append((min(stop, end), -1, voice, key))
    events.sort(key=lambda e: (e[0], e[1]))
    sounding = ({}, {})  # key -> notes of the voice sounding it
    total = both = covered = 0
    last = None
    for time, change, voice, key in events:
        if last is not None and time > last and sounding[0]:
            total += time - last
            if sounding[1]:
                both += time - last
                if max(sounding[1]) >= max(sounding[0]):
                    covered += time - last
        count = sounding[voice].get(key, 0) + change
        if count:
            sounding[voice][key] = count
        else:
            sounding[voice].pop(key, None)
        last = time
    return total, both, covered


def MeasureOnOrAbove(cli, backNames, seeds):
    """{name: [covered, both, total]} over the composed melodies of both scales."""
    songs = [ComposedSong(cli, seeds, scale) for scale in (0, 1)]
    perSong = MAX_ENTRIES // (seeds + 1) * 2  # two backing slots per property set
    jobs = []
    for header, prop, units in songs:
        for first in range(0, len(backNames), perSong):
            names = backNames[first:first + perSong]
            jobs.append(lambda h=header, p=prop, u=units, n=names: ExportBacking(cli, h, p, u, n))
    figures = {name: [0, 0, 0] for name in backNames}
    for result in RunAll(jobs):
        for name, (total, both, covered) in result.items():
            figures[name][0] += covered
            figures[name][1] += both
            figures[name][2] += total
    return figures


def ExportBacking(cli, header, prop, units, names):
    pairs = [names[i:i + 2] for i in range(0, len(names), 2)]
    groups = [(WithSlots(prop, [pair[0], pair[1] if len(pair) > 1 else "", "", ""]), units)
              for pair in pairs]
    song = cli.File(".lvp")
    midi = cli.File(".mid")
    WriteSong(song, header, groups)
    cli.Run("export", song, "-o", midi)
    tpq, notes = ChannelNotes(midi)
    span = len(units) * BARS_PER_UNIT * 4 * tpq
    result = {}
    for g, pair in enumerate(pairs):
        for slot, name in enumerate(pair):
            # Acomp. 1 and 2 play on channels 1 and 2, the melody on channel 0.
            result[name] = OnOrAbove(notes.get(0, []), notes.get(1 + slot, []), g * span,
                                     (g + 1) * span)
    return result


# --- Loudness of each part alone ----------------------------------------------------------

class Ebur128:
    """Integrated loudness of 16-bit interleaved samples through libebur128."""

    MODE_I = (1 << 2) | (1 << 0)

    def __init__(self):
        self.Lib = ctypes.CDLL("libebur128.so.1")
        self.Lib.ebur128_init.restype = ctypes.c_void_p
        self.Lib.ebur128_init.argtypes = (ctypes.c_uint, ctypes.c_ulong, ctypes.c_int)
        self.Lib.ebur128_add_frames_short.argtypes = (ctypes.c_void_p, ctypes.c_char_p,
                                                      ctypes.c_size_t)
        self.Lib.ebur128_loudness_global.argtypes = (ctypes.c_void_p,
                                                     ctypes.POINTER(ctypes.c_double))
        self.Lib.ebur128_destroy.argtypes = (ctypes.POINTER(ctypes.c_void_p),)

    def Integrated(self, frames, channels, rate):
        state = ctypes.c_void_p(self.Lib.ebur128_init(channels, rate, self.MODE_I))
        try:
            self.Lib.ebur128_add_frames_short(state, frames, len(frames) // (2 * channels))
            out = ctypes.c_double()
            self.Lib.ebur128_loudness_global(state, ctypes.byref(out))
            return out.value
        finally:
            self.Lib.ebur128_destroy(ctypes.byref(state))


def RenderSlices(cli, header, groups, meter):
    """Renders the groups as one song and returns the integrated loudness of each group."""
    song = cli.File(".lvp")
    wav = cli.File(".wav")
    WriteSong(song, header, groups)
    cli.Run("render", song, "-o", wav, "--no-normalize", "--sample-rate", str(RENDER_RATE))
    with wave.open(wav, "rb") as w:
        channels, width, rate = w.getnchannels(), w.getsampwidth(), w.getframerate()
        data = w.readframes(w.getnframes())
    os.remove(wav)
    if width != 2:
        raise CliError("render wrote %d-byte samples, 2 expected" % width)
    loudness = []
    frame = channels * width
    start = 0
    for prop, units in groups:
        tempo = struct.unpack_from("<i", prop, TEMPO_AT)[0]
        frames = round(len(units) * BARS_PER_UNIT * 4 * 60 * rate / tempo)
        loudness.append(meter.Integrated(data[start * frame:(start + frames) * frame],
                                         channels, rate))
        start += frames
    return loudness


def MeasureParts(cli, parts, units):
    """parts: (slot, pattern name). Returns the loudness of the melody alone and of each part
    alone (melody silenced), in a composed major song of `units` units."""
    header, prop, unitRecords = ComposedSong(cli, units, 0)
    slices = [WithSlots(prop, ["", "", "", ""])]
    for slot, name in parts:
        names = ["", "", "", ""]
        names[slot] = name
        slices.append(WithSlots(prop, names, melodyVolume=0))
    perSong = MAX_ENTRIES // (units + 1)
    meter = Ebur128()
    jobs = []
    for first in range(0, len(slices), perSong):
        groups = [(p, unitRecords) for p in slices[first:first + perSong]]
        jobs.append(lambda g=groups: RenderSlices(cli, header, g, meter))
    loudness = [value for result in RunAll(jobs) for value in result]
    return loudness[0], dict(zip(parts, loudness[1:]))
