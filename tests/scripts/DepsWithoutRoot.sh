#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/deps.sh for a user who is neither root nor has sudo, on a machine
# that lacks every package: it must stop with the command to run as root,
# and never call apt-get itself.
# Usage: DepsWithoutRoot.sh PATH/TO/deps.sh
set -u
deps=$1
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"
printf '#!/bin/sh\necho 1000\n' >"$fake/id"
printf '#!/bin/sh\ntouch "%s/apt-get-called"\n' "$fake" >"$fake/apt-get"
chmod +x "$fake"/*
ln -s "$(command -v grep)" "$fake/grep"
status=0
out=$(PATH="$fake" "$BASH" "$deps" 2>&1) && status=0 || status=$?
fail() { echo "FAIL: $*"; echo "--- output:"; echo "$out"; exit 1; }
[ "$status" -ne 0 ] || fail "exit status 0"
[ ! -e "$fake/apt-get-called" ] || fail "apt-get was called"
[ "$(grep -c 'apt-get install' <<<"$out")" -eq 1 ] || fail "not one apt-get install command"
grep -q '^  apt-get install .*qt6-base-dev.*xvfb' <<<"$out" || fail "the command does not name the packages"
echo "ok"
