#!/usr/bin/python3
"""Inputs that are not what they should be: every command ends at once with a message.

usage: read_faults_cli.py LYRAVANE_CLI PATTERN_DIR SONG.lvp

A FIFO as the project, the index or a pattern file must not make a command wait for a
writer; a device or a file larger than the reader's cap is refused as too large; a MIDI
file with SMPTE timing is refused; a broken pattern file is named in the message with what
was wrong; info prints the control characters of names escaped.
"""

import os
import pathlib
import shutil
import signal
import subprocess
import sys
import tempfile

# Case name -> what went wrong in it (empty: passed).
cases = {}


def check(name, condition, what):
    cases.setdefault(name, [])
    if not condition:
        cases[name].append(what)


def run(name, cli, args, pattern_dir):
    try:
        return subprocess.run([cli, *args, "--pattern-dir", pattern_dir], capture_output=True,
                              timeout=20)
    except subprocess.TimeoutExpired:
        check(name, False, "still running after 20 s: " + " ".join(args))
        return None


def expect_failure(name, result, *texts):
    if result is None:
        return
    err = result.stderr.decode("utf-8", "replace")
    check(name, result.returncode == 1, f"exit status {result.returncode}: {err.strip()}")
    for text in texts:
        check(name, text in err, f"no '{text}' in: {err.strip()}")


def midi_file(division):
    """One track with one 480-tick note; division as written in the header."""
    track = bytes([0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00])
    return (b"MThd" + (6).to_bytes(4, "big") + (1).to_bytes(2, "big") + (1).to_bytes(2, "big") +
            division.to_bytes(2, "big") + b"MTrk" + len(track).to_bytes(4, "big") + track)


def main():
    if len(sys.argv) != 4:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    cli, pattern_src, song = sys.argv[1:]
    with tempfile.TemporaryDirectory(prefix="lyravane-read-faults-") as work:
        work = pathlib.Path(work)
        fifo = work / "fifo"
        os.mkfifo(fifo)
        good = str(work / "song.lvp")
        shutil.copyfile(song, good)

        for command in (["info"], ["compose", "-o", str(work / "o.lvp")],
                        ["export", "-o", str(work / "o.mid")]):
            name = f"FIFO as the project ({command[0]})"
            expect_failure(name, run(name, cli, [command[0], str(fifo), *command[1:]],
                                     pattern_src),
                           f'Cannot open file "{fifo}". Not a regular file')

        name = "device as the project"
        expect_failure(name, run(name, cli, ["info", "/dev/zero"], pattern_src),
                       "Not a regular file")

        name = "sparse 2 GB project"
        sparse = work / "sparse.lvp"
        with open(sparse, "wb") as f:
            f.write(pathlib.Path(good).read_bytes())
            f.truncate(2 << 30)
        expect_failure(name, run(name, cli, ["info", str(sparse)], pattern_src),
                       f'Cannot open file "{sparse}". The file is too large')

        # A pattern directory of our own, its parts replaced one at a time.
        patterns = work / "PATTERN"
        shutil.copytree(pattern_src, patterns)

        name = "FIFO as the index (new)"
        index = patterns / "BACK00.DAT"
        index.unlink()
        os.mkfifo(index)
        expect_failure(name, run(name, cli, ["new", "-o", str(work / "n.lvp")], str(patterns)),
                       f'Cannot open file "{index}". Not a regular file')
        index.unlink()
        shutil.copyfile(pathlib.Path(pattern_src) / "BACK00.DAT", index)

        name = "index beyond 16 MB"
        big = patterns / "BASS00.DAT"
        with open(big, "r+b") as f:
            f.truncate(16 * 1024 * 1024 + 1)
        expect_failure(name, run(name, cli, ["new", "-o", str(work / "n.lvp")], str(patterns)),
                       "The file is too large")
        shutil.copyfile(pathlib.Path(pattern_src) / "BASS00.DAT", big)

        pattern = patterns / "BACK01.MID"
        for name, replace, texts in (
                ("FIFO as a pattern file", None,
                 [f'Cannot open file "{pattern}". Not a regular file']),
                ("SMPTE pattern file", midi_file(0xE728),
                 [f"Invalid MIDI file ({pattern}: SMPTE timing is not supported)"]),
                ("broken pattern file names itself", b"MThd",
                 ["Invalid MIDI file (" + str(pattern) + ": "])):
            pattern.unlink()
            if replace is None:
                os.mkfifo(pattern)
            else:
                pattern.write_bytes(replace)
            expect_failure(name, run(name, cli, ["export", good, "-o", str(work / "o.mid")],
                                     str(patterns)), *texts)
        pattern.unlink()
        shutil.copyfile(pathlib.Path(pattern_src) / "BACK01.MID", pattern)

        name = "broken song names itself"
        broken = work / "broken.lvp"
        broken.write_bytes(pathlib.Path(good).read_bytes()[:500])
        expect_failure(name, run(name, cli, ["info", str(broken)], pattern_src),
                       f"Stream read error ({broken}: the data ends early)")

        # The first pattern name of the song: a 64-byte field at 128 in the property record.
        name = "info escapes control characters"
        data = bytearray(pathlib.Path(good).read_bytes())
        hostile = b"A\x1b]0;owned\x07\x1b[2Jz\x7f"
        data[528:528 + 64] = hostile.ljust(64, b"\0")
        shown = work / "escape.lvp"
        shown.write_bytes(bytes(data))
        result = run(name, cli, ["info", str(shown)], pattern_src)
        if result is not None:
            out = result.stdout
            check(name, result.returncode == 0, f"exit status {result.returncode}")
            check(name, not any((b < 0x20 and b != 0x0A) or b == 0x7F for b in out),
                  f"control bytes printed: {out[:200]!r}")
            check(name, b"A\\x1B]0;owned\\x07\\x1B[2Jz\\x7F" in out, f"not escaped: {out!r}")

    failed = [name for name, problems in cases.items() if problems]
    for name, problems in cases.items():
        print(("FAIL " if problems else "ok   ") + name)
        for problem in problems:
            print("     " + problem)
    return 1 if failed else 0


if __name__ == "__main__":
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)
    sys.exit(main())
