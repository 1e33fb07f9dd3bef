#!/bin/sh
# Start-up beside a bare Qt main window (a menu bar, a tool bar and a tab widget): exec to the
# map of the main window, seen from the X server, in PAIRS interleaved pairs under one Xvfb,
# and the resident memory one second after the map. Prints the medians and their ratio.
# $1 is the directory of the executables (default build/bin); PAIRS (default 15).
set -e
BIN=${1:-build/bin}
PAIRS=${PAIRS:-15}
for tool in "$BIN/startup_probe" "$BIN/bare_window" "$BIN/lyravane"; do
    [ -x "$tool" ] || { echo "startup_bench: $tool is not built (libxcb and Qt are needed)"; exit 1; }
done
command -v Xvfb >/dev/null || { echo "startup_bench: Xvfb is missing (package xvfb)"; exit 1; }

BIN=$(cd "$BIN" && pwd)
WORK=$(mktemp -d)
cd "$WORK" # the sound goes to a file, here
XPID=
trap '[ -n "$XPID" ] && kill $XPID 2>/dev/null; rm -rf "$WORK"' EXIT INT TERM

# A home of its own: no recovery files, no other copy running, sound to a file.
mkdir -p "$WORK/home/.config/Vemora" "$WORK/run"
chmod 700 "$WORK/run"
printf '[Sound]\nAudioDriver=file\n' >"$WORK/home/.config/Vemora/LYRV1999.conf"

DISPLAY_NUMBER=97
while [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ]; do DISPLAY_NUMBER=$((DISPLAY_NUMBER + 1)); done
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XPID=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break; sleep 0.1; done

run() { # name program...
    name=$1; shift
    for _ in 1 2 3; do
        env DISPLAY=":$DISPLAY_NUMBER" HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run" \
            QT_QPA_PLATFORM=xcb "$BIN/startup_probe" 1000 "$@" >>"$WORK/$name" 2>"$WORK/err" &&
            return 0
        sleep 1
    done
    echo "startup_bench: $name did not map a window:"; cat "$WORK/err"; exit 1
}

# One unmeasured start of each fills the disk cache.
run warm "$BIN/bare_window"
run warm "$BIN/lyravane"
for _ in $(seq "$PAIRS"); do
    run bare "$BIN/bare_window"
    run ours "$BIN/lyravane"
done

median() { # file column
    sort -n -k"$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
BARE_MS=$(median "$WORK/bare" 1)
OURS_MS=$(median "$WORK/ours" 1)
BARE_KB=$(median "$WORK/bare" 2)
OURS_KB=$(median "$WORK/ours" 2)
echo "Start-up, exec to the main window's map ($PAIRS interleaved pairs, medians):"
awk -v b="$BARE_MS" -v o="$OURS_MS" -v bk="$BARE_KB" -v ok="$OURS_KB" 'BEGIN {
    printf "  bare Qt main window   %6.1f ms   %6.1f MB resident after 1 s\n", b, bk / 1024
    printf "  lyravane              %6.1f ms   %6.1f MB resident after 1 s\n", o, ok / 1024
    printf "  ratio                 %6.2fx\n", o / b }'
