#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds with the thread sanitizer in ./build-tsan and runs the tests of the
# threaded parts: the serial channel, the panel's control and the end-to-end
# conversations with the simulator (which runs in a thread of its own). Any
# report fails its test; tests/sanitizers/tsan.supp says why each of its
# entries is not ours to fix. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
SANITIZE=thread exec bash scripts/test-sanitized.sh -L '^(serial|control|e2e)$' "$@"
