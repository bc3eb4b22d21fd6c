#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file of the tree names its licence in its first lines.
# Usage: LicenceHeaders.sh SOURCE_DIR
set -u
cd "$1" || exit 2
missing=$(git ls-files -- '*.cpp' '*.h' '*.sh' '*.cmake' 'CMakeLists.txt' '*/CMakeLists.txt' \
    '.ci/run' 2>/dev/null |
    while read -r f; do
        head -n 3 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || echo "$f"
    done)
if [ -n "$missing" ]; then
    echo "FAIL: no SPDX-License-Identifier line in:"
    echo "$missing"
    exit 1
fi
[ -f COPYING ] || { echo "FAIL: no COPYING file"; exit 1; }
echo "ok"
