#!/bin/sh
# What a flood of idle connections to the single-instance socket costs the running program:
# its open descriptors and resident memory before, during and after COUNT connections held
# open (2,000 by default), under a desktop session's usual limit of 1,024 descriptors; then
# whether a second copy still finds the first and ends. The program runs on the offscreen
# platform with its own runtime, settings and data folders.
# Usage: socket_flood.sh BIN_DIR [COUNT]
set -e
BIN=${1:-build/bin}
COUNT=${2:-2000}
WORK=$(mktemp -d)
PID=
trap '[ -n "$PID" ] && kill "$PID" 2>/dev/null; rm -rf "$WORK"' EXIT
mkdir -m 700 "$WORK/run"
export XDG_RUNTIME_DIR="$WORK/run" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
export QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY
SOCKET="$XDG_RUNTIME_DIR/LyravaneMutex-"

(ulimit -S -n 1024 && exec "$BIN/lyravane") >"$WORK/first.log" 2>&1 &
PID=$!
for i in $(seq 600); do
    [ -S "$SOCKET" ] && break
    sleep 0.1
done
[ -S "$SOCKET" ] || { echo "the program did not start listening"; cat "$WORK/first.log"; exit 1; }
sleep 1

python3 - "$PID" "$SOCKET" "$COUNT" <<'EOF'
import os, resource, socket, sys, time

pid, path, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
hard = resource.getrlimit(resource.RLIMIT_NOFILE)[1]
resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, count + 100), hard))

def figures(when):
    fds = len(os.listdir(f"/proc/{pid}/fd"))
    rss = next(l.split()[1] for l in open(f"/proc/{pid}/status") if l.startswith("VmRSS"))
    print(f"  {when:<36} {fds:5d} descriptors, {int(rss) / 1024:7.1f} MB resident", flush=True)

figures("before")
held, refused = [], 0
start = time.monotonic()
for _ in range(count):
    # With its queue of waiting connections full the socket says "try again"; for 2 s it is.
    for attempt in range(2000):
        s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM | socket.SOCK_NONBLOCK)
        try:
            s.connect(path)
            held.append(s)
            break
        except BlockingIOError:
            s.close()
            time.sleep(0.001)
        except OSError:
            s.close()
            refused += 1
            break
    else:
        refused += 1
print(f"  {len(held)} connections made and held in {time.monotonic() - start:.2f} s, {refused} refused")
figures("during, right after the last")
time.sleep(3)
closed = 0
for s in held:
    try:
        closed += s.recv(1) == b""
    except BlockingIOError:
        pass
    except OSError:
        closed += 1
print(f"  {closed} of them closed by the program")
figures("during, 3 s later")
for s in held:
    s.close()
time.sleep(1)
figures("after")
EOF

start=$(date +%s%N)
# A second copy that does not find the first opens a window of its own and keeps running.
if timeout 60 "$BIN/lyravane" >"$WORK/second.log" 2>&1; then
    echo "  second copy found the first and ended after $(( ($(date +%s%N) - start) / 1000000 )) ms"
else
    echo "  second copy did not find the first (exit $?)"
    cat "$WORK/second.log"
fi
kill -0 "$PID" && echo "  first copy still runs"
