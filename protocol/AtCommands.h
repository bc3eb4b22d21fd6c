// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>

// The words of the data port, shared by the panel and the simulator. A
// command line is "AT", then a basic command (a letter) or extended
// commands ("+NAME", with "?" for a query or "=" and a value to set), and CR.
// The module echoes the line, answers with information lines ("+NAME: ...")
// and ends with a result code ("OK", "ERROR", ...).

// --- words joined at compile time ---------------------------------------
// A name is spelled once; the command lines and heads made of it are joined
// from it, so the panel's command and the simulator's table cannot differ.
template <std::size_t N> struct SAtWord
{
    char sz[N];
    constexpr operator const char*() const { return sz; }
};

namespace AtDetail {
template <std::size_t W, std::size_t N>
constexpr void Append(SAtWord<W>& w, std::size_t& i, const char (&part)[N])
{
    for (std::size_t k = 0; k + 1 < N; ++k)
        w.sz[i++] = part[k];
}
} // namespace AtDetail

// The parts one after the other, as one word.
template <std::size_t... N>
constexpr SAtWord<(N + ...) - sizeof...(N) + 1> AtJoin(const char (&... parts)[N])
{
    SAtWord<(N + ...) - sizeof...(N) + 1> w{};
    std::size_t i = 0;
    (AtDetail::Append(w, i, parts), ...);
    w.sz[i] = '\0';
    return w;
}

// --- syntax ---------------------------------------------------------------
constexpr char AT_ATTENTION[] = "AT"; // starts every command line; alone, the probe
constexpr char AT_EXTENDED[] = "+";   // marks an extended command or information line
constexpr char AT_INFO_END[] = ":";   // ends the head of an information line
constexpr char AT_QUERY = '?';
constexpr char AT_SET = '=';
constexpr char AT_SEPARATOR = ';'; // between extended commands of one line
constexpr char AT_QUOTE[] = "\"";
constexpr char AT_END_OF_TEXT[] = "\x1a"; // Ctrl-Z: ends a message's text, in place of CR
constexpr char AT_ESCAPE[] = "\x1b";      // cancels a message or a call being set up
constexpr char AT_PROMPT[] = "> ";        // the module waits for a message's text

// "+NAME" and "+NAME:", the extended command and the head of its answer.
template <std::size_t N> constexpr auto AtName(const char (&name)[N])
{
    return AtJoin(AT_EXTENDED, name);
}
template <std::size_t N> constexpr auto AtInfo(const char (&name)[N])
{
    return AtJoin(AT_EXTENDED, name, AT_INFO_END);
}
// "AT+NAME" and what follows it on the line.
template <std::size_t N, std::size_t... M>
constexpr auto AtCommand(const char (&name)[N], const char (&... rest)[M])
{
    return AtJoin(AT_ATTENTION, AT_EXTENDED, name, rest...);
}

// --- basic commands (the letters after "AT") -------------------------------
constexpr char AT_BASIC_IDENTIFY[] = "I";
constexpr char AT_BASIC_IDENTIFY_0[] = "I0";
constexpr char AT_BASIC_DIAL[] = "D"; // the number follows
constexpr char AT_DIAL_TONE = 'T';    // before the number: tone or pulse dialling
constexpr char AT_DIAL_PULSE = 'P';
constexpr char AT_DIAL_VOICE = ';'; // after the number: a voice call
constexpr char AT_BASIC_ANSWER[] = "A";
constexpr char AT_BASIC_HANG_UP[] = "H";
constexpr char AT_BASIC_HANG_UP_0[] = "H0";
constexpr char AT_BASIC_RESET[] = "Z";
constexpr char AT_BASIC_FACTORY[] = "&F";
constexpr char AT_BASIC_ECHO_OFF[] = "E0";
constexpr char AT_BASIC_ECHO_ON[] = "E1";
constexpr char AT_BASIC_VERBOSE[] = "V1";

// --- extended commands, by name (without the "+") ---------------------------
constexpr char AT_CGSN[] = "CGSN";         // serial number: the IMEI
constexpr char AT_CPIN[] = "CPIN";         // SIM state; the PIN
constexpr char AT_CREG[] = "CREG";         // network registration
constexpr char AT_CIMI[] = "CIMI";         // the IMSI
constexpr char AT_COPS[] = "COPS";         // operator
constexpr char AT_CPBS[] = "CPBS";         // phone-book storage
constexpr char AT_CPBF[] = "CPBF";         // phone-book find
constexpr char AT_CMGF[] = "CMGF";         // message format
constexpr char AT_CMGS[] = "CMGS";         // send a message
constexpr char AT_CLCC[] = "CLCC";         // list of current calls
constexpr char AT_CKPD[] = "CKPD";         // keypad
constexpr char AT_CSQ[] = "CSQ";           // signal quality
constexpr char AT_CHUP[] = "CHUP";         // hang up
constexpr char AT_PHONE_BOOK_SIM[] = "SM"; // the SIM's phone book, as CPBS names it

// --- command lines the panel sends (the writer adds the CR) ---------------
constexpr auto AT_IDENTIFY = AtJoin(AT_ATTENTION, AT_BASIC_IDENTIFY); // "ATI"
constexpr auto AT_DIAL = AtJoin(AT_ATTENTION, AT_BASIC_DIAL);         // "ATD" and the number
constexpr auto AT_ANSWER = AtJoin(AT_ATTENTION, AT_BASIC_ANSWER);     // "ATA"
constexpr auto AT_HANG_UP = AtJoin(AT_ATTENTION, AT_BASIC_HANG_UP);   // "ATH"
constexpr auto AT_READ_IMEI = AtCommand(AT_CGSN);                     // "AT+CGSN"
constexpr auto AT_READ_SIM_STATE = AtCommand(AT_CPIN, "?");           // "AT+CPIN?"
constexpr auto AT_ENTER_PIN = AtCommand(AT_CPIN, "=");                // "AT+CPIN=", the PIN follows
constexpr auto AT_READ_REGISTRATION = AtCommand(AT_CREG, "?");        // "AT+CREG?"
constexpr auto AT_READ_IMSI = AtCommand(AT_CIMI);                     // "AT+CIMI"
constexpr auto AT_READ_OPERATOR = AtCommand(AT_COPS, "?");            // "AT+COPS?"
constexpr auto AT_SELECT_OPERATOR_AUTO = AtCommand(AT_COPS, "=0");    // "AT+COPS=0"
// "AT+CPBS="SM";+CPBF="";": every entry of the SIM's phone book
constexpr auto AT_READ_PHONE_BOOK =
    AtCommand(AT_CPBS, "=\"", AT_PHONE_BOOK_SIM, "\";+", AT_CPBF, "=\"\";");
constexpr auto AT_TEXT_MODE = AtCommand(AT_CMGF, "=1");   // "AT+CMGF=1"
constexpr auto AT_SEND_MESSAGE = AtCommand(AT_CMGS, "="); // "AT+CMGS="
constexpr auto AT_SEND_MESSAGE_TO =
    AtJoin(AT_SEND_MESSAGE.sz, AT_QUOTE);          // the number and a quote follow
constexpr auto AT_LIST_CALLS = AtCommand(AT_CLCC); // "AT+CLCC"
constexpr auto AT_SPEAKER_UP = AtCommand(AT_CKPD, "=\"u\"");
constexpr auto AT_SPEAKER_DOWN = AtCommand(AT_CKPD, "=\"d\"");

// --- what the module answers ------------------------------------------------
constexpr char AT_OK[] = "OK";
constexpr char AT_ERROR[] = "ERROR";
constexpr char AT_RING[] = "RING";
constexpr char AT_NO_CARRIER[] = "NO CARRIER";
constexpr char AT_NO_DIALTONE[] = "NO DIALTONE";
constexpr char AT_BUSY[] = "BUSY";
constexpr char AT_CONNECT[] = "CONNECT";           // a data call: the line speed follows
constexpr char AT_MESSAGE_ERROR[] = "+CMS ERROR:"; // a message not sent: the cause follows
// The SIM's state after "+CPIN:".
constexpr char AT_SIM_READY[] = "READY";
constexpr char AT_SIM_PIN[] = "SIM PIN";
constexpr char AT_SIM_PUK[] = "SIM PUK";
// Heads of the information lines.
constexpr auto AT_CPIN_INFO = AtInfo(AT_CPIN);
constexpr auto AT_CREG_INFO = AtInfo(AT_CREG);
constexpr auto AT_CIMI_INFO = AtInfo(AT_CIMI);
constexpr auto AT_COPS_INFO = AtInfo(AT_COPS);
constexpr auto AT_CPBS_INFO = AtInfo(AT_CPBS);
constexpr auto AT_CPBF_INFO = AtInfo(AT_CPBF);
constexpr auto AT_CMGF_INFO = AtInfo(AT_CMGF);
constexpr auto AT_CMGS_INFO = AtInfo(AT_CMGS);
constexpr auto AT_CLCC_INFO = AtInfo(AT_CLCC);
constexpr auto AT_CSQ_INFO = AtInfo(AT_CSQ);

// The bytes of a command line: command, argument and suffix, and CR; a
// message's text ends with its argument Ctrl-Z instead. Empty when an
// argument is given but empty: then nothing goes out.
QByteArray AtCommandLine(const char* pszCommand, const char* pszArgument, const char* pszSuffix);

// The text of a message as it may go out: without control characters. A
// Ctrl-Z, ESC, CR or LF inside it would end or cancel the message early and
// hand the rest to the module as commands.
QString AtMessageText(const QString& strText);
