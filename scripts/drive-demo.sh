#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One drive from end to end, for the README and the help document, on a
# virtual display (Xvfb, 1920x1200):
#   1. gpsd on free ports, the simulator driving its route (--drive) and
#      sending NMEA to it, the panel with GPS and session recording on,
#      for SECONDS (75 unless given); a picture of the panel while driving;
#   2. the panel is ended with SIGTERM, which closes it as a forced close:
#      the recording gets its last lines;
#   3. the recorded session in review (tessoly --review FILE --end):
#      pictures of the panel with its timeline bar and of the level chart;
#   4. tessoly-export to CSV, KML and GPX (it prints the counts);
#   5. kml_map draws the KML's points: our own picture of them, not a map.
# Everything lands in build/demo/; with --docs the pictures are also copied
# to docs/screens/ (drive.png, review.png, review-chart.png, kml-points.png).
set -euo pipefail
seconds=75
docs=0
for arg in "$@"; do
    case "$arg" in
    --docs) docs=1 ;;
    [0-9]*) seconds=$arg ;;
    *)
        echo "usage: scripts/drive-demo.sh [SECONDS] [--docs]" >&2
        exit 2
        ;;
    esac
done
cd "$(dirname "$0")/.."
me=drive-demo.sh
# shellcheck source=scripts/run-common.sh
source scripts/run-common.sh

bash scripts/build.sh --target tessoly tarnsim grab_window tessoly-export kml_map
out=build/demo
name=demo              # the panel's settings: build/demo.ini (argument -demo)
ini=build/$name.ini
work=$(mktemp -d /tmp/tessoly-demo.XXXXXX)
sim="" panel="" xvfb="" gpsd=""
cleanup() {
    stop "$panel"
    stop "$sim"
    stop "$gpsd"
    stop "$xvfb"
    rm -f "$ini"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
rm -rf "$out"
mkdir -p "$out/sessions"

start_gpsd
./build/tarnsim --link "$work" --drive --nmea-udp "127.0.0.1:$nmea_port" >"$work/sim.log" 2>&1 &
sim=$!
wait_sim_ports
printf '[PORTS]\r\nCOM1=%s/data\r\nCOM2=%s/trace\r\n' "$work" "$work" >"$ini"
printf '[GPS]\r\nEnabled=1\r\nHost=127.0.0.1\r\nPort=%s\r\n' "$gps_port" >>"$ini"
printf '[RECORDING]\r\nEnabled=1\r\nFolder=%s\r\n' "$(realpath "$out/sessions")" >>"$ini"
printf '[WINDOWS]\r\nLevelChart=1\r\nEventList=1\r\n' >>"$ini"

start_xvfb 1920x1200x24
display=$(xvfb_display)
# A picture of the window whose title starts with $1, into $2.
picture() {
    local id
    id=$(window_id "$display" "$1")
    if [ -z "$id" ] || ! DISPLAY=$display ./build/grab_window "$id" "$2"; then
        echo "$me: no picture of \"$1\"" >&2
        show_log panel.log
        exit 1
    fi
    echo "$2: $3"
}

# 1. The drive: the panel is idle (its own picture) before the clock starts.
DISPLAY=$display TESSOLY_SCREENSHOT="$(realpath "$out")/idle.png" \
    ./build/tessoly -$name >"$work/panel.log" 2>&1 &
panel=$!
if ! wait_for_file "$out/idle.png" 120; then
    echo "$me: the front panel was not idle within 120 s" >&2
    show_log panel.log
    show_log sim.log
    exit 1
fi
echo "driving for $seconds s ..."
sleep "$seconds"
picture "Corvane, Front Panel" "$out/drive.png" "the panel after $seconds s of driving"
picture "Level Chart" "$out/drive-chart.png" "the live level chart"

# 2. A clean end: the recording is complete when the panel has ended.
kill -TERM "$panel"
status=0
wait "$panel" || status=$?
panel=""
if [ "$status" -ne 0 ]; then
    echo "$me: the panel ended with status $status on SIGTERM" >&2
    show_log panel.log
    exit 1
fi
stop "$sim"
sim=""
stop "$gpsd"
gpsd=""
session=$(ls "$out"/sessions/*.session)
echo "$session: $(wc -l <"$session") lines recorded"

# 3. The review, placed at the end.
DISPLAY=$display ./build/tessoly -$name --review "$session" --end >"$work/review.log" 2>&1 &
panel=$!
title="$(basename "$session") - Review"
for _ in $(seq 120); do
    [ -n "$(window_id "$display" "$title")" ] && break
    kill -0 "$panel" 2>/dev/null || break
    sleep 0.25
done
sleep 3 # the windows drawn
picture "$title" "$out/review.png" "the panel in review at the end of the session"
picture "Level Chart" "$out/review-chart.png" "the level chart of the whole session in review"
stop "$panel"
panel=""

# 4. The exports, and 5. the KML's points.
for format in csv kml gpx; do
    ./build/tessoly-export "$session" "$out/drive.$format"
done
./build/kml_map "$out/drive.kml" "$out/kml-points.png"

if [ "$docs" -eq 1 ]; then
    for picture in drive review review-chart kml-points; do
        cp "$out/$picture.png" "docs/screens/$picture.png"
    done
    echo "docs/screens/: drive.png review.png review-chart.png kml-points.png"
fi
