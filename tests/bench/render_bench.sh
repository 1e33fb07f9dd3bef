#!/bin/sh
# Rendering figures: `lyravane-cli render` of a song of about six minutes to WAV, FLAC and Ogg
# Vorbis, with and without normalising, each beside FluidSynth's own file renderer in the same
# run; peak memory for that song and for one of an hour (the normaliser keeps the sound on
# disk, so it must not grow with the song); the loudness each normalised file reaches as
# ffmpeg's EBU R128 meter measures it (within 0.5 LU of the target, true peak at most
# -1 dBTP). $1 is the directory of the executables (default build/bin).
set -e
NAME=render_bench
TOOLS="fluidsynth ffmpeg /usr/bin/time"
. "$(dirname "$0")/song_setup.inc"

# A song of units units played four times, at tempo beats a minute (16 beats a unit), and
# its MIDI file. The tempo is the 32-bit field at byte 12 of the song's property record (key
# 0, major, tempo 120 in a new song).
make_song() { # name units tempo
    "$CLI" new -o "$WORK/$1.lvp" --units "$2" --pattern-dir "$PATTERNS"
    "$CLI" compose "$WORK/$1.lvp" -o "$WORK/$1.lvp" --seed 2024 --melody-seed 11 \
        --pattern-dir "$PATTERNS"
    TEMPO=$3 perl -0777 -pi -e 's/(\0{8})\x78(\0{3})/$1.chr($ENV{TEMPO}).$2/e' "$WORK/$1.lvp"
    "$CLI" export "$WORK/$1.lvp" -o "$WORK/$1.mid" --repeat 4 --pattern-dir "$PATTERNS"
}
make_song six 11 120
# 48 units, the most a song has, at 51 beats a minute: an hour.
make_song hour 48 51

loudness() {
    ffmpeg -hide_banner -nostats -i "$1" -af ebur128=peak=true -f null - 2>&1 |
        awk '/^ +I:/ { i = $2 } /^ +Peak:/ { p = $2 } END { print i, p }'
}

row() { # name wall cpu peak [fluidsynth-wall]
    awk -v n="$1" -v t="$2" -v c="$3" -v mb="$4" -v f="$5" 'BEGIN {
        printf "  %-30s wall %6.2f s | cpu %6.2f s | peak %6.1f MB", n, t, c, mb
        if (f != "") printf " | fluidsynth -F %5.2f s, %.2fx its speed", f, (t > 0 ? f / t : 0)
        printf "\n" }'
}

status=0
echo "Rendering a song of 5:52 (44 units) at 44.1 kHz stereo with $SF"
for f in wav flac ogg; do
    for mode in normalised plain; do
        flag=; [ $mode = plain ] && flag=--no-normalize
        set -- $(measure fluidsynth -ni -q -F "$WORK/fs.wav" "$SF" "$WORK/six.mid")
        fs=$1
        set -- $(measure "$CLI" render "$WORK/six.lvp" -o "$WORK/six-$mode.$f" --repeat 4 $flag \
            --pattern-dir "$PATTERNS")
        row "render $f $mode" "$1" "$2" "$3" "$fs"
    done
    set -- "$f" $(loudness "$WORK/six-normalised.$f")
    verdict=$(awk -v i="$2" -v p="$3" 'BEGIN {
        d = i + 14; if (d < 0) d = -d; print (d <= 0.5 && p <= -1.0) ? "ok" : "OUT OF BOUNDS" }')
    printf "  %-30s integrated %6.1f LUFS (target -14) | true peak %5.1f dBTP | %s\n" \
        "loudness of $f (ffmpeg)" "$2" "$3" "$verdict"
    [ "$verdict" = ok ] || status=1
done

echo "Peak memory, normalised WAV, by the song's length"
for song in six hour; do
    set -- $(measure "$CLI" render "$WORK/$song.lvp" -o "$WORK/$song.wav" --repeat 4 \
        --pattern-dir "$PATTERNS")
    row "render $song ($(ffprobe -v error -show_entries format=duration -of csv=p=0 \
        "$WORK/$song.wav" | cut -d. -f1) s)" "$1" "$2" "$3"
    rm -f "$WORK/$song.wav"
done
exit $status
