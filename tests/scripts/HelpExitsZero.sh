#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every program's --help prints its usage on standard output and exits 0,
# without a display, and its manual page's synopsis lists --help.
# Usage: HelpExitsZero.sh MANDIR PROGRAM...
set -u
man=$1
shift
failed=0
for program in "$@"; do
    name=$(basename "$program")
    status=0
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help 2>/dev/null) ||
        status=$?
    [ "$status" -eq 0 ] || { echo "FAIL: $name --help exits $status"; failed=1; }
    grep -qi "^usage: .*$name" <<<"$out" || { echo "FAIL: $name --help prints no usage"; failed=1; }
    synopsis=$(sed -n '/^\.SH SYNOPSIS/,/^\.SH/p' "$man/$name.1")
    grep -q '\\-\\-help' <<<"$synopsis" || { echo "FAIL: $name.1 synopsis lacks --help"; failed=1; }
done
[ "$failed" -eq 0 ] && echo "ok"
exit "$failed"
