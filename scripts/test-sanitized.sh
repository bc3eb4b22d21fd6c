#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything with sanitizers in its own tree and runs the tests there;
# any sanitizer report fails the test that made it.
#   scripts/test-sanitized.sh [CTEST-ARGS...]
#     address and undefined-behaviour sanitizers, leak checking on, in
#     ./build-asan; every test.
#   SANITIZE=thread scripts/test-sanitized.sh [CTEST-ARGS...]
#     thread sanitizer in ./build-tsan (scripts/test-tsan.sh picks the tests).
# The build is lean (-O1, line tables only, no benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
sanitize=${SANITIZE:-address,undefined}
case "$sanitize" in
thread) dir=build-tsan ;;
*) dir=build-asan ;;
esac
supp="$PWD/tests/sanitizers"
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1" \
    -DTESSOLY_SANITIZE="$sanitize" >/dev/null
cmake --build "$dir" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$supp/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$supp/tsan.supp}
# A few tests time paced writes by the reader's clock; under the sanitizers
# the reader thread can be held back long enough to see two characters at once,
# so a failing test gets one more run.
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" --timeout 600 --repeat until-pass:2 "$@"
