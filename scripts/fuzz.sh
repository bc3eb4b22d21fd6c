#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) in ./build-fuzz and runs each for a number of seconds
# (default 60). Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
# New inputs collect in build-fuzz/corpus/<target>, the seeds in
# fuzz/corpus/<target> stay as they are; crashes land in
# build-fuzz/artifacts/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --fuzz
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] ||
    targets=(fuzz_trace_report fuzz_string_e fuzz_line_splitter fuzz_sysinfo_decoder fuzz_data_line)
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTESSOLY_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for t in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$t" "build-fuzz/artifacts/$t"
    echo "== $t: ${seconds} s"
    if ! "build-fuzz/$t" "build-fuzz/corpus/$t" "fuzz/corpus/$t" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$t/" \
        >"build-fuzz/$t.log" 2>&1; then
        echo "   FAILED: see build-fuzz/$t.log and build-fuzz/artifacts/$t/"
        status=1
    fi
    grep -E "^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|DONE +cov" \
        "build-fuzz/$t.log" | sed 's/^/   /' || true
done
exit $status
