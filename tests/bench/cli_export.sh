#!/bin/sh
# Wall time of `lyravane-cli export` on a composed 48-unit song played four times with the
# lead-in (loading the song and the libraries, rendering and writing the file included).
# Usage: cli_export.sh BIN_DIR
set -e
BIN=${1:-build/bin}
CLI="$BIN/lyravane-cli"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

"$CLI" new -o "$TMP/song48.lvp" --units 48
"$CLI" compose "$TMP/song48.lvp" -o "$TMP/song48.lvp" --seed 1 --melody-seed 1
EXPORT="'$CLI' export '$TMP/song48.lvp' -o '$TMP/out.mid' --repeat 4 --gm-reset"
if command -v hyperfine >/dev/null 2>&1; then
    hyperfine --warmup 3 --min-runs 30 -N "$EXPORT"
else
    echo "hyperfine not installed; mean of 20 runs:"
    start=$(date +%s%N)
    for i in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20; do
        eval "$EXPORT"
    done
    end=$(date +%s%N)
    echo "export, 48 units x 4 repeats: $(( (end - start) / 20000 )) us per run"
fi
echo "file: $(wc -c < "$TMP/out.mid") bytes"
