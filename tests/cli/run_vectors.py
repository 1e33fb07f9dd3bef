#!/usr/bin/python3
"""Runs every line of the reference CASES files through lyravane-cli and compares the file
named after -o with the expected one, byte for byte.

usage: run_vectors.py LYRAVANE_CLI VECTORS_DIR

Each case runs from the vectors folder (so PATTERN and the inputs resolve), but its output
goes into a temporary directory. A command the CLI does not know yet (exit status 2 and
"unknown command" on stderr) is reported as SKIP; any other failure or mismatch fails.
"""

import os
import shlex
import subprocess
import sys
import tempfile


def first_difference(a: bytes, b: bytes) -> int:
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


def run_case(cli, vectors, words, scratch, index):
    if "-o" not in words or words.index("-o") + 1 >= len(words):
        return "FAIL", "no -o in the case"
    at = words.index("-o") + 1
    expected_path = os.path.join(vectors, words[at])
    produced_path = os.path.join(scratch, f"case{index}_{os.path.basename(words[at])}")
    args = list(words)
    args[at] = produced_path
    proc = subprocess.run([cli] + args, cwd=vectors, capture_output=True, timeout=120)
    stderr = proc.stderr.decode("utf-8", "replace")
    if proc.returncode == 2 and "unknown command" in stderr:
        return "SKIP", f"command '{words[0]}' not available yet"
    if proc.returncode != 0:
        return "FAIL", f"exit status {proc.returncode}: {stderr.strip()}"
    with open(expected_path, "rb") as f:
        expected = f.read()
    if not os.path.exists(produced_path):
        return "FAIL", "no output file written"
    with open(produced_path, "rb") as f:
        produced = f.read()
    if produced != expected:
        at_byte = first_difference(produced, expected)
        return "FAIL", (f"differs from {words[at]} at byte {at_byte} "
                        f"(got {len(produced)} bytes, expected {len(expected)})")
    return "PASS", ""


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    cli = os.path.abspath(sys.argv[1])
    vectors = os.path.abspath(sys.argv[2])
    counts = {"PASS": 0, "FAIL": 0, "SKIP": 0}
    with tempfile.TemporaryDirectory(prefix="lyravane-vectors-") as scratch:
        index = 0
        for cases in sorted(os.listdir(vectors)):
            path = os.path.join(vectors, cases, "CASES")
            if not os.path.isfile(path):
                continue
            with open(path, encoding="utf-8") as f:
                lines = [line.strip() for line in f]
            for line in lines:
                if not line or line.startswith("#"):
                    continue
                index += 1
                status, detail = run_case(cli, vectors, shlex.split(line), scratch, index)
                counts[status] += 1
                print(f"{status} {line}" + (f"\n     {detail}" if detail else ""))
    print(f"{counts['PASS']} passed, {counts['FAIL']} failed, {counts['SKIP']} skipped")
    if counts["PASS"] + counts["FAIL"] == 0:
        print("no case ran", file=sys.stderr)
        return 1
    return 1 if counts["FAIL"] else 0


if __name__ == "__main__":
    sys.exit(main())
