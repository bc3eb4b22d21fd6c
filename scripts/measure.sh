#!/usr/bin/env bash
# Measures the front panel on this machine, in one run:
#   - the benchmarks of the parser, the panel and the serial link;
#   - processor share at the module's rate: the program under a virtual
#     display with its log pane shown, against the simulated test mobile
#     reporting with every report selected (about 21 lines a second);
#   - wake-ups and processor time while the module is off and nothing arrives;
#   - floods of 100,000 and 1,000,000 trace lines on a pseudo-terminal: time,
#     lines lost, peak and final resident memory; the 1,000,000 again with a
#     Dedicated_Chan every 10,000 lines, each of which the panel must answer;
#     a flood that loses a line or an answer, or crawls, fails the script;
#   - start-up time to the first "AT" on the data port.
# Usage: scripts/measure.sh [seconds at the module's rate (30)] [idle seconds (10)]
# MEASURE_BIN=<dir> measures the programs in <dir> instead of building ./build.
set -euo pipefail
cd "$(dirname "$0")/.."
rate_seconds=${1:-30}
idle_seconds=${2:-10}
bin=${MEASURE_BIN:-build}
if [ -z "${MEASURE_BIN:-}" ]; then
    bash scripts/build.sh --target tessoly tarnsim bench_flood bench_start bench_panel \
        bench_trace bench_serial >/dev/null
    bench=build/bench
else
    bench=$bin
fi
bin=$(cd "$bin" && pwd)
bench=$(cd "$bench" && pwd)

work=$(mktemp -d /tmp/tessoly-measure.XXXXXX)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work" "$bin/measure.ini"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

hz=$(getconf CLK_TCK)
# Processor ticks (user + system) of a process.
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Context switches of all threads of a process: each one a wake-up or a preemption.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {n += $2} END {print n}'
}
# Processor ticks of each thread: id, name (blanks as _), ticks.
thread_ticks() {
    for t in /proc/"$1"/task/*; do
        echo "$(basename "$t") $(tr ' ' _ <"$t/comm") $(awk '{print $14 + $15}' "$t/stat")"
    done | sort
}
rss_mb() { awk '/VmRSS/ {printf "%.1f MB", $2 / 1024}' "/proc/$1/status"; }
# System calls that wrote (the simulator writes one trace line per call).
writes() { awk '/syscw/ {print $2}' "/proc/$1/io"; }

echo "== machine"
echo "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
    "$(awk '/MemTotal/ {printf "%.0f GB", $2 / 1048576}' /proc/meminfo), $(uname -sr)"
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== benchmarks"
for b in bench_trace bench_panel bench_serial; do
    "$bench/$b" --benchmark_min_time=0.5 2>/dev/null | grep '^BM_' || true
done

# A virtual display for the program.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM

# Starts the simulated test mobile (switched off) with its ports in $work.
start_sim() {
    rm -f "$work/data" "$work/trace" "$work/trace-paced"
    "$bin/tarnsim" --link "$work" >/dev/null </dev/null &
    sim=$!
    pids+=($sim)
    for _ in $(seq 50); do [ -e "$work/trace" ] && break; sleep 0.1; done
}
stop_sim() {
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
}
# Starts the program with the option bits $1 (hexadecimal: 2 power on on
# start, 4 log pane shown) and the trace port on $2.
start_panel() {
    printf '[MISC]\r\nOptions=%s\r\n[PORTS]\r\nCOM1=%s/data\r\nCOM2=%s\r\n' \
        "$1" "$work" "$2" >"$bin/measure.ini"
    "$bin/tessoly" -measure >/dev/null 2>&1 &
    panel=$!
    pids+=($panel)
}
stop_panel() {
    kill "$panel" 2>/dev/null || true
    wait "$panel" 2>/dev/null || true
}

echo "== idle (module off, nothing arrives, log pane shown)"
start_sim
start_panel 4 "$work/trace"
sleep 5
t0=$(ticks "$panel")
c0=$(switches "$panel")
sleep "$idle_seconds"
t1=$(ticks "$panel")
c1=$(switches "$panel")
echo "$((c1 - c0)) wake-ups in $idle_seconds s, $(((t1 - t0) * 1000 / hz)) ms CPU," \
    "memory $(rss_mb "$panel")"
stop_panel
stop_sim

echo "== at the module's rate (9600 baud, virtual display, log pane shown, all reports)"
start_sim
# The simulator writes a cycle's reports at once; a serial line at 9600 baud
# hands them on one character a millisecond.
"$bench/bench_pace" "$work/trace" "$work/trace-paced" 9600 "$work/lines" &
pids+=($!)
pace=$!
for _ in $(seq 50); do [ -e "$work/trace-paced" ] && break; sleep 0.1; done
start_panel 6 "$work/trace-paced"
# Power-on, registration, and the log filled to its 999 entries.
sleep 60
thread_ticks "$panel" >"$work/threads0"
t0=$(ticks "$panel")
x0=$(ticks "$xvfb")
l0=$(cat "$work/lines")
sleep "$rate_seconds"
t1=$(ticks "$panel")
x1=$(ticks "$xvfb")
l1=$(cat "$work/lines")
thread_ticks "$panel" >"$work/threads1"
awk -v t="$((t1 - t0))" -v x="$((x1 - x0))" -v l="$((l1 - l0))" -v s="$rate_seconds" \
    -v hz="$hz" 'BEGIN {
        printf "%.1f lines/s: panel %.2f %% of one core (%d ms CPU in %d s); X server %.2f %%\n",
            l / s, 100 * t / hz / s, 1000 * t / hz, s, 100 * x / hz / s }'
join "$work/threads0" "$work/threads1" | awk -v hz="$hz" '
    { ms[$2] += 1000 * ($5 - $3) / hz }
    END { printf "by thread:"; for (n in ms) printf " %s %d ms,", n, ms[n]; print "" }' |
    sed 's/,$//'
echo "memory: $(rss_mb "$panel")"
stop_panel
kill "$pace" 2>/dev/null || true
stop_sim

echo "== floods of trace lines on a pseudo-terminal (offscreen)"
failed=()
for args in "100000" "1000000" "1000000 10000"; do
    # shellcheck disable=SC2086
    QT_QPA_PLATFORM=offscreen "$bench/bench_flood" $args || failed+=("bench_flood $args")
done

echo "== start-up (virtual display)"
"$bench/bench_start" "$bin/tessoly" 5 || true
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]} (lines or answers lost, or the flood collapsed)" >&2
    exit 1
fi
