#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the front panel and the simulated test mobile, starts the simulator
# on two pseudo-terminals and the front panel against it. The panel runs on a
# settings file of its own, build/run.ini (its argument -run), so the user's
# Tarn.ini is never touched; the simulator's ports are dropped from it when
# the run ends.
#
# With a display the panel shows as usual and the run ends with it. Without
# one, both run under a virtual display (Xvfb): once the panel is idle a
# picture of it is saved to build/screens/run.png, one line says so and the
# run ends; with --keep both stay until Ctrl-C.
#
# Every other argument goes to the simulator (see build/tarnsim --help).
#
# --fleet N: a broker, N simulators and N panels publishing to it (scripts/fleet.sh).
set -euo pipefail
if [ "${1:-}" = "--fleet" ]; then
    exec bash "$(dirname "$0")/fleet.sh" "${@:2}"
fi
keep=0
sim_args=()
after_replay=0
for arg in "$@"; do
    if [ "$after_replay" = 1 ] && [ -n "$arg" ]; then
        # A file to replay is named from where the command was given.
        arg=$(realpath -m -- "$arg")
    fi
    after_replay=0
    if [ "$arg" = "--keep" ]; then keep=1; continue; fi
    [ "$arg" = "--replay" ] && after_replay=1
    sim_args+=("$arg")
done
cd "$(dirname "$0")/.."
headless=0
[ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || headless=1
idle_timeout=120

bash scripts/build.sh --target tessoly tarnsim
ini=build/run.ini
shot=build/screens/run.png
work=$(mktemp -d /tmp/tessoly-run.XXXXXX)
sim="" panel="" xvfb=""

# The settings file without its [PORTS] section.
without_ports() {
    [ -f "$ini" ] || return 0
    awk 'BEGIN{skip=0} /^\[/{skip=(toupper($0) ~ /^\[PORTS\]/)} !skip' "$ini"
}
stop() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    stop "$panel"
    stop "$sim"
    stop "$xvfb"
    # The ports pointed into $work: keep the rest of the settings for the next run.
    without_ports >"$work/ini"
    if grep -q '[^[:space:]]' "$work/ini"; then cp "$work/ini" "$ini"; else rm -f "$ini"; fi
    rm -rf "$work"
}
trap cleanup EXIT
interrupted=130
trap 'exit $interrupted' INT TERM
# Prints a log of the run when something went wrong.
show_log() {
    [ -s "$work/$1" ] || return 0
    echo "--- $1:" >&2
    cat "$work/$1" >&2
}

if [ "$headless" -eq 1 ] && [ "$keep" -eq 0 ]; then
    ./build/tarnsim --link "$work" "${sim_args[@]}" >"$work/sim.log" 2>&1 &
else
    ./build/tarnsim --link "$work" "${sim_args[@]}" &
fi
sim=$!
for _ in $(seq 100); do
    [ -e "$work/data" ] && [ -e "$work/trace" ] && break
    if ! kill -0 "$sim" 2>/dev/null; then
        # The simulator ended by itself (--help, a wrong argument).
        status=0
        wait "$sim" || status=$?
        sim=""
        [ ! -f "$work/sim.log" ] || cat "$work/sim.log"
        exit "$status"
    fi
    sleep 0.1
done
if ! [ -e "$work/data" ] || ! [ -e "$work/trace" ]; then
    echo "run.sh: the simulator did not open its ports" >&2
    show_log sim.log
    exit 1
fi

without_ports >"$work/ini"
printf '[PORTS]\r\nCOM1=%s/data\r\nCOM2=%s/trace\r\n' "$work" "$work" >>"$work/ini"
cp "$work/ini" "$ini"

if [ "$headless" -eq 0 ]; then
    ./build/tessoly -run
    exit 0
fi

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if ! [ -s "$work/display" ]; then
    echo "run.sh: the virtual display (Xvfb) did not start" >&2
    show_log xvfb.log
    exit 1
fi
rm -f "$shot"
DISPLAY=":$(head -n1 "$work/display")" TESSOLY_SCREENSHOT="$PWD/$shot" \
    ./build/tessoly -run >"$work/panel.log" 2>&1 &
panel=$!
for _ in $(seq $((idle_timeout * 4))); do
    [ -f "$shot" ] && break
    if ! kill -0 "$panel" 2>/dev/null; then
        echo "run.sh: the front panel ended before it was idle" >&2
        show_log panel.log
        show_log sim.log
        exit 1
    fi
    sleep 0.25
done
if ! [ -f "$shot" ]; then
    echo "run.sh: the front panel was not idle within ${idle_timeout} s" \
        "(./scripts/run.sh --keep leaves it running)" >&2
    show_log panel.log
    show_log sim.log
    exit 1
fi
echo "$shot: the front panel idle on the simulated test mobile" \
    "(operator in the status line, serving and neighbour cells on the panel)"
if [ "$keep" -eq 1 ]; then
    echo "Simulator and panel keep running on display :$(head -n1 "$work/display"); Ctrl-C ends them."
    interrupted=0
    wait "$panel" || true
    panel=""
fi
