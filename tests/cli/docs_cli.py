#!/usr/bin/env python3
"""The manual page and the bash completion agree with lyravane-cli --help: the same commands
and, command by command, the same options; the completion offers files by their extension;
--version prints the project's version.

usage: docs_cli.py LYRAVANE_CLI VERSION MANPAGE COMPLETION
"""
import os
import re
import subprocess
import sys
import tempfile

CLI, VERSION, MANPAGE, COMPLETION = sys.argv[1:5]
COMPLETION = os.path.abspath(COMPLETION)
BASH_COMPLETION = "/usr/share/bash-completion/bash_completion"
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def usage_options():
    """{command: options} from --help; a line that starts deeper continues the command."""
    text = subprocess.run([CLI, "--help"], capture_output=True, text=True, check=True).stdout
    options, command = {}, None
    for line in text.splitlines()[2:]:
        if re.match(r"  \S", line):
            command = line.split()[0]
        options.setdefault(command, set()).update(re.findall(r"(?<!\w)(-o|--[a-z-]+)", line))
    return options


def complete(words, cwd):
    """COMPREPLY for the command line `words`, completing its last word."""
    line = " ".join(words)
    script = (f"source {BASH_COMPLETION}; source {COMPLETION}; "
              "COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); "
              f"COMP_LINE={line!r}; COMP_POINT={len(line)}; "
              "_lyravane_cli; printf '%s\\n' \"${COMPREPLY[@]}\"")
    out = subprocess.run(["bash", "-c", script, "bash", *words], capture_output=True,
                         text=True, cwd=cwd, check=True).stdout
    return set(out.split())


version = subprocess.run([CLI, "--version"], capture_output=True, text=True)
check(version.returncode == 0 and version.stdout == f"lyravane-cli {VERSION}\n",
      f"--version printed {version.stdout!r} (status {version.returncode})")

usage = usage_options()
commands = set(usage)
every_option = set().union(*usage.values()) | {"--pattern-dir", "--help", "--version"}

with open(MANPAGE, encoding="utf-8") as f:
    man = f.read().replace("\\-", "-")
documented = set(re.findall(r"^\.B (\S+)", man, re.M)) & commands
check(documented == commands, f"manual page lacks the commands {commands - documented}")
man_options = set(re.findall(r"(?<![\w-])(-o|--[a-z][a-z-]*)", man))
check(man_options == every_option,
      f"manual page: missing {every_option - man_options}, unknown {man_options - every_option}")

with tempfile.TemporaryDirectory() as work:
    check(complete(["lyravane-cli", ""], work) == commands | {"--help", "--version"},
          "completion of the command names")
    for command, options in usage.items():
        offered = complete(["lyravane-cli", command, "in.lvp", "-"], work)
        check(offered == options | {"--pattern-dir"},
              f"completion of {command}'s options: {sorted(offered)} for {sorted(options)}")

    for name in ["song.lvp", "song.mid", "song.wav", "song.FLAC", "font.sf2", "notes.txt"]:
        open(os.path.join(work, name), "w").close()
    os.mkdir(os.path.join(work, "songs"))
    files = {
        ("render", "song.lvp", "-o", ""): {"song.wav", "song.FLAC", "songs"},
        ("render", "song.lvp", "--soundfont", ""): {"font.sf2", "songs"},
        ("export", "song.lvp", "-o", ""): {"song.mid", "songs"},
        ("compose", ""): {"song.lvp", "songs"},
        ("check-pattern", ""): {"song.mid", "songs"},
        ("info", "--pattern-dir", ""): {"songs"},
    }
    for words, wanted in files.items():
        offered = complete(["lyravane-cli", *words], work)
        check(offered == wanted, f"completion of {' '.join(words)}: {sorted(offered)}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
