#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and checks it as a user would meet it: lintian,
# the files it installs, and the installed programs started from a scratch
# root (dpkg-deb -x) by a user who is not root (nobody, when run as root),
# with a home of their own, on the offscreen platform:
#   1. the first start makes the user's settings folder ~/.config/tessoly;
#   2. with the installed simulator mapped in ~/.config/tessoly/Tarn.ini, the
#      panel powers the module on and comes to idle.
# Prints a summary; exits 0 when every check passed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --package
scratch=$(mktemp -d /tmp/tessoly-package.XXXXXX)
chmod 755 "$scratch"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT
# The package as CMake makes it: a plain build, then its target package.
rm -rf build/package
if ! bash scripts/build.sh --target package >"$scratch/package.log" 2>&1; then
    cat "$scratch/package.log"
    echo "Package check FAILED: cmake --build build --target package"
    exit 1
fi
deb=$(ls build/package/*.deb)

results=()
failed=0
check() { # check NAME COMMAND...: records PASS or FAIL
    local name=$1
    shift
    if "$@"; then results+=("PASS  $name"); else results+=("FAIL  $name"); failed=1; fi
}

# lintian: no errors, no warnings, no info notes (the package's own
# overrides give the reason for each tag they hide).
lintian --display-info "$deb" 2>/dev/null | grep -E "^[EWI]: " >"$scratch/lintian.txt" || true
lintian_tags=$(wc -l <"$scratch/lintian.txt")
check "lintian: $lintian_tags errors, warnings or info notes" [ "$lintian_tags" -eq 0 ]

root=$scratch/root
dpkg-deb -x "$deb" "$root"
has_files() {
    local f ok=0
    for f in usr/bin/tessoly usr/bin/tarnsim usr/bin/tessoly-pcap usr/bin/tessoly-export \
        "usr/share/tessoly/Tarn Front Panel Software.html" \
        usr/share/man/man1/tessoly.1.gz usr/share/man/man1/tarnsim.1.gz \
        usr/share/man/man1/tessoly-pcap.1.gz usr/share/man/man1/tessoly-export.1.gz \
        usr/share/doc/tessoly/copyright usr/share/doc/tessoly/changelog.Debian.gz \
        usr/share/applications/tessoly.desktop usr/share/icons/hicolor/48x48/apps/tessoly.png; do
        [ -e "$root/$f" ] || { echo "missing: /$f"; ok=1; }
    done
    return $ok
}
check "installs programs, help document, manual pages, copyright, changelog, menu entry" has_files
stripped() {
    local b ok=0
    for b in "$root"/usr/bin/*; do
        if readelf -S "$b" | grep -qE '\.debug_|\.symtab'; then echo "not stripped: $b"; ok=1; fi
    done
    return $ok
}
check "binaries stripped" stripped
check "dependencies resolve here (apt-get --simulate)" \
    apt-get install --simulate -qq "$PWD/$deb" >/dev/null 2>&1

# A user who is not root, with a home of their own.
home=$scratch/home
mkdir -p "$home/run"
chmod 700 "$home/run"
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    user=nobody
else
    as_user=()
    user=$(id -un)
fi
user_env=(env -i HOME="$home" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$home/run"
          QT_QPA_PLATFORM=offscreen)
wait_for() { # wait_for SECONDS TEST...
    local n=$(($1 * 10))
    shift
    while [ $n -gt 0 ]; do
        "$@" && return 0
        sleep 0.1
        n=$((n - 1))
    done
    return 1
}

"${as_user[@]}" "${user_env[@]}" "$root/usr/bin/tessoly" >"$scratch/first.log" 2>&1 &
pids+=($!)
first=$!
check "first start as $user makes ~/.config/tessoly" wait_for 15 test -d "$home/.config/tessoly"
sleep 1
check "the installed tessoly keeps running" kill -0 "$first"
kill "$first" 2>/dev/null || true

"${as_user[@]}" "${user_env[@]}" "$root/usr/bin/tarnsim" --link "$home/sim" \
    >"$scratch/sim.log" 2>&1 &
pids+=($!)
wait_for 10 test -e "$home/sim/trace" || true
"${as_user[@]}" "${user_env[@]}" sh -c "printf '[PORTS]\r\nCOM1=%s\r\nCOM2=%s\r\n' \
    '$home/sim/data' '$home/sim/trace' >'$home/.config/tessoly/Tarn.ini'"
"${as_user[@]}" "${user_env[@]}" TESSOLY_SCREENSHOT="$home/idle.png" "$root/usr/bin/tessoly" \
    >"$scratch/second.log" 2>&1 &
pids+=($!)
check "with the user's Tarn.ini it reaches idle on the installed tarnsim" \
    wait_for 90 test -s "$home/idle.png"
[ ! -s "$home/idle.png" ] || cp "$home/idle.png" build/package/installed-idle.png

echo
echo "Package: $deb ($(du -k "$deb" | cut -f1) kB)"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
sed -n 's/^/  /p' "$scratch/lintian.txt"
printf '%s\n' "${results[@]}"
if [ $failed -ne 0 ]; then
    for log in first second sim; do
        [ -s "$scratch/$log.log" ] && { echo "--- $log.log:"; cat "$scratch/$log.log"; }
    done
    echo "Package check FAILED"
    exit 1
fi
echo "Package check passed (picture of the installed panel: build/package/installed-idle.png)"
