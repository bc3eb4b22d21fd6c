#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What scripts/run.sh and scripts/drive-demo.sh share, sourced by both. The
# caller keeps its logs and the simulator's ports in $work; the functions set
# $gpsd, $gps_port, $nmea_port, $sim and $xvfb, which the caller stops.
# Messages name the calling script ($me).
# shellcheck disable=SC2154,SC2034  # $work, $panel and $xvfb belong to the caller
me=${me:-$(basename "$0")}

stop() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
# Prints a log of the run when something went wrong.
show_log() {
    [ -s "$work/$1" ] || return 0
    echo "--- $1:" >&2
    cat "$work/$1" >&2
}
# A port nothing listens on now (tcp or udp), picked at random.
free_port() {
    local p
    for _ in $(seq 50); do
        p=$((20000 + RANDOM % 40000))
        ss -Hln"${1:0:1}" "sport = :$p" 2>/dev/null | grep -q . || { echo "$p"; return 0; }
    done
    echo "$me: no free $1 port found" >&2
    return 1
}
# gpsd reading NMEA from a UDP port, serving its clients on a TCP port.
start_gpsd() {
    local program
    program=$(command -v gpsd || echo /usr/sbin/gpsd)
    if ! [ -x "$program" ]; then
        echo "$me: gpsd is not installed (scripts/deps.sh installs it)" >&2
        exit 1
    fi
    gps_port=$(free_port tcp)
    nmea_port=$(free_port udp)
    "$program" -N -n -S "$gps_port" "udp://127.0.0.1:$nmea_port" >"$work/gpsd.log" 2>&1 &
    gpsd=$!
    for _ in $(seq 50); do
        (exec 3<>"/dev/tcp/127.0.0.1/$gps_port") 2>/dev/null && return 0
        kill -0 "$gpsd" 2>/dev/null || break
        sleep 0.1
    done
    echo "$me: gpsd did not start on port $gps_port" >&2
    show_log gpsd.log
    exit 1
}
# Waits for the simulator ($sim, linked into $work) to open its two ports.
# When it ended by itself (--help, a wrong argument) its output is shown and
# the script ends with its status.
wait_sim_ports() {
    for _ in $(seq 100); do
        [ -e "$work/data" ] && [ -e "$work/trace" ] && return 0
        if ! kill -0 "$sim" 2>/dev/null; then
            local status=0
            wait "$sim" || status=$?
            sim=""
            [ ! -f "$work/sim.log" ] || cat "$work/sim.log"
            exit "$status"
        fi
        sleep 0.1
    done
    echo "$me: the simulator did not open its ports" >&2
    show_log sim.log
    exit 1
}
# A virtual display of size $1 (WIDTHxHEIGHTxDEPTH); prints its name (":N").
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    if ! [ -s "$work/display" ]; then
        echo "$me: the virtual display (Xvfb) did not start" >&2
        show_log xvfb.log
        exit 1
    fi
}
# The display start_xvfb started.
xvfb_display() {
    echo ":$(head -n1 "$work/display")"
}
# The id of the top-level window whose title starts with $2 on display $1.
window_id() {
    DISPLAY=$1 xwininfo -root -children 2>/dev/null |
        awk -v title="\"$2" 'index($0, title) {print $1; exit}'
}
# Waits up to $2 s for the file $1 while the panel ($panel) runs.
wait_for_file() {
    for _ in $(seq $(($2 * 4))); do
        [ -f "$1" ] && return 0
        kill -0 "$panel" 2>/dev/null || return 1
        sleep 0.25
    done
    [ -f "$1" ]
}
