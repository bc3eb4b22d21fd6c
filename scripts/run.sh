#!/usr/bin/env bash
# Builds the front panel and the simulated test mobile, starts the
# simulator on two pseudo-terminals and the front panel against it (under
# a virtual display when there is none). Extra arguments go to the simulator
# (see build/tarnsim --help).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --target tessoly tarnsim
work=$(mktemp -d /tmp/tessoly-run.XXXXXX)
./build/tarnsim --link "$work" "$@" &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -e "$work/data" ] && [ -e "$work/trace" ] && break; sleep 0.1; done
# The settings file beside the program maps port numbers 1 and 2 to the simulator.
ini=build/Tarn.ini
touch "$ini"
# Drop an earlier [PORTS] section, then add the simulator's devices.
awk 'BEGIN{skip=0} /^\[/{skip=(toupper($0) ~ /^\[PORTS\]/)} !skip' "$ini" > "$ini.tmp"
printf '[PORTS]\r\nCOM1=%s/data\r\nCOM2=%s/trace\r\n' "$work" "$work" >> "$ini.tmp"
mv "$ini.tmp" "$ini"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ./build/tessoly
else
    ./build/tessoly
fi
