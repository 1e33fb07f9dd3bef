#!/bin/sh
# Sound figures: the speed of `lyravane-cli render` on a song of about three minutes beside
# FluidSynth's own file renderer on the same exported MIDI file, with and without dynamic
# sample loading; SoundFont load time; time from Play to the first sounding block; peak
# memory. The rendering keeps the synthesiser's own level (--no-normalize); export_bench.sh
# measures the normalised export. $1 is the directory of the executables (default build/bin).
set -e
BIN=${1:-build/bin}
CLI="$BIN/lyravane-cli"
SF=/usr/share/sounds/sf2/FluidR3_GM.sf2
HERE=$(cd "$(dirname "$0")" && pwd)

for tool in fluidsynth sox /usr/bin/time; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "audio_bench: $tool is missing (run scripts/install-deps)"; exit 1
    fi
done
[ -f "$SF" ] || { echo "audio_bench: no SoundFont at $SF (package fluid-soundfont-gm)"; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT INT TERM

# The shipped pattern library when it is there, else the small one of the test vectors.
PATTERNS="$BIN/PATTERN"
[ -f "$PATTERNS/BACK00.DAT" ] || PATTERNS="$HERE/../data/vectors/PATTERN"

# Six units at 120 bpm, played four times: 24 units of four 4/4 bars, 3:12.
"$CLI" new -o "$WORK/song.lvp" --units 6 --pattern-dir "$PATTERNS"
"$CLI" compose "$WORK/song.lvp" -o "$WORK/song.lvp" --seed 1999 --melody-seed 7 \
    --pattern-dir "$PATTERNS"
"$CLI" export "$WORK/song.lvp" -o "$WORK/song.mid" --repeat 4 --pattern-dir "$PATTERNS"

# Runs a command under GNU time -v; prints "wall-seconds cpu-seconds peak-MB". Wall time
# suffers from whatever else the machine does; CPU time (user + system) much less.
measure() {
    /usr/bin/time -v "$@" 2>"$WORK/time.txt" >/dev/null || { cat "$WORK/time.txt"; exit 1; }
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0;
                                          for (i = 1; i <= n; i++) s = s * 60 + p[i] }
                /User time/ { cpu += $2 } /System time/ { cpu += $2 }
                /Maximum resident set size/ { kb = $2 }
                END { printf "%.2f %.2f %.1f\n", s, cpu, kb / 1024 }' "$WORK/time.txt"
}

report() { # name wav wall cpu peak
    len=$(sox --i -D "$2")
    awk -v name="$1" -v len="$len" -v t="$3" -v c="$4" -v mb="$5" 'BEGIN {
        printf "  %-40s %6.1f s audio | wall %5.2f s %4.0fx | cpu %5.2f s %4.0fx | peak %5.1f MB\n",
               name, len, t, (t > 0 ? len / t : 0), c, (c > 0 ? len / c : 0), mb }'
}

echo "Rendering one song (24 units, 3:12) to WAV, 44.1 kHz 16-bit stereo, with $SF"
for round in 1 2; do
    set -- $(measure "$CLI" render "$WORK/song.lvp" -o "$WORK/ours.wav" --repeat 4 --no-normalize \
        --pattern-dir "$PATTERNS")
    report "lyravane-cli render (dynamic loading)" "$WORK/ours.wav" "$1" "$2" "$3"
    set -- $(measure fluidsynth -ni -q -F "$WORK/dyn.wav" -o synth.dynamic-sample-loading=1 \
        "$SF" "$WORK/song.mid")
    report "fluidsynth -F (dynamic loading)" "$WORK/dyn.wav" "$1" "$2" "$3"
    set -- $(measure fluidsynth -ni -q -F "$WORK/full.wav" -o synth.dynamic-sample-loading=0 \
        "$SF" "$WORK/song.mid")
    report "fluidsynth -F (all samples loaded)" "$WORK/full.wav" "$1" "$2" "$3"
done

echo "Loudness of our rendering (sox stat):"
sox "$WORK/ours.wav" -n stat 2>&1 | grep -E "Length|Maximum amplitude|RMS +amplitude" |
    sed 's/^/  /'

if [ -x "$BIN/audio_probe" ]; then
    "$BIN/audio_probe"
else
    echo "(audio_probe is not built: it is built with the benchmarks, when Google Benchmark is installed)"
fi
