#!/usr/bin/env python3
"""The desktop program starts without FluidSynth, and a failed start says why.

Usage: app_start.py PATH/TO/lyravane

On the offscreen platform, with its own home, temporary and runtime directories:
- with the FluidSynth library hidden (LYRAVANE_FLUIDSYNTH_LIBRARY names one that does not
  exist) the program shows its window, takes its picture (LYRAVANE_SCREENSHOT) and ends
  with status 0;
- a copy of the program with no pattern libraries beside it reports "B01" with the file
  that is missing on standard error (its message box then waits; the test ends it).
"""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time


def environment(home):
    env = dict(os.environ)
    for name in ("HOME", "TMPDIR", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"):
        path = home / name.lower()
        path.mkdir(mode=0o700, parents=True, exist_ok=True)
        env[name] = str(path)
    env["QT_QPA_PLATFORM"] = "offscreen"
    return env


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    program = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory(prefix="lyravane-start-") as work:
        work = pathlib.Path(work)

        env = environment(work / "silent")
        shot = work / "shot.png"
        env["LYRAVANE_FLUIDSYNTH_LIBRARY"] = "libfluidsynth-not-here.so.3"
        env["LYRAVANE_SCREENSHOT"] = str(shot)
        try:
            run = subprocess.run([program], env=env, capture_output=True, timeout=60)
            if run.returncode != 0 or not shot.exists():
                failures.append("without FluidSynth: exit status %d, picture %s: %s" %
                                (run.returncode, "taken" if shot.exists() else "missing",
                                 run.stderr.decode("utf-8", "replace").strip()[-400:]))
        except subprocess.TimeoutExpired:
            failures.append("without FluidSynth: still running after 60 s")

        env = environment(work / "b01")
        alone = work / "alone" / "bin"
        alone.mkdir(parents=True)
        shutil.copy2(program, alone / "lyravane")
        process = subprocess.Popen([str(alone / "lyravane")], env=env, stderr=subprocess.PIPE)
        errors = b""
        deadline = time.monotonic() + 60
        os.set_blocking(process.stderr.fileno(), False)
        while b"B01" not in errors and time.monotonic() < deadline and process.poll() is None:
            errors += process.stderr.read() or b""
            time.sleep(0.1)
        process.kill()
        process.wait()
        errors += process.stderr.read() or b""
        text = errors.decode("utf-8", "replace")
        expected = 'lyravane: B01: Cannot open file "%s' % (alone / "PATTERN")
        if expected not in text:
            failures.append("no '%s' in: %s" % (expected, text.strip()[-400:]))

    for failure in failures:
        print("FAIL " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
