#!/bin/sh
# Sound figures: the speed of `lyravane-cli render` on a song of about three minutes beside
# FluidSynth's own file renderer on the same exported MIDI file, with and without dynamic
# sample loading; SoundFont load time; time from Play to the first sounding block; peak
# memory. The rendering keeps the synthesiser's own level (--no-normalize); export_bench.sh
# measures the normalised export. $1 is the directory of the executables (default build/bin).
set -e
NAME=audio_bench
TOOLS="fluidsynth sox /usr/bin/time"
. "$(dirname "$0")/song_setup.inc"

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
