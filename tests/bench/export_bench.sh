#!/bin/sh
# Audio export figures: `lyravane-cli render` of a song of about three minutes to WAV, FLAC
# and Ogg Vorbis, the real-time factor of each beside FluidSynth's own file renderer in the
# same run, and the loudness each normalised file reaches as ffmpeg's EBU R128 meter
# measures it (integrated loudness within 0.5 LU of the target, true peak at most -1 dBTP).
# $1 is the directory of the executables (default build/bin).
set -e
NAME=export_bench
TOOLS="fluidsynth ffmpeg /usr/bin/time"
. "$(dirname "$0")/song_setup.inc"

# Seconds of audio in a file, by ffmpeg's decoder.
duration() {
    ffmpeg -hide_banner -nostats -i "$1" -f null - 2>&1 |
        awk -F'time=' '/time=/ { split($2, t, " "); v = t[1] } END {
            n = split(v, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }'
}

# "integrated-LUFS true-peak-dBTP" as ffmpeg's ebur128 filter measures them.
loudness() {
    ffmpeg -hide_banner -nostats -i "$1" -af ebur128=peak=true -f null - 2>&1 |
        awk '/^ +I:/ { i = $2 } /^ +Peak:/ { p = $2 } END { print i, p }'
}

report() { # name file wall cpu peak-MB
    len=$(duration "$2")
    awk -v name="$1" -v len="$len" -v t="$3" -v c="$4" -v mb="$5" 'BEGIN {
        printf "  %-34s %6.1f s audio | wall %5.2f s %4.0fx | cpu %5.2f s %4.0fx | peak %5.1f MB\n",
               name, len, t, (t > 0 ? len / t : 0), c, (c > 0 ? len / c : 0), mb }'
}

status=0
check() { # name file target
    set -- "$1" "$2" "$3" $(loudness "$2")
    verdict=$(awk -v i="$4" -v p="$5" -v t="$3" 'BEGIN {
        d = i - t; if (d < 0) d = -d; print (d <= 0.5 && p <= -1.0) ? "ok" : "OUT OF BOUNDS" }')
    printf "  %-34s integrated %6.1f LUFS (target %s) | true peak %5.1f dBTP | %s\n" \
        "$1" "$4" "$3" "$5" "$verdict"
    [ "$verdict" = ok ] || status=1
}

echo "Exporting one song (24 units, 3:12) at 44.1 kHz stereo with $SF"
set -- $(measure fluidsynth -ni -q -F "$WORK/fs.wav" -o synth.dynamic-sample-loading=1 "$SF" \
    "$WORK/song.mid")
report "fluidsynth -F (WAV 16-bit)" "$WORK/fs.wav" "$1" "$2" "$3"
set -- $(measure "$CLI" render "$WORK/song.lvp" -o "$WORK/plain.wav" --repeat 4 --no-normalize \
    --pattern-dir "$PATTERNS")
report "render WAV 16-bit --no-normalize" "$WORK/plain.wav" "$1" "$2" "$3"
for f in wav flac ogg; do
    set -- $(measure "$CLI" render "$WORK/song.lvp" -o "$WORK/song.$f" --repeat 4 \
        --pattern-dir "$PATTERNS")
    report "render $f (normalised, -14 LUFS)" "$WORK/song.$f" "$1" "$2" "$3"
done
set -- $(measure "$CLI" render "$WORK/song.lvp" -o "$WORK/quiet.flac" --repeat 4 --loudness -23 \
    --bits 24 --pattern-dir "$PATTERNS")
report "render FLAC 24-bit, -23 LUFS" "$WORK/quiet.flac" "$1" "$2" "$3"

echo "Loudness by ffmpeg -af ebur128=peak=true:"
check "fluidsynth -F (not normalised)" "$WORK/fs.wav" -14 || true
check "render --no-normalize" "$WORK/plain.wav" -14 || true
status=0
for f in wav flac ogg; do
    check "render $f" "$WORK/song.$f" -14
done
check "render FLAC 24-bit, -23 LUFS" "$WORK/quiet.flac" -23
exit $status
