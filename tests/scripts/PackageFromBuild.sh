#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package that cpack makes from a plain build (nothing run but
# `cmake --build`): it holds the manual pages and the changelog, compressed,
# and the copyright file names the licence; every program in it is hardened
# (read-only relocations, bound at start-up, stack protector) and the
# package's programs call glibc's checked buffer functions.
# Usage: PackageFromBuild.sh BUILD-DIR. Exits 77 (skipped) without
# dpkg-shlibdeps, which the package's dependencies come from.
set -u
build=$1
if ! command -v dpkg-shlibdeps >/dev/null; then
    echo "skipped: no dpkg-shlibdeps (scripts/deps.sh --package installs it)"
    exit 77
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log"; fail "cpack"; }
root=$out/root
dpkg-deb -x "$out"/*.deb "$root" || fail "no package"
for f in usr/share/man/man1/tessoly.1.gz usr/share/man/man1/tessoly-pcap.1.gz \
    usr/share/man/man1/tessoly-export.1.gz \
    usr/share/doc/tessoly/changelog.Debian.gz; do
    gzip -t "$root/$f" || fail "/$f"
done
grep -qx 'License: GPL-3+' "$root/usr/share/doc/tessoly/copyright" || fail "copyright: licence"
checked=0
for b in "$root"/usr/bin/*; do
    readelf -lW "$b" | grep -q GNU_RELRO || fail "$b: no read-only relocations"
    readelf -dW "$b" | grep -q BIND_NOW || fail "$b: not bound at start-up"
    symbols=$(nm -D --undefined-only "$b")
    grep -q ' __stack_chk_fail' <<<"$symbols" || fail "$b: no stack protector"
    grep -v ' __stack_chk_fail' <<<"$symbols" | grep -qE ' __[a-z0-9_]+_chk\b' &&
        checked=$((checked + 1))
done
[ "$checked" -gt 0 ] || fail "no program calls a checked buffer function"
echo "ok"
