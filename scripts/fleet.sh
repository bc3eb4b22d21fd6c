#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A fleet on one machine: a Mosquitto broker on loopback, N simulated test
# mobiles (distinct IMEIs) and N front panels publishing to the broker, under
# a virtual display (Xvfb) when there is none. Shows what arrives at the
# broker (mosquitto_sub) for some seconds once every panel is heard, then
# stops everything. Run as ./scripts/run.sh --fleet N (default 3).
# Each panel has its settings file build/fleetI.ini, removed at the end.
set -euo pipefail
n=${1:-3}
show_s=${FLEET_SHOW_S:-10}
wait_s=120
case "$n" in '' | *[!0-9]*) echo "run.sh --fleet: expected a number of cars, got \"$n\"" >&2; exit 2 ;; esac
[ "$n" -ge 1 ] && [ "$n" -le 20 ] || { echo "run.sh --fleet: from 1 to 20 cars" >&2; exit 2; }
cd "$(dirname "$0")/.."
bash scripts/build.sh --target tessoly tarnsim
broker=$(command -v mosquitto || echo /usr/sbin/mosquitto)
work=$(mktemp -d /tmp/tessoly-fleet.XXXXXX)
pids=() sub="" xvfb="" mosq=""

stop() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    local p
    for p in "${pids[@]}"; do stop "$p"; done
    stop "$sub"
    stop "$mosq"
    stop "$xvfb"
    for i in $(seq "$n"); do rm -f "build/fleet$i.ini"; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A port nothing listens on.
port=""
for _ in $(seq 50); do
    p=$((20000 + RANDOM % 40000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then port=$p; break; fi
done
[ -n "$port" ] || { echo "run.sh --fleet: no free port found" >&2; exit 1; }
printf 'listener %s 127.0.0.1\nallow_anonymous true\nuser %s\n' "$port" "$(id -un)" >"$work/mosquitto.conf"
"$broker" -c "$work/mosquitto.conf" >"$work/mosquitto.log" 2>&1 &
mosq=$!
for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
done
mosquitto_sub -h 127.0.0.1 -p "$port" -t 'tessoly/#' -v >"$work/fleet.log" 2>&1 &
sub=$!

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || { echo "run.sh --fleet: the virtual display (Xvfb) did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$work/display")"
fi

for i in $(seq "$n"); do
    car="$work/car$i"
    mkdir -p "$car"
    # Distinct IMEIs: the last digits count the cars.
    imei=$(printf '4901542032%05d' "$i")
    ./build/tarnsim --link "$car" --imei "$imei" --seed "$i" >"$car/sim.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -e "$car/data" ] && [ -e "$car/trace" ] && break; sleep 0.1; done
    printf '[PORTS]\r\nCOM1=%s/data\r\nCOM2=%s/trace\r\n[MQTT]\r\nEnabled=1\r\nPort=%s\r\n' \
        "$car" "$car" "$port" >"build/fleet$i.ini"
    ./build/tessoly "-fleet$i" >"$car/panel.log" 2>&1 &
    pids+=($!)
done

echo "Broker on 127.0.0.1:$port, $n panels publishing; watching tessoly/# ..."
heard=0
for _ in $(seq $((wait_s * 4))); do
    heard=$( (grep -o '^tessoly/[0-9a-z]*/' "$work/fleet.log" || true) | (grep -v /unknown/ || true) | sort -u | wc -l)
    [ "$heard" -ge "$n" ] && break
    sleep 0.25
done
if [ "$heard" -lt "$n" ]; then
    echo "run.sh --fleet: heard $heard of $n panels within $wait_s s" >&2
    cat "$work/fleet.log" >&2
    exit 1
fi
tail -n +1 -f "$work/fleet.log" &
tailer=$!
sleep "$show_s"
kill "$tailer" 2>/dev/null || true
wait "$tailer" 2>/dev/null || true
echo "--- $n panels heard; by topic:"
cut -d' ' -f1 "$work/fleet.log" | sort | uniq -c
