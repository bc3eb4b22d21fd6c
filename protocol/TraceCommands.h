// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The module's trace-port command words. They go out one character at a
// time; backslashes and CRs are characters of the commands.

// power and reset
constexpr char TRACE_POWER_ON[] = "**O";
constexpr char TRACE_POWER_OFF_PREPARE[] = "Z"; // first of the two power-off commands
constexpr char TRACE_POWER_OFF[] = "**Z";
constexpr char TRACE_RESET[] = "&F";

// the set-up after power-on, in this order
constexpr char TRACE_SETUP_CHANNELS[] = "0+0*0";
constexpr char TRACE_SETUP_BAND[] = "*B";
constexpr char TRACE_SETUP_BAND_ZERO[] = "0\r";
constexpr char TRACE_SETUP_MODE[] = "*M*M";

// reports: the flag word follows "*W" and ends with CR
constexpr char TRACE_FLAGS[] = "*W";
constexpr char TRACE_DEFAULT_REPORTS[] = "*1*2*I+J+E";

// calls
constexpr char TRACE_DIAL[] = "\\D"; // the number and CR follow
constexpr char TRACE_ANSWER[] = "\\S";
constexpr char TRACE_ACCEPT_CHANNEL[] = "\\C"; // answers a dedicated channel

// cell selection: "5" and the channel, then "\F" and the channel again
constexpr char TRACE_LOCK_SELECT[] = "5";
constexpr char TRACE_LOCK[] = "\\F";
constexpr char TRACE_LOCATION_UPDATE[] = "\\O";

// channel scan: the set-up once; per request "*S", CR, CR and the list with
// CR; at its end "*S", "1\r", CR, "1" with CR
constexpr char TRACE_SCAN_SETUP[] = "*6+FT+Q\\8\\66QF";
constexpr char TRACE_SCAN[] = "*S";
constexpr char TRACE_SCAN_STOP[] = "1\r";
constexpr char TRACE_SCAN_STOP_CONFIRM[] = "1";
constexpr char TRACE_CR[] = "\r";
