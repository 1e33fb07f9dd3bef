#!/bin/sh
# Wall time of `lyravane-cli compose` on a 48-unit song (chords, rhythm and melody of every
# unit, loading and saving included). Usage: cli_compose.sh BIN_DIR
set -e
BIN=${1:-build/bin}
CLI="$BIN/lyravane-cli"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

"$CLI" new -o "$TMP/song48.lvp" --units 48
if command -v hyperfine >/dev/null 2>&1; then
    hyperfine --warmup 3 --min-runs 30 -N \
        "'$CLI' compose '$TMP/song48.lvp' -o '$TMP/out.lvp' --seed 1 --melody-seed 1"
else
    echo "hyperfine not installed; mean of 20 runs:"
    start=$(date +%s%N)
    for i in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20; do
        "$CLI" compose "$TMP/song48.lvp" -o "$TMP/out.lvp" --seed "$i" --melody-seed "$i"
    done
    end=$(date +%s%N)
    echo "compose, 48 units: $(( (end - start) / 20000 )) us per run"
fi
