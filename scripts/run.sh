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
# With --drive the simulator drives its route (or --route FILE.gpx) and sends
# its positions as NMEA over UDP to a gpsd started here on free ports; the
# panel runs with GPS on ([GPS] in build/run.ini). Without a display the
# picture is taken after 30 s of driving: build/screens/drive.png, and
# build/screens/drive-chart.png when the Level Chart window is open.
#
# Every other argument goes to the simulator (see build/tarnsim --help).
#
# --fleet N: a broker, N simulators and N panels publishing to it (scripts/fleet.sh).
set -euo pipefail
if [ "${1:-}" = "--fleet" ]; then
    exec bash "$(dirname "$0")/fleet.sh" "${@:2}"
fi
keep=0
drive=0
sim_args=()
after_file=0
for arg in "$@"; do
    if [ "$after_file" = 1 ] && [ -n "$arg" ]; then
        # A file to replay or drive is named from where the command was given.
        arg=$(realpath -m -- "$arg")
    fi
    after_file=0
    if [ "$arg" = "--keep" ]; then keep=1; continue; fi
    [ "$arg" = "--drive" ] && drive=1
    { [ "$arg" = "--replay" ] || [ "$arg" = "--route" ]; } && after_file=1
    sim_args+=("$arg")
done
cd "$(dirname "$0")/.."
me=run.sh
# shellcheck source=scripts/run-common.sh
source scripts/run-common.sh
headless=0
[ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || headless=1
idle_timeout=120

targets=(tessoly tarnsim)
[ "$drive" -eq 0 ] || targets+=(grab_window)
bash scripts/build.sh --target "${targets[@]}"
ini=build/run.ini
shot=build/screens/run.png
drive_seconds=30
drive_shot=build/screens/drive.png
chart_shot=build/screens/drive-chart.png
work=$(mktemp -d /tmp/tessoly-run.XXXXXX)
sim="" panel="" xvfb="" gpsd=""
[ "$drive" -eq 0 ] || shot=$work/idle.png

# The settings file without its [PORTS] section, and on a drive without its
# [GPS] and [WINDOWS] sections: they name what lives only as long as this run.
without_ports() {
    [ -f "$ini" ] || return 0
    awk -v drive="$drive" 'BEGIN{skip=0}
        /^\[/{s=toupper($0); skip=(s ~ /^\[PORTS\]/) || (drive == 1 && s ~ /^\[(GPS|WINDOWS)\]/)} !skip' "$ini"
}
cleanup() {
    stop "$panel"
    stop "$sim"
    stop "$gpsd"
    stop "$xvfb"
    # The ports pointed into $work: keep the rest of the settings for the next run.
    without_ports >"$work/ini"
    if grep -q '[^[:space:]]' "$work/ini"; then cp "$work/ini" "$ini"; else rm -f "$ini"; fi
    rm -rf "$work"
}
trap cleanup EXIT
interrupted=130
trap 'exit $interrupted' INT TERM
if [ "$drive" -eq 1 ]; then
    start_gpsd
    sim_args+=(--nmea-udp "127.0.0.1:$nmea_port")
fi

if [ "$headless" -eq 1 ] && [ "$keep" -eq 0 ]; then
    ./build/tarnsim --link "$work" "${sim_args[@]}" >"$work/sim.log" 2>&1 &
else
    ./build/tarnsim --link "$work" "${sim_args[@]}" &
fi
sim=$!
wait_sim_ports

without_ports >"$work/ini"
printf '[PORTS]\r\nCOM1=%s/data\r\nCOM2=%s/trace\r\n' "$work" "$work" >>"$work/ini"
if [ "$drive" -eq 1 ]; then
    printf '[GPS]\r\nEnabled=1\r\nHost=127.0.0.1\r\nPort=%s\r\n' "$gps_port" >>"$work/ini"
    # The level chart and the event list open with the panel.
    printf '[WINDOWS]\r\nLevelChart=1\r\nEventList=1\r\n' >>"$work/ini"
fi
cp "$work/ini" "$ini"

if [ "$headless" -eq 0 ]; then
    ./build/tessoly -run
    exit 0
fi

# A drive has room for the panel with the chart beside it and the events under it.
screen=1280x1024x24
[ "$drive" -eq 0 ] || screen=1920x1200x24
start_xvfb "$screen"
# After the drive's first seconds: pictures of the panel and the chart.
picture_drive() {
    sleep "$drive_seconds"
    local id
    mkdir -p "$(dirname "$drive_shot")"
    rm -f "$drive_shot" "$chart_shot"
    id=$(window_id "$1" "Corvane, Front Panel")
    if [ -z "$id" ] || ! DISPLAY=$1 ./build/grab_window "$id" "$drive_shot"; then
        echo "run.sh: no picture of the front panel" >&2
        show_log panel.log
        exit 1
    fi
    echo "$drive_shot: the front panel after ${drive_seconds} s of driving (GPS in the status bar)"
    id=$(window_id "$1" "Level Chart")
    if [ -n "$id" ] && DISPLAY=$1 ./build/grab_window "$id" "$chart_shot"; then
        echo "$chart_shot: the level chart after ${drive_seconds} s of driving"
    fi
}

rm -f "$shot"
DISPLAY="$(xvfb_display)" TESSOLY_SCREENSHOT="$(realpath -m -- "$shot")" \
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
if [ "$drive" -eq 0 ]; then
    echo "$shot: the front panel idle on the simulated test mobile" \
        "(operator in the status line, serving and neighbour cells on the panel)"
else
    picture_drive "$(xvfb_display)"
fi
if [ "$keep" -eq 1 ]; then
    echo "Simulator and panel keep running on display $(xvfb_display); Ctrl-C ends them."
    interrupted=0
    wait "$panel" || true
    panel=""
fi
