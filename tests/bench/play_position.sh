#!/bin/sh
# Live playback figures: how far the play cursor lags behind the sound on the "file" output,
# and the gap at the loop point of "Repetir partitura", on the rendered timeline of two
# passes of a real unit and in the sound of a loop. $1 is the directory of the executables
# (default build/bin).
set -e
BIN=${1:-build/bin}
CLI="$BIN/lyravane-cli"
HERE=$(cd "$(dirname "$0")" && pwd)
[ -x "$BIN/play_position_probe" ] || { echo "play_position: $BIN/play_position_probe is not built"; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT INT TERM

PATTERNS="$BIN/PATTERN"
[ -f "$PATTERNS/BACK00.DAT" ] || PATTERNS="$HERE/../data/vectors/PATTERN"
SONG="$HERE/../data/vectors/compose/out_0.lvp"

# The first unit as "Reproducir partitura" plays it with the lead-in: the loop repeats its
# bars after the lead-in bar (1536 ticks a bar).
"$CLI" export "$SONG" --unit 1 --gm-reset -o "$WORK/unit.mid" --pattern-dir "$PATTERNS"
BARS=$("$CLI" info "$SONG" | awk '/^entry 1:/ { on = 1; next } /^entry/ { on = 0 }
                                  on && /^  bar [0-9]+:/ { n++ } END { print n }')
"$BIN/play_position_probe" "$WORK/unit.mid" 1536 $((1536 + BARS * 1536))
