#!/usr/bin/env python3
"""Every text the window shows has its Spanish and English translation.

Gathers the texts from the sources afresh (scripts/update-translations into a scratch copy of
translations/), then checks each language: no text unfinished, every translation keeps the
values (%1..%9, %s) and the mnemonic of its source, and none is Japanese (pattern names are
data and are not among the texts). Usage: translations_complete.py REPO LUPDATE
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

JAPANESE = re.compile("[\u3040-\u30ff\u3400-\u9fff\uff00-\uffef]")
VALUE = re.compile(r"%[1-9s]")


def mnemonics(text):
    return len(re.findall(r"&(?!&)", text.replace("&&", "")))


def problems(path):
    found = []
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            text = translation.text or ""
            where = f"{name}: {source!r}"
            if translation.get("type") == "unfinished" or not text:
                found.append(f"untranslated {where}")
                continue
            if sorted(VALUE.findall(source)) != sorted(VALUE.findall(text)):
                found.append(f"values differ in {where} -> {text!r}")
            if min(mnemonics(source), 1) != min(mnemonics(text), 1):
                found.append(f"mnemonic differs in {where} -> {text!r}")
            if JAPANESE.search(text):
                found.append(f"Japanese in the translation of {where} -> {text!r}")
    return found


def main():
    repo, lupdate = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as scratch:
        for lang in ("es", "en"):
            shutil.copy(os.path.join(repo, "translations", f"lyravane_{lang}.ts"), scratch)
        subprocess.run([os.path.join(repo, "scripts", "update-translations"), scratch],
                       check=True, env=dict(os.environ, LUPDATE=lupdate),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        failures = []
        for lang in ("es", "en"):
            found = problems(os.path.join(scratch, f"lyravane_{lang}.ts"))
            failures += [f"lyravane_{lang}.ts: {p}" for p in found]
    for failure in failures:
        print(failure)
    if failures:
        print(f"{len(failures)} problems; run scripts/update-translations and translate "
              "the new texts")
        return 1
    print("every text has its Spanish and English translation")
    return 0


if __name__ == "__main__":
    sys.exit(main())
