#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the front panel on this machine, in one run:
#   - the benchmarks of the parser, the panel and the serial link;
#   - processor share at the module's rate: the program under a virtual
#     display with its log pane shown, against the simulated test mobile
#     reporting with every report selected (about 21 lines a second), twice:
#     the radio model's slowly drifting values, then a replayed drive whose
#     every line changes a level or a neighbour, and now and then the cell,
#     once more with the level chart open;
#   - wake-ups and processor time while the module is off and nothing arrives;
#   - floods of 100,000 and 1,000,000 trace lines on a pseudo-terminal: time,
#     lines lost, peak and final resident memory; the 1,000,000 again with a
#     Dedicated_Chan every 10,000 lines, each of which the panel must answer;
#     a flood that loses a line or an answer, or crawls, fails the script;
#   - seeking in the review of a 4-hour session; a seek over a second fails the script;
#   - start-up time to the first "AT" on the data port;
#   - the level chart after 12 simulated hours: the cost of a sample, one
#     redraw with the last ten minutes in view, the points and memory held; a
#     redraw over 100 ms fails the script;
#   - exporting a 4-hour session (20 lines a second, a fix each second) to
#     CSV, KML and GPX; an export ten times slower than measured fails it.
# Usage: scripts/measure.sh [seconds at the module's rate (30)] [idle seconds (10)]
# MEASURE_BIN=<dir> measures the programs in <dir> instead of building ./build.
set -euo pipefail
cd "$(dirname "$0")/.."
rate_seconds=${1:-30}
idle_seconds=${2:-10}
bin=${MEASURE_BIN:-build}
if [ -z "${MEASURE_BIN:-}" ]; then
    bash scripts/build.sh --target tessoly tarnsim bench_flood bench_start bench_panel \
        bench_trace bench_serial bench_chart bench_review bench_export \
        bench_fleet >/dev/null
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

# Starts the simulated test mobile (switched off) with its ports in $work,
# with the options given.
start_sim() {
    rm -f "$work/data" "$work/trace" "$work/trace-paced"
    "$bin/tarnsim" --link "$work" "$@" >/dev/null </dev/null &
    sim=$!
    pids+=($sim)
    for _ in $(seq 50); do [ -e "$work/trace" ] && break; sleep 0.1; done
}
stop_sim() {
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
}
# Starts the program with the option bits $1 (hexadecimal: 2 power on on
# start, 4 log pane shown) and the trace port on $2; $panel_extra is added to
# its settings file.
panel_extra=""
start_panel() {
    printf '[MISC]\r\nOptions=%s\r\n[PORTS]\r\nCOM1=%s/data\r\nCOM2=%s\r\n%s' \
        "$1" "$work" "$2" "$panel_extra" >"$bin/measure.ini"
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

# A drive as the module reports it with every report selected, one cycle a
# second for five minutes, as a session recording: every line changes a
# level, a neighbour or its level, and every 20th cycle the serving cell.
make_drive() {
    awk 'BEGIN {
        srand(7)
        # System Information 1 to 4; the cell identity in 3 follows the cell.
        si[1] = "19 00 00 00 00 00 00 00 10 00 01 00 00 10 00 01 00 B8 00 00 2B"
        si[2] = "1A 01 00 00 00 00 08 00 40 00 02 20 00 00 00 00 40 FF B8 00 00"
        si[3] = "1B %02X %02X 62 F2 10 44 25 48 03 0A 17 45 0A B8 00 00 2B 2B 2B 2B"
        si[4] = "1C 62 F2 10 44 25 45 0A B8 00 00 64 51 00 09 2B 2B 2B 2B 2B 2B"
        for (c = 0; c < 300; c++) {
            t = sprintf("2026-01-01T10:%02d:%02d.000 t<, ", int(c / 60), c % 60)
            if (c % 20 == 0) {
                arfcn = 1 + int(rand() * 124); bsic = int(rand() * 64)
                ci = 4096 + int(rand() * 61440); lac = 4096 + int(rand() * 4096)
                for (i = 1; i <= 6; i++) nb[i] = 1 + int(rand() * 124)
                printf "%sFull Idle Desc BCCH %d BSIC %d CI %X LAC %X MNC 01 MCC 262\n", t, arfcn, bsic, ci, lac
                printf "%sNonC AG 1 PA 5 CCCH 1 ATT 1 CBQ 0\n", t
                printf "%sMax Retrans 4 Tx Integer 32 Cell Bar Access 0\n", t
                printf "%sMin Access 10 Tx Pwr 33 Hyst 4 Offset 0\n", t
                printf "%sFlags          ATT 1 PWRC 0 DTX 1 NECI 0 ACS 0 RE 0 BAR 0\n", t
                printf "%sCBCH Supported Yes TS 1 Sub 2 TSC %d Single ARFCN %d HSN 0\n", t, bsic % 8, arfcn
                printf "%sIdle_Channel BCCH %d BSIC %d\n", t, arfcn, bsic
            }
            nb[1 + int(rand() * 6)] = 1 + int(rand() * 124)
            lev = 10 + int(rand() * 45)
            line = sprintf("Idle_Mode_Rpt %d %d", arfcn, lev)
            for (i = 1; i <= 6; i++) {
                nl[i] = int(rand() * 50); nbsic[i] = nl[i] < 10 ? 99 : (nb[i] * 7) % 64
                line = line sprintf(" %d %d %d", nb[i], nl[i], nbsic[i])
            }
            print t line
            for (i = 1; i <= 6; i++) printf "%sNCell %d %d %d %d\n", t, i, nb[i], nl[i], nbsic[i]
            printf "%sFull Idle Report %d %d %d %d %d 0\n", t, arfcn, lev, int(rand() * 8), lev - 10, lev - 10
            for (i = 1; i <= 6; i++) {
                nl[i] = int(rand() * 50)
                printf "%sNCell %d %d %d %d %d %d 0\n", t, i, nb[i], nl[i], nl[i] - 10, nl[i] - 10, nbsic[i]
            }
            printf "%sCell ID     CI %X LAC %X MNC 01 MCC 262\n", t, ci, lac
            printf "%sBcch_Report 21 %d %d " si[c % 4 + 1] "\n", t, arfcn, c % 8, int(ci / 256), ci % 256
            printf "%sPath_Loss_Rpt C1 %d\n", t, lev - 10
            printf "%sC2_Rpt C2 %d\n", t, lev - 10
            printf "%sL1_Downlink BCCH %d\n", t, arfcn
            if (c % 5 == 0) {
                printf "%sPage_Report Paging Normal\n", t
                printf "%sSynch_Report BCCH %d BSIC %d\n", t, arfcn, bsic
            }
        }
    }' >"$1"
}

# Processor share at the module's rate: $1 names the case, the simulator
# runs with the options after it.
measure_rate() {
    echo "== at the module's rate, $1 (9600 baud, virtual display, log pane shown, all reports)"
    shift
    start_sim "$@"
    # The simulator writes a cycle's reports at once; a serial line at 9600 baud
    # hands them on one character a millisecond.
    rm -f "$work/lines"
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
}

measure_rate "values drifting slowly"
make_drive "$work/drive.session"
measure_rate "values changing on every line" --replay "$work/drive.session" --loop
panel_extra=$(printf '[WINDOWS]\r\nLevelChart=1\r\n')
measure_rate "values changing on every line, level chart open" --replay "$work/drive.session" --loop
panel_extra=""

echo "== floods of trace lines on a pseudo-terminal (offscreen)"
failed=()
for args in "100000" "1000000" "1000000 10000"; do
    # shellcheck disable=SC2086
    QT_QPA_PLATFORM=offscreen "$bench/bench_flood" $args || failed+=("bench_flood $args")
done

echo "== level chart after 12 simulated hours (offscreen)"
"$bench/bench_chart" --benchmark_min_time=0.5 2>"$work/chart.err" | grep -E '^(chart|redraw|BM_)' ||
    failed+=("bench_chart")
grep -h COLLAPSE "$work/chart.err" >&2 || true

echo "== review: seeking in a 4-hour session (offscreen)"
"$bench/bench_review" 4 || failed+=("bench_review")

echo "== export of a 4-hour session"
"$bench/bench_export" || failed+=("bench_export")

echo "== fleet feed: 10 s at 21 samples a second to a broker on loopback, then an outage"
"$bench/bench_fleet" 10 21 || failed+=("bench_fleet")

echo "== start-up (virtual display)"
"$bench/bench_start" "$bin/tessoly" 5 || true
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]} (lines or answers lost, a flood, the chart's redraw or an export collapsed)" >&2
    exit 1
fi
