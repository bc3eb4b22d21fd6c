#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) in ./build-fuzz and runs them at the lowest priority, one
# target after the other or --jobs of them at once.
#   scripts/fuzz.sh [--time SECONDS | --runs N] [--jobs J] [--max-len BYTES]
#                   [TARGET...] [-- LIBFUZZER-ARGS...]
# Each target runs SECONDS seconds (default 60; a bare number is taken as
# seconds) or N executions, on inputs of at most BYTES bytes (default 1024).
# An execution costs in proportion to its input's length (every line goes
# through the string classes and the sanitizers' allocator), and what the
# module sends is cut into lines far shorter than that, so longer inputs
# find nothing more and only slow the run down. Its corpus is kept in fuzz/corpus/<target>: a run
# starts from it and what the run found is merged back in, minimised
# (-merge=1), so the next run carries on where this one stopped. A crash, a
# leak or a timeout stops that target's run and leaves the input in
# build-fuzz/artifacts/<target>/; every such input becomes a regular test
# before it is fixed. Each run's figures are appended to build-fuzz/runs.log.
set -euo pipefail
cd "$(dirname "$0")/.."
all=(fuzz_trace_report fuzz_string_e fuzz_line_splitter fuzz_sysinfo_decoder fuzz_data_line
     fuzz_profile_file)
limit=(-max_total_time=60)
jobs=1
maxlen=1024
targets=()
extra=()
while [ $# -gt 0 ]; do
    case "$1" in
    --time) limit=(-max_total_time="$2"); shift 2 ;;
    --runs) limit=(-runs="$2"); shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --max-len) maxlen=$2; shift 2 ;;
    --) shift; extra=("$@"); break ;;
    [0-9]*) limit=(-max_total_time="$1"); shift ;;
    *) targets+=("$1"); shift ;;
    esac
done
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

bash scripts/deps.sh --fuzz
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTESSOLY_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 19 cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# A smaller quarantine than the default 256 MB keeps two runs side by side
# well inside memory; it still holds a freed block for a few thousand inputs.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=64}
# One target's run, then its findings merged into the kept corpus.
run_target() {
    local t=$1
    local kept=fuzz/corpus/$t found=build-fuzz/found/$t merged=build-fuzz/merged/$t
    rm -rf "$found" "$merged"
    mkdir -p "$kept" "$found" "$merged" "build-fuzz/artifacts/$t"
    local own=()
    # The panel keeps its state from one input to the next (the log, the
    # report record), so an input often ends with more allocations than it
    # freed without leaking; checking for leaks after each such input would
    # take half the run. Leaks are still looked for when the run ends.
    [ "$t" = fuzz_data_line ] && own=(-detect_leaks=0)
    echo "== $t: ${limit[*]} -max_len=$maxlen"
    if ! nice -n 19 "build-fuzz/$t" "$found" "$kept" "${limit[@]}" -max_len="$maxlen" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/artifacts/$t/" "${own[@]}" "${extra[@]}" >"build-fuzz/$t.log" 2>&1; then
        echo "   $t FAILED: see build-fuzz/$t.log and build-fuzz/artifacts/$t/"
        return 1
    fi
    local runs rate total
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build-fuzz/$t.log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "build-fuzz/$t.log")
    # What the run found joins the kept corpus, minimised.
    nice -n 19 "build-fuzz/$t" -merge=1 -max_len="$maxlen" "$merged" "$kept" "$found" \
        >"build-fuzz/$t.merge.log" 2>&1
    rm -rf "$kept"
    mv "$merged" "$kept"
    touch build-fuzz/runs.log
    total=$(awk -v t="$t" -v n="$runs" '$2 == t { s += $3 } END { print s + n }' build-fuzz/runs.log)
    echo "$(date -u +%FT%TZ) $t $runs $rate" >>build-fuzz/runs.log
    echo "   $t: $runs executions, $rate/s; $total in all runs so far; corpus $(ls "$kept" | wc -l) inputs"
}

status=0
running=0
for t in "${targets[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || status=1
        running=$((running - 1))
    fi
    run_target "$t" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || status=1
    running=$((running - 1))
done
exit $status
