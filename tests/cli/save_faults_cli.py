#!/usr/bin/python3
"""export and compose that fail part-way leave no partial file and keep the old one.

usage: save_faults_cli.py LYRAVANE_CLI PATTERN_DIR SONG.lvp

The output is cut short with a file size limit (RLIMIT_FSIZE: past it write() fails with
EFBIG, whether or not SIGXFSZ was ignored when the command started), or its name is taken by
a directory. The command must fail with the file's name and the system's reason, the target
must hold exactly what it held before (or still not exist), and nothing else may appear
beside it. An output that is the input under any name is refused, and a command waiting to
write stops on SIGTERM with a message.
"""

import os
import pathlib
import resource
import shutil
import signal
import subprocess
import stat
import sys
import tempfile
import time

# Case name -> what went wrong in it (empty: passed).
cases = {}


def check(name, condition, what):
    cases.setdefault(name, [])
    if not condition:
        cases[name].append(what)


def limited(max_bytes, ignore_sigxfsz=True):
    def setup():
        if ignore_sigxfsz:
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (max_bytes, max_bytes))
    return setup


def waits_on_a_pipe(pid):
    """Whether the process is blocked opening a pipe that has no reader."""
    try:
        return pathlib.Path(f"/proc/{pid}/wchan").read_text() == "wait_for_partner"
    except OSError:
        return False


def run(cli, args, pattern_dir, setup=None):
    return subprocess.run([cli, *args, "--pattern-dir", pattern_dir], capture_output=True,
                          text=True, preexec_fn=setup)


def expect_clean_failure(name, result, target, reason, before, workdir, names):
    check(name, result.returncode != 0, "exit status 0")
    message = f'Cannot create file "{target}". {reason}'
    check(name, message in result.stderr, f"no '{message}' in: {result.stderr.strip()}")
    if before is None:
        check(name, not os.path.lexists(target), f"a partial {target} was left")
    elif os.path.isdir(target):
        check(name, sorted(os.listdir(target)) == before, "the directory changed")
    else:
        check(name, pathlib.Path(target).read_bytes() == before, "the old file changed")
    left = sorted(os.listdir(workdir))
    check(name, left == sorted(names), f"the directory holds {left}, expected {sorted(names)}")


def main():
    cli, pattern_dir, song = sys.argv[1:4]
    reason_big = os.strerror(27)   # EFBIG
    reason_dir = os.strerror(21)   # EISDIR
    with tempfile.TemporaryDirectory() as tmp:
        work = pathlib.Path(tmp)
        src = work / "in.lvp"
        shutil.copy(song, src)
        names = ["in.lvp"]

        # A control run: without a fault both commands write their file.
        ok = run(cli, ["export", str(src), "-o", str(work / "whole.mid")], pattern_dir)
        check("control", ok.returncode == 0, f"export without a fault failed: {ok.stderr.strip()}")
        whole = (work / "whole.mid").read_bytes() if ok.returncode == 0 else b""
        check("control", len(whole) > 1024, "the song is too short for the size limit to bite")
        (work / "whole.mid").unlink(missing_ok=True)

        # export to a new file, cut short: no partial file.
        target = str(work / "new.mid")
        r = run(cli, ["export", str(src), "-o", target], pattern_dir, limited(1024))
        expect_clean_failure("export new", r, target, reason_big, None, work, names)

        # export over an old file, cut short: the old file stays.
        old_mid = b"MThd old export"
        target = str(work / "old.mid")
        pathlib.Path(target).write_bytes(old_mid)
        r = run(cli, ["export", str(src), "-o", target], pattern_dir, limited(1024))
        expect_clean_failure("export over", r, target, reason_big, old_mid, work,
                             names + ["old.mid"])

        # The same with SIGXFSZ as the shell leaves it: the command is not killed by it.
        r = run(cli, ["export", str(src), "-o", target], pattern_dir, limited(1024, False))
        expect_clean_failure("export over, SIGXFSZ not ignored", r, target, reason_big, old_mid,
                             work, names + ["old.mid"])
        os.unlink(target)

        # The input as the output, by its name or by another: refused, the song kept whole.
        song_bytes = src.read_bytes()
        os.link(src, work / "same.lvp")
        for command in (["export", str(src), "-o", str(src)],
                        ["preview", str(src), "--slot", "1", "-o", str(work / "same.lvp")],
                        ["render", str(src), "-o", str(src), "--soundfont", "/nonexistent.sf2"]):
            name = f"{command[0]} over its input"
            r = run(cli, command, pattern_dir)
            check(name, r.returncode == 1, f"exit status {r.returncode}")
            check(name, "that is the input file" in r.stderr, f"stderr: {r.stderr.strip()}")
            check(name, src.read_bytes() == song_bytes, "the song changed")
        os.unlink(work / "same.lvp")

        # A pipe nobody reads yet: export waits to open it, and SIGTERM stops it cleanly.
        pipe = work / "pipe"
        os.mkfifo(pipe)
        p = subprocess.Popen([cli, "export", str(src), "-o", str(pipe), "--pattern-dir",
                              pattern_dir], stderr=subprocess.PIPE, text=True)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and p.poll() is None and not waits_on_a_pipe(p.pid):
            time.sleep(0.01)
        p.send_signal(signal.SIGTERM)
        errors = p.communicate(timeout=20)[1]
        check("export waiting on a pipe", p.returncode == 128 + signal.SIGTERM,
              f"exit status {p.returncode}")
        check("export waiting on a pipe", "stopped by SIGTERM" in errors, f"stderr: {errors}")
        check("export waiting on a pipe", stat.S_ISFIFO(os.lstat(pipe).st_mode),
              "the pipe was replaced")
        os.unlink(pipe)

        # compose over an old song, cut short: the old song stays.
        old_song = pathlib.Path(song).read_bytes()[:1200]
        target = str(work / "old.lvp")
        pathlib.Path(target).write_bytes(old_song)
        r = run(cli, ["compose", str(src), "-o", target, "--seed", "5"], pattern_dir,
                limited(1000))
        expect_clean_failure("compose over", r, target, reason_big, old_song, work,
                             names + ["old.lvp"])
        os.unlink(target)

        # compose and export onto a directory: it stays as it was.
        target = str(work / "taken")
        os.mkdir(target)
        pathlib.Path(target, "inside").write_bytes(b"x")
        for command in (["compose", str(src), "-o", target, "--seed", "5"],
                        ["export", str(src), "-o", target]):
            r = run(cli, command, pattern_dir)
            expect_clean_failure(f"{command[0]} onto a directory", r, target, reason_dir,
                                 ["inside"], work, names + ["taken"])

    failed = 0
    for name, problems in cases.items():
        for problem in problems:
            print(f"FAIL {name}: {problem}")
        failed += 1 if problems else 0
    print(f"{len(cases) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
