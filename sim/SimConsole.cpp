// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimConsole.h"

#include <QCommandLineParser>

#include "sim/SimModule.h"

namespace {
bool ReadInt(const QCommandLineParser& p, const QString& name, int lo, int hi, int* pValue,
             QString* pError)
{
    if (!p.isSet(name))
        return true;
    bool bOk = false;
    const int v = p.value(name).toInt(&bOk);
    if (!bOk || v < lo || v > hi) {
        *pError = QStringLiteral("--%1: expected a number from %2 to %3, got \"%4\"")
                      .arg(name)
                      .arg(lo)
                      .arg(hi)
                      .arg(p.value(name));
        return false;
    }
    *pValue = v;
    return true;
}
bool ReadReplay(const QCommandLineParser& p, CSimReplayOptions* pReplay, QString* pError)
{
    pReplay->strFile = p.value(QStringLiteral("replay"));
    if (p.isSet(QStringLiteral("replay")) && pReplay->strFile.isEmpty()) {
        *pError = QStringLiteral("--replay: a file name expected");
        return false;
    }
    if (pReplay->strFile.isEmpty()) {
        for (const char* name : {"replay-data", "speed", "rate", "loop"}) {
            if (p.isSet(QLatin1String(name))) {
                *pError = QStringLiteral("--%1 needs --replay FILE").arg(QLatin1String(name));
                return false;
            }
        }
        return true;
    }
    pReplay->bData = p.isSet(QStringLiteral("replay-data"));
    pReplay->bLoop = p.isSet(QStringLiteral("loop"));
    if (p.isSet(QStringLiteral("speed"))) {
        const QString v = p.value(QStringLiteral("speed"));
        bool bOk = false;
        const double d = v == QLatin1String("max") ? 0 : v.toDouble(&bOk);
        if (v != QLatin1String("max") && (!bOk || d < 0.01 || d > 1000)) {
            *pError =
                QStringLiteral("--speed: expected max or a factor from 0.01 to 1000, got \"%1\"")
                    .arg(v);
            return false;
        }
        pReplay->dSpeed = d;
    }
    return ReadInt(p, QStringLiteral("rate"), 1, 1000, &pReplay->nRate, pError);
}

bool ReadDrive(const QCommandLineParser& p, CSimOptions* pOpt, QString* pError)
{
    CSimDriveOptions& d = pOpt->drive;
    d.bOn = p.isSet(QStringLiteral("drive"));
    if (!d.bOn) {
        for (const char* name : {"route", "drive-speed", "nmea-udp"}) {
            if (p.isSet(QLatin1String(name))) {
                *pError = QStringLiteral("--%1 needs --drive").arg(QLatin1String(name));
                return false;
            }
        }
        return true;
    }
    if (!pOpt->replay.strFile.isEmpty()) {
        *pError = QStringLiteral("--drive and --replay exclude each other");
        return false;
    }
    d.strRouteFile = p.value(QStringLiteral("route"));
    if (p.isSet(QStringLiteral("route")) && d.strRouteFile.isEmpty()) {
        *pError = QStringLiteral("--route: a file name expected");
        return false;
    }
    int nSpeed = static_cast<int>(d.dSpeedKmh);
    if (!ReadInt(p, QStringLiteral("drive-speed"), 1, 1000, &nSpeed, pError))
        return false;
    d.dSpeedKmh = nSpeed;
    if (p.isSet(QStringLiteral("nmea-udp"))) {
        const QString v = p.value(QStringLiteral("nmea-udp"));
        const int colon = v.lastIndexOf(QLatin1Char(':'));
        bool bOk = false;
        const int nPort = v.mid(colon + 1).toInt(&bOk);
        if (colon <= 0 || !bOk || nPort < 1 || nPort > 65535) {
            *pError = QStringLiteral("--nmea-udp: expected HOST:PORT, got \"%1\"").arg(v);
            return false;
        }
        d.strNmeaHost = v.left(colon);
        d.nNmeaPort = nPort;
    }
    return true;
}

// The options apart from --help, in the order the help lists them.
QList<QCommandLineOption> SimOptionTable()
{
    return {
        {QStringLiteral("pin"), QStringLiteral("The SIM asks for this PIN."),
         QStringLiteral("PIN")},
        {QStringLiteral("puk"), QStringLiteral("The SIM is blocked and asks for its PUK "
                                               "(12345678; AT+CPIN=\"PUK\",\"NEWPIN\").")},
        {QStringLiteral("no-sim"), QStringLiteral("No SIM inserted.")},
        {QStringLiteral("no-coverage"), QStringLiteral("No network: never registers.")},
        {QStringLiteral("roaming"), QStringLiteral("Registers in a visited network (+CREG 5).")},
        {QStringLiteral("no-operator"), QStringLiteral("+COPS? answers without operator name.")},
        {QStringLiteral("busy"), QStringLiteral("Calls to NUMBER answer BUSY (repeatable)."),
         QStringLiteral("NUMBER")},
        {QStringLiteral("sms-fail"), QStringLiteral("Every SMS fails with +CMS ERROR.")},
        {QStringLiteral("ring-after"),
         QStringLiteral("An incoming call rings SECONDS after registration."),
         QStringLiteral("SECONDS")},
        {QStringLiteral("caller"), QStringLiteral("Number of that caller (default: anonymous)."),
         QStringLiteral("NUMBER")},
        {QStringLiteral("ring-interval"), QStringLiteral("Time between RING lines (3000)."),
         QStringLiteral("MS")},
        {QStringLiteral("max-rings"),
         QStringLiteral("The caller gives up after N rings, then NO CARRIER (5)."),
         QStringLiteral("N")},
        {QStringLiteral("reg-polls"),
         QStringLiteral("AT+CREG? answers 0,2 this many times before registering (2)."),
         QStringLiteral("N")},
        {QStringLiteral("call-setup"),
         QStringLiteral("Time from dialling to connect or BUSY (1000)."), QStringLiteral("MS")},
        {QStringLiteral("hopping"), QStringLiteral("Traffic channels and CBCH hop.")},
        {QStringLiteral("phonebook"),
         QStringLiteral("SIM phone book from FILE, one \"number,name\" per line."),
         QStringLiteral("FILE")},
        {QStringLiteral("imsi-form"),
         QStringLiteral("AT+CIMI answer: plain (IMSI alone) or prefixed (+CIMI: IMSI, default)."),
         QStringLiteral("FORM")},
        {QStringLiteral("imei"),
         QStringLiteral("AT+CGSN answers this IMEI, 1 to 17 digits (490154203237518)."),
         QStringLiteral("IMEI")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the radio model (1)."),
         QStringLiteral("N")},
        {QStringLiteral("report-interval"),
         QStringLiteral("Time of one report or scan cycle (1000)."), QStringLiteral("MS")},
        {QStringLiteral("boot-ms"),
         QStringLiteral("Time from power-on to the first answer (1000)."), QStringLiteral("MS")},
        {QStringLiteral("link"),
         QStringLiteral("Create the symbolic links DIR/data and DIR/trace to the two ports."),
         QStringLiteral("DIR")},
        {QStringLiteral("replay"),
         QStringLiteral("Play the trace lines the panel received, from a session recording or a "
                        "log saved by Logging > Save, in place of the radio model. Starts when "
                        "the panel selects its reports (*W) after power-on."),
         QStringLiteral("FILE")},
        {QStringLiteral("replay-data"),
         QStringLiteral("Also play the unsolicited data-port lines (RING, NO CARRIER, +CLCC).")},
        {QStringLiteral("speed"),
         QStringLiteral("Recorded gaps of a session are divided by X (1); max: as fast as the "
                        "panel reads."),
         QStringLiteral("X")},
        {QStringLiteral("rate"),
         QStringLiteral("Lines a second of a saved log, which has no times (20)."),
         QStringLiteral("N")},
        {QStringLiteral("loop"), QStringLiteral("Start the replay again at the end of the file.")},
        {QStringLiteral("drive"),
         QStringLiteral("Drive along a route past seven cells: the levels follow the distance, "
                        "the serving cell changes to a stronger one; the positions go out as "
                        "NMEA over UDP.")},
        {QStringLiteral("route"),
         QStringLiteral("The route of the drive from a GPX file (its track or route points); "
                        "default: a loop of about 5 km."),
         QStringLiteral("FILE")},
        {QStringLiteral("drive-speed"), QStringLiteral("Speed of the drive in km/h (50)."),
         QStringLiteral("KMH")},
        {QStringLiteral("nmea-udp"),
         QStringLiteral("Where the NMEA sentences of the drive go (127.0.0.1:%1).")
             .arg(CSimDriveOptions::DEFAULT_NMEA_PORT),
         QStringLiteral("HOST:PORT")},
    };
}

// Switches and texts, taken as they are.
void ReadPlainOptions(const QCommandLineParser& p, CSimCommandLine* r)
{
    CSimOptions& o = r->opt;
    o.strPin = p.value(QStringLiteral("pin"));
    o.bPukRequired = p.isSet(QStringLiteral("puk"));
    o.bNoSim = p.isSet(QStringLiteral("no-sim"));
    o.bNoCoverage = p.isSet(QStringLiteral("no-coverage"));
    o.bRoaming = p.isSet(QStringLiteral("roaming"));
    o.bNoOperator = p.isSet(QStringLiteral("no-operator"));
    o.listBusyNumbers = p.values(QStringLiteral("busy"));
    o.bSmsFail = p.isSet(QStringLiteral("sms-fail"));
    o.strCaller = p.value(QStringLiteral("caller"));
    if (o.strCaller.compare(QLatin1String("anonymous"), Qt::CaseInsensitive) == 0)
        o.strCaller.clear();
    o.bHopping = p.isSet(QStringLiteral("hopping"));
    o.strPhonebookFile = p.value(QStringLiteral("phonebook"));
    r->strLinkDir = p.value(QStringLiteral("link"));
}

bool ReadImsiForm(const QCommandLineParser& p, CSimOptions* pOpt, QString* pError)
{
    if (p.isSet(QStringLiteral("imsi-form"))) {
        const QString f = p.value(QStringLiteral("imsi-form"));
        if (f != QLatin1String("plain") && f != QLatin1String("prefixed")) {
            *pError = QStringLiteral("--imsi-form: expected plain or prefixed");
            return false;
        }
        pOpt->bImsiPlain = f == QLatin1String("plain");
    }
    if (p.isSet(QStringLiteral("imei"))) {
        const QString imei = p.value(QStringLiteral("imei"));
        bool bDigits = !imei.isEmpty() && imei.size() <= 17;
        for (const QChar c : imei)
            bDigits = bDigits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!bDigits) {
            *pError = QStringLiteral("--imei: expected 1 to 17 digits");
            return false;
        }
        pOpt->strImei = imei;
    }
    return true;
}

bool ReadNumbers(const QCommandLineParser& p, CSimOptions* pOpt, QString* pError)
{
    CSimOptions& o = *pOpt;
    int nRingAfter = -1, nSeed = static_cast<int>(o.nSeed);
    const int BIG = 24 * 3600 * 1000;
    if (!ReadInt(p, QStringLiteral("ring-after"), 0, 24 * 3600, &nRingAfter, pError) ||
        !ReadInt(p, QStringLiteral("ring-interval"), 10, BIG, &o.nRingIntervalMs, pError) ||
        !ReadInt(p, QStringLiteral("max-rings"), 1, 1000, &o.nMaxRings, pError) ||
        !ReadInt(p, QStringLiteral("reg-polls"), 0, 1000, &o.nRegPolls, pError) ||
        !ReadInt(p, QStringLiteral("call-setup"), 0, BIG, &o.nCallSetupMs, pError) ||
        !ReadInt(p, QStringLiteral("seed"), 0, 0x7FFFFFFF, &nSeed, pError) ||
        !ReadInt(p, QStringLiteral("report-interval"), 10, BIG, &o.nReportIntervalMs, pError) ||
        !ReadInt(p, QStringLiteral("boot-ms"), 0, BIG, &o.nBootMs, pError))
        return false;
    o.nRingAfterMs = nRingAfter < 0 ? -1 : nRingAfter * 1000;
    o.nSeed = static_cast<unsigned>(nSeed);
    return true;
}
} // namespace

bool ParseSimCommandLine(const QStringList& args, CSimCommandLine* r)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Simulated GSM test mobile for the Tessoly front panel.\n"
        "Opens two pseudo-terminals, the data port (AT commands) and the trace port\n"
        "(trace commands and reports), prints their paths and answers like the module.\n"
        "Live events are typed on standard input; type \"help\" for the list."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    p.addOption(help);
    p.addOptions(SimOptionTable());
    r->strHelp = p.helpText();
    if (!p.parse(args)) {
        r->strError = p.errorText();
        return false;
    }
    if (p.isSet(help)) {
        r->bHelp = true;
        return true;
    }
    if (!p.positionalArguments().isEmpty()) {
        r->strError = QStringLiteral("unexpected argument \"%1\"").arg(p.positionalArguments()[0]);
        return false;
    }
    ReadPlainOptions(p, r);
    return ReadImsiForm(p, &r->opt, &r->strError) && ReadNumbers(p, &r->opt, &r->strError) &&
           ReadReplay(p, &r->opt.replay, &r->strError) && ReadDrive(p, &r->opt, &r->strError);
}

QString CSimConsole::HelpText()
{
    return QStringLiteral("commands:\n"
                          "  ring [number]   incoming call (anonymous without a number)\n"
                          "  hangup          the other side hangs up (NO CARRIER)\n"
                          "  move <arfcn>    the serving cell moves to a channel\n"
                          "  level <rxlev>   serving cell RX level 0..63\n"
                          "  status          the module's state\n"
                          "  pause           hold the replay\n"
                          "  resume          go on with the replay\n"
                          "  seek <n>        go on with line n of the replay\n"
                          "  quit            end the simulator\n"
                          "  help            this list");
}

QString CSimConsole::Execute(const QString& strLine, bool* pQuit)
{
    *pQuit = false;
    const QStringList w = strLine.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w.isEmpty())
        return QString();
    const QString cmd = w[0].toLower();
    bool bOk = false;
    if (cmd == QLatin1String("help") || cmd == QLatin1String("?"))
        return HelpText();
    if (cmd == QLatin1String("quit") || cmd == QLatin1String("exit")) {
        *pQuit = true;
        return QStringLiteral("bye");
    }
    if (cmd == QLatin1String("ring")) {
        const QString number = w.value(1);
        for (QChar c : number) {
            if (!c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('*') &&
                c != QLatin1Char('#'))
                return QStringLiteral("not a number: %1").arg(number);
        }
        if (!m_pModule->RingFrom(number))
            return QStringLiteral("cannot ring now (module off, not registered or busy)");
        return number.isEmpty() ? QStringLiteral("ringing (anonymous)")
                                : QStringLiteral("ringing from %1").arg(number);
    }
    if (cmd == QLatin1String("hangup")) {
        m_pModule->HangUp();
        return QStringLiteral("hung up");
    }
    if (cmd == QLatin1String("move")) {
        const int n = w.value(1).toInt(&bOk);
        if (!bOk || !m_pModule->MoveServing(n))
            return QStringLiteral("move: channel 1..124 or 512..885 expected");
        return QStringLiteral("serving cell on %1").arg(n);
    }
    if (cmd == QLatin1String("level")) {
        const int n = w.value(1).toInt(&bOk);
        if (!bOk || n < 0 || n > 63)
            return QStringLiteral("level: RX level 0..63 expected");
        m_pModule->SetLevels(n);
        return QStringLiteral("serving level %1").arg(n);
    }
    if (cmd == QLatin1String("status")) {
        const CSimStatus s = m_pModule->Status();
        static const char* calls[] = {"none", "dialling", "ringing", "active"};
        return QStringLiteral("power %1, registered %2, call %3, reports %4, scan %5, "
                              "serving %6 level %7%8")
            .arg(s.bPoweredOn ? (s.bBooted ? "on" : "starting") : "off")
            .arg(s.bRegistered ? "yes" : "no")
            .arg(calls[qBound(0, s.nCallState, 3)])
            .arg(s.nFlags, 0, 16)
            .arg(s.bScanning ? "on" : "off")
            .arg(s.nServingArfcn)
            .arg(s.nServingLevel)
            .arg(s.bLocked ? ", locked" : "");
    }
    if (cmd == QLatin1String("pause") || cmd == QLatin1String("resume") ||
        cmd == QLatin1String("seek"))
        return ReplayCommand(cmd, w.value(1));
    return QStringLiteral("unknown command \"%1\"; type help").arg(w[0]);
}

QString CSimConsole::ReplayCommand(const QString& cmd, const QString& strArg)
{
    bool bOk = false;
    const int n = strArg.toInt(&bOk);
    QString reply;
    const bool bReplay = m_pModule->WithReplay([&](CSimReplay& r) {
        // Every reply names the line that plays next, as seek numbers it.
        if (cmd == QLatin1String("pause")) {
            r.Pause();
            reply = QStringLiteral("replay paused at %1").arg(r.NextLine());
        } else if (cmd == QLatin1String("resume")) {
            r.Resume();
            reply = QStringLiteral("replay resumed at %1").arg(r.NextLine());
        } else if (bOk && r.Seek(n)) {
            reply = QStringLiteral("replay goes on with %1").arg(r.NextLine());
        } else {
            reply = QStringLiteral("seek: line 1..%1 expected").arg(r.Total());
        }
    });
    return bReplay ? reply : QStringLiteral("no replay (start with --replay FILE)");
}
