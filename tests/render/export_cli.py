#!/usr/bin/python3
"""lyravane-cli export and preview as whole processes: which properties govern a unit,
what the options change, and that every failure says why, exits non-zero and leaves no
output file (nor touches one that was there).

usage: export_cli.py LYRAVANE_CLI VECTORS_DIR WORK_DIR
"""

import os
import shutil
import subprocess
import sys

try:
    import mido
except ImportError:
    print("python3-mido is not installed")
    sys.exit(77)

FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
        print("FAIL: " + what)


def run(cli, *args):
    return subprocess.run([cli] + list(args), capture_output=True, text=True)


def tempos(path):
    midi = mido.MidiFile(path)
    found = []
    now = 0
    for message in midi.tracks[0]:
        now += message.time
        if message.type == "set_tempo":
            found.append((now, round(mido.tempo2bpm(message.tempo))))
    return found


def main():
    cli, vectors, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    patterns = os.path.join(vectors, "PATTERN")
    song = os.path.join(vectors, "compose", "out_2.lvp")  # property sets at entries 0 and 5
    out = os.path.join(work, "out.mid")

    # A unit takes the nearest property set before it: entry 4 tempo 198, entry 6 tempo 71.
    for entry, bpm in ((4, 198), (6, 71)):
        r = run(cli, "export", song, "--unit", str(entry), "-o", out, "--pattern-dir", patterns)
        check(r.returncode == 0, "export --unit %d: %s" % (entry, r.stderr))
        check(tempos(out) == [(0, bpm)], "unit %d plays at %s, expected %d" %
              (entry, tempos(out), bpm))

    # The song: four units under 198, then one under 71; twice, with the lead-in.
    r = run(cli, "export", song, "-o", out, "--repeat", "2", "--gm-reset",
            "--pattern-dir", patterns)
    check(r.returncode == 0, "export --repeat 2: " + r.stderr)
    bar = 1536
    check(tempos(out) == [(0, 300), (bar, 198), (bar + 16 * bar, 71), (bar + 20 * bar, 198),
                          (bar + 36 * bar, 71)],
          "tempo changes of the song: %s" % tempos(out))

    r = run(cli, "preview", song, "--slot", "2", "-o", out, "--pattern-dir", patterns)
    check(r.returncode == 0, "preview: " + r.stderr)
    notes = [m for m in mido.MidiFile(out).tracks[2] if m.type == "note_on" and m.velocity > 0]
    check(len(notes) > 0 and all(m.channel == 2 for m in notes), "preview slot 2 on channel 2")

    # Failures: a message naming the fault, a non-zero exit and no file.
    broken = os.path.join(work, "PATTERN")
    shutil.copytree(patterns, broken)
    os.remove(os.path.join(broken, "USER", "UBACK01.MID"))
    with open(os.path.join(work, "bad.lvp"), "wb") as f:
        f.write(b"LYRV1999")
    cases = [
        (["export", song, "--pattern-dir", broken], "UBACK01.MID"),
        (["export", song, "--repeat", "5", "--pattern-dir", patterns], "--repeat"),
        (["export", song, "--repeat", "0", "--pattern-dir", patterns], "--repeat"),
        (["export", song, "--unit", "5", "--pattern-dir", patterns], "not a music unit"),
        (["export", song, "--unit", "7", "--pattern-dir", patterns], "not a music unit"),
        (["export", song, "--unit", "1", "--repeat", "2", "--pattern-dir", patterns], "--repeat"),
        (["export", os.path.join(work, "bad.lvp"), "--pattern-dir", patterns], "read"),
        (["export", os.path.join(work, "none.lvp"), "--pattern-dir", patterns], "none.lvp"),
        (["preview", song, "--slot", "0", "--pattern-dir", patterns], "--slot"),
        (["preview", song, "--pattern-dir", patterns], "--slot"),
        (["preview", song, "--slot", "1", "--pattern-dir", broken], "UBACK01.MID"),
    ]
    for args, reason in cases:
        target = os.path.join(work, "fail.mid")
        r = run(cli, *(args + ["-o", target]))
        label = " ".join(args[:1] + args[2:])
        check(r.returncode != 0, label + ": exit status 0")
        check(reason in r.stderr, "%s: message %r does not name %r" % (label, r.stderr, reason))
        check(not os.path.exists(target), label + ": left an output file")

    # A failed export leaves the file that was there as it was.
    with open(out, "wb") as f:
        f.write(b"previous")
    r = run(cli, "export", song, "-o", out, "--pattern-dir", broken)
    check(r.returncode != 0 and open(out, "rb").read() == b"previous",
          "a failed export changed the existing file")
    check(sorted(os.listdir(work)) == ["PATTERN", "bad.lvp", "out.mid"],
          "stray files: %s" % sorted(os.listdir(work)))

    print("%d failures" % len(FAILURES))
    sys.exit(1 if FAILURES else 0)


if __name__ == "__main__":
    main()
