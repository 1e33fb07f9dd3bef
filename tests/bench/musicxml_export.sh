#!/bin/sh
# MusicXML export of a composed 48-unit song, lead sheet and full score: wall time of
# `lyravane-cli export` as a whole process and the file sizes; then, in the same run,
# MuseScore 3's import of the same files (converting each to its own .mscx format), beside
# its time for a one-bar score (its start-up).
# Usage: musicxml_export.sh BIN_DIR
set -e
BIN=${1:-build/bin}
CLI="$BIN/lyravane-cli"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

"$CLI" new -o "$TMP/song48.lvp" --units 48
"$CLI" compose "$TMP/song48.lvp" -o "$TMP/song48.lvp" --seed 1 --melody-seed 1
LEAD="'$CLI' export '$TMP/song48.lvp' -o '$TMP/lead.musicxml'"
FULL="'$CLI' export '$TMP/song48.lvp' -o '$TMP/full.musicxml' --full-score"
MXL="'$CLI' export '$TMP/song48.lvp' -o '$TMP/full.mxl' --full-score"
if command -v hyperfine >/dev/null 2>&1; then
    hyperfine --warmup 3 --min-runs 20 -N "$LEAD" "$FULL" "$MXL"
else
    for cmd in "$LEAD" "$FULL" "$MXL"; do
        start=$(date +%s%N)
        for i in 1 2 3 4 5 6 7 8 9 10; do eval "$cmd"; done
        end=$(date +%s%N)
        echo "$cmd: $(( (end - start) / 10000 )) us per run"
    done
fi
echo "lead sheet: $(wc -c < "$TMP/lead.musicxml") bytes (192 measures)"
echo "full score: $(wc -c < "$TMP/full.musicxml") bytes, as .mxl $(wc -c < "$TMP/full.mxl") bytes"

if ! command -v mscore3 >/dev/null 2>&1; then
    echo "mscore3 not installed (scripts/install-deps bench): no import times"
    exit 0
fi
"$CLI" new -o "$TMP/one.lvp" --units 1
"$CLI" export "$TMP/one.lvp" -o "$TMP/one.musicxml"
for name in one lead full; do
    start=$(date +%s%N)
    QT_QPA_PLATFORM=offscreen mscore3 -o "$TMP/$name.mscx" "$TMP/$name.musicxml" >/dev/null 2>&1
    end=$(date +%s%N)
    echo "MuseScore 3 import of $name.musicxml: $(( (end - start) / 1000000 )) ms"
done
