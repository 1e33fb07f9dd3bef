#!/bin/sh
# A 32-bar song made and exported by lyravane-cli (compose all of it, then export to MIDI)
# side by side with MMA rendering a 32-bar chord chart with its 8Beat groove, in one run.
# Usage: mma_compare.sh BIN_DIR
set -e
BIN=${1:-build/bin}
CLI="$BIN/lyravane-cli"
if ! command -v mma >/dev/null 2>&1 || ! command -v hyperfine >/dev/null 2>&1; then
    echo "mma_compare: needs mma and hyperfine (apt-get install mma hyperfine); skipped"
    exit 0
fi
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

"$CLI" new -o "$TMP/song.lvp" --units 8
{
    echo "Tempo 120"
    echo "Groove 8Beat"
    bar=1
    for round in 1 2 3 4; do
        for chord in C Am F G C Am Dm G; do
            echo "$bar $chord"
            bar=$((bar + 1))
        done
    done
} > "$TMP/chart.mma"
# MMA builds its groove database on first use; that is not part of rendering a chart.
mma -G >/dev/null 2>&1 || true
mma "$TMP/chart.mma" -f "$TMP/chart.mid" >/dev/null

hyperfine --warmup 3 --min-runs 20 \
    -n "lyravane-cli compose + export (32 bars)" \
    "'$CLI' compose '$TMP/song.lvp' -o '$TMP/out.lvp' && '$CLI' export '$TMP/out.lvp' -o '$TMP/out.mid'" \
    -n "mma 32-bar chart, 8Beat" \
    "mma '$TMP/chart.mma' -f '$TMP/chart.mid'"
