#!/usr/bin/python3
"""lyravane-cli compose and randomize as whole processes: selection of units, locks, steps,
reproducibility, and refusal of bad input without leaving an output file.

usage: compose_cli.py LYRAVANE_CLI PATTERN_DIR
"""

import os
import subprocess
import sys
import tempfile

HEADER = 400
PROPERTY = 640
UNIT = 256
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL " + what)


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True, timeout=60)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def unit_record(data, entry):
    """The record of entry >= 1 of a song whose only property set is entry 0."""
    at = HEADER + PROPERTY + (entry - 1) * UNIT
    return data[at:at + UNIT]


def bar_bytes(record, bar):
    return (record[64 + bar * 4:68 + bar * 4], record[96 + bar * 8:104 + bar * 8],
            record[160 + bar * 8:168 + bar * 8])


def main():
    cli, patterns = sys.argv[1], sys.argv[2]
    pd = ["--pattern-dir", patterns]
    with tempfile.TemporaryDirectory(prefix="lyravane-compose-") as tmp:
        song = os.path.join(tmp, "song.lvp")
        check(run(cli, "new", "-o", song, "--units", "3", *pd).returncode == 0, "new song")
        original = read(song)

        def compose(name, *args):
            out = os.path.join(tmp, name)
            proc = run(cli, "compose", song, "-o", out, *args, *pd)
            check(proc.returncode == 0, f"compose {' '.join(args)}: {proc.stderr.decode()}")
            return read(out) if os.path.exists(out) else b""

        a = compose("a.lvp", "--seed", "5", "--melody-seed", "7")
        b = compose("b.lvp", "--seed", "5", "--melody-seed", "7")
        check(a == b, "same seeds give the same bytes")
        check(a != original, "composition changes the song")
        check(len(a) == len(original), "same number of entries")
        check(unit_record(a, 1) != unit_record(a, 2), "each unit draws further down the stream")

        # Only entry 2, composed first, starts where the whole song's first unit started.
        only = compose("only.lvp", "--seed", "5", "--melody-seed", "7", "--unit", "2")
        check(unit_record(only, 1) == unit_record(original, 1), "--unit leaves entry 1")
        check(unit_record(only, 3) == unit_record(original, 3), "--unit leaves entry 3")
        check(unit_record(only, 2) == unit_record(a, 1), "--unit 2 composes like the first unit")

        locked = compose("locked.lvp", "--seed", "11", "--melody-seed", "2", "--lock", "0,2")
        for entry in (1, 2, 3):
            for bar in range(4):
                same = bar_bytes(unit_record(locked, entry), bar) == \
                    bar_bytes(unit_record(original, entry), bar)
                # Unlocked bars always change: a new unit has no notes yet.
                check(same == (bar in (0, 2)), f"--lock 0,2: entry {entry} bar {bar}")

        chords = compose("chords.lvp", "--seed", "3", "--steps", "chords")
        for entry in (1, 2, 3):
            rec, old = unit_record(chords, entry), unit_record(original, entry)
            check(rec[96:] == old[96:], f"--steps chords leaves rhythm and melody ({entry})")

        clock = compose("clock.lvp")
        check(len(clock) == len(original), "compose seeded from the clock")

        r1 = os.path.join(tmp, "r1.lvp")
        r2 = os.path.join(tmp, "r2.lvp")
        check(run(cli, "randomize", song, "-o", r1, "--seed", "9", *pd).returncode == 0,
              "randomize")
        check(run(cli, "randomize", song, "-o", r2, "--seed", "9", *pd).returncode == 0,
              "randomize again")
        r = read(r1)
        check(r == read(r2), "randomize is reproducible")
        check(r[HEADER:HEADER + PROPERTY] != original[HEADER:HEADER + PROPERTY],
              "randomize changes the property set")
        check(r[HEADER + PROPERTY:] == original[HEADER + PROPERTY:], "randomize leaves units")

        garbage = os.path.join(tmp, "garbage.lvp")
        with open(garbage, "wb") as f:
            f.write(b"LYRV1999" + bytes(100))
        bad_cases = [
            ["compose", song, "--seed", "abc"],
            ["compose", song, "--seed", "-1"],
            ["compose", song, "--seed", "4294967296"],
            ["compose", song, "--melody-seed", "x"],
            ["compose", song, "--unit", "0"],
            ["compose", song, "--unit", "4"],
            ["compose", song, "--unit", "two"],
            ["compose", song, "--lock", "4"],
            ["compose", song, "--lock", "-1"],
            ["compose", song, "--lock", "1,x"],
            ["compose", song, "--steps", "chords,tune"],
            ["compose", os.path.join(tmp, "missing.lvp")],
            ["compose", garbage],
            ["randomize", song, "--entry", "1"],
            ["randomize", song, "--entry", "9"],
            ["randomize", song, "--seed", "x"],
            ["randomize", garbage],
        ]
        for i, words in enumerate(bad_cases):
            out = os.path.join(tmp, f"bad{i}.lvp")
            proc = run(cli, *words, "-o", out, *pd)
            what = " ".join(os.path.basename(w) for w in words)
            check(proc.returncode != 0, f"'{what}' fails")
            check(proc.stderr.strip() != b"", f"'{what}' says why")
            check(not os.path.exists(out), f"'{what}' writes no file")
        check(run(cli, "compose", song, *pd).returncode != 0, "compose without -o fails")
        check(read(song) == original, "the input is never touched")

    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
