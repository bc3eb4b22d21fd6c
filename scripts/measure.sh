#!/usr/bin/env bash
# Measures the front panel's processor time and memory against the
# simulated test mobile: idle (module off, no traffic), then running (module
# on, reports every second). Prints CPU seconds used per phase and the
# resident memory at its end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --target tessoly tarnsim >/dev/null
seconds=${1:-10}
work=$(mktemp -d /tmp/tessoly-measure.XXXXXX)
./build/tarnsim --link "$work" --report-interval 1000 >/dev/null &
sim=$!
cleanup() { kill "$panel" "$sim" 2>/dev/null || true; rm -rf "$work" build/measure.ini; }
trap cleanup EXIT
for _ in $(seq 50); do [ -e "$work/trace" ] && break; sleep 0.1; done
printf '[MISC]\r\nOptions=0\r\n[PORTS]\r\nCOM1=%s/data\r\nCOM2=%s/trace\r\n' "$work" "$work" > build/measure.ini
QT_QPA_PLATFORM=offscreen ./build/tessoly -measure &
panel=$!
sleep 3
cpu() { awk '{print $14 + $15}' "/proc/$panel/stat"; }
rss() { awk '/VmRSS/ {print $2 " kB"}' "/proc/$panel/status"; }
hz=$(getconf CLK_TCK)
t0=$(cpu); sleep "$seconds"; t1=$(cpu)
echo "idle (module off): $(( (t1 - t0) * 1000 / hz )) ms CPU in ${seconds} s, RSS $(rss)"
kill "$panel"; wait "$panel" 2>/dev/null || true

# Running: Power on on Start, the module reports every second.
printf '[MISC]\r\nOptions=2\r\n[PORTS]\r\nCOM1=%s/data\r\nCOM2=%s/trace\r\n' "$work" "$work" > build/measure.ini
QT_QPA_PLATFORM=offscreen ./build/tessoly -measure &
panel=$!
sleep 8
t0=$(cpu); r0=$(rss); sleep "$seconds"; t1=$(cpu)
echo "running (reports every second): $(( (t1 - t0) * 1000 / hz )) ms CPU in ${seconds} s, RSS $r0 -> $(rss)"
