// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimCore.h"

#include "protocol/AtCommands.h"
#include "protocol/TraceReports.h"

#include <QFile>
#include <QTimer>

#include "sim/SimFormat.h"
#include "sim/SimReports.h"

using namespace SimReports;

const char* CSimCore::IDENTIFICATION[] = {"Tarn GSM Test Mobile", "Revision 3.12", nullptr};
const char* CSimCore::IMEI = "490154203237518";

namespace {
const int MAX_LINE = 512;
const int MAX_SMS = 640;
const int MAX_NAME = 30;
const int SCAN_PAIRS_PER_LINE = 10;

// Splits "a;b" at semicolons outside double quotes.
QList<QByteArray> SplitCommands(const QByteArray& s)
{
    QList<QByteArray> parts;
    QByteArray cur;
    bool bQuoted = false;
    for (char c : s) {
        if (c == AT_QUOTE[0])
            bQuoted = !bQuoted;
        if (c == AT_SEPARATOR && !bQuoted) {
            parts << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts << cur;
    return parts;
}
} // namespace

CSimCore::CSimCore(const CSimOptions& opt, QObject* pParent)
    : QObject(pParent), m_opt(opt), m_radio(opt.nSeed, opt.bRoaming, opt.bHopping)
{
    bool bOk = false;
    if (!opt.strPhonebookFile.isEmpty())
        m_phoneBook = LoadPhoneBook(opt.strPhonebookFile, &bOk);
    if (!bOk)
        m_phoneBook = BuiltInPhoneBook();

    auto single = [this](int ms) {
        QTimer* t = new QTimer(this);
        t->setSingleShot(true);
        t->setInterval(qMax(0, ms));
        return t;
    };
    m_pBootTimer = single(opt.nBootMs);
    m_pCallTimer = single(opt.nCallSetupMs);
    m_pRingAfterTimer = single(opt.nRingAfterMs);
    m_pCycleTimer = new QTimer(this);
    m_pCycleTimer->setInterval(qMax(10, opt.nReportIntervalMs));
    m_pRingTimer = new QTimer(this);
    m_pRingTimer->setInterval(qMax(10, opt.nRingIntervalMs));
    connect(m_pBootTimer, &QTimer::timeout, this, [this] {
        m_bBooted = true;
        m_line.clear();
        UpdateCycleTimer();
    });
    connect(m_pCallTimer, &QTimer::timeout, this, &CSimCore::OnCallSetup);
    connect(m_pCycleTimer, &QTimer::timeout, this, &CSimCore::OnCycle);
    connect(m_pRingTimer, &QTimer::timeout, this, &CSimCore::OnRing);
    connect(m_pRingAfterTimer, &QTimer::timeout, this, [this] { RingFrom(m_opt.strCaller); });
}

CSimCore::~CSimCore() = default;

void CSimCore::SetOutputs(Output data, Output trace)
{
    m_outData = std::move(data);
    m_outTrace = std::move(trace);
}

void CSimCore::SetReplaying(ReportsListener listener)
{
    m_replaying = std::move(listener);
    UpdateCycleTimer();
}

void CSimCore::Inject(int nPort, const QByteArray& line)
{
    if (nPort == 1)
        TraceLine(line);
    else if (m_bBooted)
        SendLine(line);
}

void CSimCore::Record(int nPort, const QByteArray& item)
{
    if (m_recorder)
        m_recorder(nPort, item);
}

CSimStatus CSimCore::Status() const
{
    CSimStatus s;
    s.bPoweredOn = m_bPoweredOn;
    s.bBooted = m_bBooted;
    s.bRegistered = m_bRegistered;
    s.nCallState = m_eCall;
    s.nFlags = m_nFlags;
    s.bScanning = m_eScan == SCAN_RUNNING;
    s.bLocked = m_bLocked;
    s.nServingArfcn = m_radio.Serving().nArfcn;
    s.nServingLevel = m_radio.Serving().nLevel;
    return s;
}

// ---------------------------------------------------------------- phone book

QList<CSimCore::SPhoneBookEntry> CSimCore::BuiltInPhoneBook()
{
    return {{1, "+4930123456", "Tarn Service"},
            {2, "0800123123", "Hotline, Support"},
            {3, "112", "Emergency"},
            {4, "+441632960000", "Test Line UK"},
            {5, "5550100", "Echo Test"}};
}

QList<CSimCore::SPhoneBookEntry> CSimCore::LoadPhoneBook(const QString& strFile, bool* pOk)
{
    QList<SPhoneBookEntry> list;
    QFile f(strFile);
    *pOk = f.open(QIODevice::ReadOnly);
    if (!*pOk)
        return list;
    while (!f.atEnd() && list.size() < MAX_PHONEBOOK) {
        const QByteArray raw = f.readLine(1024).trimmed();
        if (raw.isEmpty() || raw.startsWith('#'))
            continue;
        const int comma = raw.indexOf(',');
        const QByteArray number = (comma < 0 ? raw : raw.left(comma)).trimmed();
        if (!IsPhoneNumber(number))
            continue;
        QString name = comma < 0 ? QString() : QString::fromLatin1(raw.mid(comma + 1).trimmed());
        name.remove(QLatin1Char('"'));
        list.append(
            {static_cast<int>(list.size()) + 1, QString::fromLatin1(number), name.left(MAX_NAME)});
    }
    return list;
}

// ---------------------------------------------------------------- data port

void CSimCore::SendRaw(const QByteArray& bytes)
{
    if (m_outData)
        m_outData(bytes);
}

void CSimCore::SendLine(const QByteArray& line)
{
    SendRaw(line + "\r\n");
}

void CSimCore::DataIn(const QByteArray& bytes)
{
    for (char c : bytes)
        DataChar(c);
}

void CSimCore::DataChar(char c)
{
    if (!m_bBooted) {
        m_line.clear(); // switched off or still starting: deaf and silent
        return;
    }
    if (m_bSmsText) {
        if (c == AT_END_OF_TEXT[0])
            FinishSms(true);
        else if (c == AT_ESCAPE[0])
            FinishSms(false);
        else if (m_smsText.size() < MAX_SMS)
            m_smsText += c;
        return;
    }
    switch (c) {
    case '\r': {
        const QByteArray line = m_line;
        const bool bOverflow = m_bLineOverflow;
        m_line.clear();
        m_bLineOverflow = false;
        if (line.isEmpty() && !bOverflow)
            return;
        Record(0, line);
        SendLine(line); // echo
        if (bOverflow)
            SendLine(AT_ERROR);
        else
            ExecuteLine(line);
        return;
    }
    case '\n':
    case '\0':
        return;
    case AT_END_OF_TEXT[0]: // a message text that found no prompt
    case AT_ESCAPE[0]:      // escape: the line typed so far is dropped
        m_line.clear();
        m_bLineOverflow = false;
        if (c == AT_ESCAPE[0])
            Record(0, QByteArray(1, c));
        return;
    default:
        if (m_line.size() < MAX_LINE)
            m_line += c;
        else
            m_bLineOverflow = true;
    }
}

void CSimCore::ExecuteLine(const QByteArray& raw)
{
    const QByteArray line = raw.trimmed();
    const QByteArray upper = line.toUpper();
    const int nHead = static_cast<int>(qstrlen(AT_ATTENTION));
    if (!upper.startsWith(AT_ATTENTION)) {
        SendLine(AT_ERROR);
        return;
    }
    const QByteArray rest = line.mid(nHead);
    const QByteArray ur = upper.mid(nHead);
    if (ur.isEmpty() || ur == AT_BASIC_RESET || ur == AT_BASIC_FACTORY || ur == AT_BASIC_ECHO_OFF ||
        ur == AT_BASIC_ECHO_ON || ur == AT_BASIC_VERBOSE) {
        SendLine(AT_OK);
        return;
    }
    if (ur.startsWith(AT_BASIC_DIAL)) {
        ExecuteDial(rest.mid(qstrlen(AT_BASIC_DIAL)).trimmed());
        return;
    }
    if (ur == AT_BASIC_ANSWER) {
        if (m_eCall != CALL_RINGING) {
            SendLine(AT_NO_CARRIER);
            return;
        }
        m_pRingTimer->stop();
        CallConnected();
        SendLine(AT_OK);
        return;
    }
    if (ur == AT_BASIC_HANG_UP || ur == AT_BASIC_HANG_UP_0) {
        EndCall(false);
        SendLine(AT_OK);
        return;
    }
    if (ur == AT_BASIC_IDENTIFY || ur == AT_BASIC_IDENTIFY_0) {
        for (const char** p = IDENTIFICATION; *p; ++p)
            SendLine(*p);
        SendLine(AT_OK);
        return;
    }
    if (!ur.startsWith(AT_EXTENDED)) {
        SendLine(AT_ERROR);
        return;
    }
    QList<QByteArray> out;
    for (const QByteArray& part : SplitCommands(rest)) {
        const QByteArray cmd = part.trimmed();
        if (cmd.isEmpty())
            continue;
        bool bPrompt = false;
        const bool bOk = cmd.startsWith(AT_EXTENDED) && ExecuteExtended(cmd, &out, &bPrompt);
        for (const QByteArray& l : out)
            SendLine(l);
        out.clear();
        if (!bOk) {
            SendLine(AT_ERROR);
            return;
        }
        if (bPrompt) {
            SendRaw(AT_PROMPT); // the message text follows, ended by Ctrl-Z
            m_bSmsText = true;
            m_smsText.clear();
            return;
        }
    }
    SendLine(AT_OK);
}

int CSimCore::RegistrationStatus()
{
    if (m_eSim != SIM_READY)
        return 0;
    if (!m_bRegistered) {
        if (m_opt.bNoCoverage || ++m_nRegPolls <= m_opt.nRegPolls)
            return 2;
        m_bRegistered = true;
        if (m_opt.nRingAfterMs >= 0 && !m_bRingAfterArmed) {
            m_bRingAfterArmed = true;
            m_pRingAfterTimer->start();
        }
    }
    return m_opt.bRoaming ? 5 : 1;
}

QByteArray CSimCore::ImsiText() const
{
    const unsigned long long msin = (m_opt.nSeed * 2654435761ULL + 12345ULL) % 10000000000ULL;
    const QByteArray imsi = Fmt("26201%010llu", msin);
    return m_opt.bImsiPlain ? imsi : Fmt("%s %s", AT_CIMI_INFO.sz, imsi.constData());
}

QByteArray CSimCore::ClccLine() const
{
    if (m_eCall == CALL_NONE)
        return QByteArray();
    const int dir = m_bCallIncoming ? 1 : 0;
    const int stat = m_eCall == CALL_ACTIVE ? 0 : m_eCall == CALL_RINGING ? 4 : 2;
    QByteArray l = Fmt("%s 1,%d,%d,%d,0", AT_CLCC_INFO.sz, dir, stat, m_bCallData ? 1 : 0);
    if (!m_strCallNumber.isEmpty())
        l += Fmt(",\"%s\",%d", m_strCallNumber.toLatin1().constData(),
                 m_strCallNumber.startsWith(QLatin1Char('+')) ? 145 : 129);
    return l;
}

void CSimCore::FinishSms(bool bSend)
{
    m_bSmsText = false;
    Record(0, m_smsText + (bSend ? AT_END_OF_TEXT : AT_ESCAPE));
    m_smsText.clear();
    if (!bSend)
        return;
    if (m_opt.bSmsFail)
        SendLine(Fmt("%s 500", AT_MESSAGE_ERROR));
    else if (!m_bRegistered)
        SendLine(Fmt("%s 331", AT_MESSAGE_ERROR)); // no network service
    else {
        m_nMessageRef = (m_nMessageRef + 1) % 256;
        SendLine(Fmt("%s %d", AT_CMGS_INFO.sz, m_nMessageRef));
        SendLine(AT_OK);
    }
}

bool CSimCore::IsBusyNumber(const QString& strNumber) const
{
    return m_opt.listBusyNumbers.contains(strNumber);
}

void CSimCore::ExecuteDial(const QByteArray& argIn)
{
    QByteArray arg = argIn;
    const bool bVoice = arg.endsWith(AT_DIAL_VOICE);
    if (bVoice)
        arg.chop(1);
    const char cFirst = arg.isEmpty() ? '\0' : arg.left(1).toUpper().at(0);
    if (cFirst == AT_DIAL_TONE || cFirst == AT_DIAL_PULSE)
        arg = arg.mid(1);
    if (m_eCall == CALL_ACTIVE) {
        // a key during a call is sent as a tone
        const bool bKey = arg.size() == 1 && QByteArray("0123456789*#ABCD").contains(arg[0]);
        SendLine(bKey ? AT_OK : AT_ERROR);
        return;
    }
    if (m_eCall != CALL_NONE || !IsPhoneNumber(arg)) {
        SendLine(AT_ERROR);
        return;
    }
    m_bCallVoiceAt = bVoice;
    StartCall(QString::fromLatin1(arg), !bVoice, false);
}

// ---------------------------------------------------------------- calls

void CSimCore::StartCall(const QString& strNumber, bool bData, bool bVoiceTrace)
{
    if (!m_bRegistered) {
        SendLine(AT_NO_CARRIER);
        return;
    }
    if (bVoiceTrace)
        m_bCallVoiceAt = false;
    m_eCall = CALL_DIALLING;
    m_bCallData = bData;
    m_bCallIncoming = false;
    m_strCallNumber = strNumber;
    if (m_nFlags & (RF_CHAN_REQ_STANDARD | RF_CHAN_REQ_REST)) {
        TraceLine(Fmt("%s Cause Call", ReportName(REPORT_CHAN_REQ)));
        TraceLine(Fmt("%s TS %d", ReportName(REPORT_AGCH), m_nTimeSlot));
    }
    if (m_nFlags & RF_LAYER3)
        TraceLine(Fmt("%s SETUP", ReportName(REPORT_L3_UPLINK)));
    m_pCallTimer->start();
}

void CSimCore::OnCallSetup()
{
    if (m_eCall != CALL_DIALLING)
        return;
    if (IsBusyNumber(m_strCallNumber)) {
        m_eCall = CALL_NONE;
        if (m_nFlags & RF_LAYER3)
            TraceLine(Fmt("%s DISCONNECT Busy", ReportName(REPORT_L3_DOWNLINK)));
        SendLine(AT_BUSY);
        return;
    }
    CallConnected();
    if (m_bCallData)
        SendLine(Fmt("%s 9600", AT_CONNECT));
    else if (m_bCallVoiceAt)
        SendLine(AT_OK);
}

void CSimCore::CallConnected()
{
    if (m_eCall == CALL_RINGING)
        m_bCallIncoming = true;
    m_eCall = CALL_ACTIVE;
    m_nTimeSlot = m_radio.Random(1, 7);
    if (m_nFlags & RF_LAYER3)
        TraceLine(Fmt("%s CONNECT", ReportName(REPORT_L3_DOWNLINK)));
    if (m_nFlags & RF_DED_CHAN_DESC) {
        for (const QByteArray& l : DedicatedChan(m_radio, m_nTimeSlot))
            TraceLine(l);
    }
}

void CSimCore::EndCall(bool bRemote)
{
    if (m_eCall == CALL_NONE)
        return;
    const ECall prev = m_eCall;
    m_eCall = CALL_NONE;
    m_pRingTimer->stop();
    m_pCallTimer->stop();
    m_strCallNumber.clear();
    m_bDescPending = true;
    if (prev == CALL_ACTIVE && (m_nFlags & RF_LAYER3))
        TraceLine(Fmt("%s DISCONNECT", ReportName(REPORT_L3_DOWNLINK)));
    if (bRemote)
        SendLine(AT_NO_CARRIER);
}

bool CSimCore::RingFrom(const QString& strNumber)
{
    if (!m_bBooted || !m_bRegistered || m_eCall != CALL_NONE || m_bSmsText)
        return false;
    m_eCall = CALL_RINGING;
    m_bCallIncoming = true;
    m_bCallData = false;
    m_strCallNumber = strNumber.left(MAX_NUMBER);
    m_nRings = 0;
    OnRing();
    m_pRingTimer->start();
    return true;
}

void CSimCore::OnRing()
{
    if (m_eCall != CALL_RINGING) {
        m_pRingTimer->stop();
        return;
    }
    if (m_nRings >= m_opt.nMaxRings) {
        EndCall(true); // the caller gave up
        return;
    }
    ++m_nRings;
    SendLine(AT_RING);
    if (m_nFlags & (RF_PAGING_STANDARD | RF_PAGING_REST))
        TraceLine(Fmt("%s Paging Request", ReportName(REPORT_PAGE)));
}

void CSimCore::HangUp()
{
    EndCall(true);
}

// ---------------------------------------------------------------- trace port

void CSimCore::TraceLine(const QByteArray& line)
{
    if (m_bPoweredOn && m_outTrace)
        m_outTrace(line + "\r\n");
}

void CSimCore::TraceIn(const QByteArray& bytes)
{
    for (char c : bytes) {
        const CSimTraceParser::SCommand cmd = m_traceParser.Feed(c);
        if (cmd.eCmd != CSimTraceParser::TC_NONE)
            TraceCommand(cmd);
    }
}

void CSimCore::PowerOn()
{
    m_bPoweredOn = true;
    m_bBooted = false;
    m_eSim = m_opt.bNoSim             ? SIM_ABSENT
             : m_opt.bPukRequired     ? SIM_PUK
             : m_opt.strPin.isEmpty() ? SIM_READY
                                      : SIM_PIN;
    m_nPinTries = 3;
    m_nRegPolls = 0;
    m_bRegistered = false;
    m_bRingAfterArmed = false;
    m_nCregMode = 0;
    m_line.clear();
    m_bSmsText = false;
    ResetReports();
    m_pBootTimer->start();
}

void CSimCore::PowerOff()
{
    m_pBootTimer->stop();
    m_pCallTimer->stop();
    m_pRingTimer->stop();
    m_pRingAfterTimer->stop();
    m_eCall = CALL_NONE;
    m_strCallNumber.clear();
    m_bBooted = false;
    m_bRegistered = false;
    m_bSmsText = false;
    m_line.clear();
    ResetReports();
    m_bPoweredOn = false;
}

void CSimCore::ResetReports()
{
    m_nFlags = 0;
    m_eScan = SCAN_OFF;
    m_scanChannels.clear();
    m_bLocked = false;
    m_bDescPending = true;
    UpdateCycleTimer();
}

void CSimCore::UpdateCycleTimer()
{
    const bool bReports = m_bBooted && m_eScan == SCAN_OFF && m_nFlags;
    const bool bRun = (m_bBooted && m_eScan == SCAN_RUNNING) || (bReports && !m_replaying);
    if (m_replaying)
        m_replaying(bReports);
    if (bRun && !m_pCycleTimer->isActive())
        m_pCycleTimer->start();
    else if (!bRun)
        m_pCycleTimer->stop();
}

bool CSimCore::MoveServing(int nArfcn)
{
    if (!m_radio.MoveServing(nArfcn))
        return false;
    ServingChanged();
    return true;
}

void CSimCore::SetLevels(int nServing, const QList<int>& neighbours)
{
    m_radio.SetLevels(nServing, neighbours);
}

void CSimCore::SetCells(const std::vector<CSimCell>& cells, int nTimingAdvance)
{
    const CSimCell before = m_radio.Serving();
    if (!m_radio.SetCells(cells, nTimingAdvance))
        return;
    const CSimCell& now = m_radio.Serving();
    if (now.nArfcn != before.nArfcn || now.nCi != before.nCi || now.nLac != before.nLac)
        ServingChanged();
}

void CSimCore::ServingChanged()
{
    m_bDescPending = true;
    if (m_eCall == CALL_ACTIVE && (m_nFlags & RF_DED_CHAN_DESC)) {
        for (const QByteArray& l : DedicatedChan(m_radio, m_nTimeSlot))
            TraceLine(l);
    }
}

void CSimCore::OnCycle()
{
    m_radio.Drift();
    if (m_eScan == SCAN_RUNNING)
        ScanCycle();
    else if (m_opt.bNoCoverage)
        ; // nothing received
    else if (m_eCall == CALL_ACTIVE)
        DedicatedCycle();
    else
        IdleCycle();
    ++m_nCycle;
}

void CSimCore::IdleCycle()
{
    const unsigned f = m_nFlags;
    const CSimRadio& r = m_radio;
    const CSimCell& s = r.Serving();
    if (f & RF_IDLE_STANDARD) {
        TraceLine(IdleModeRpt(r));
        for (int i = 0; i < CSimRadio::NEIGHBOURS; ++i)
            TraceLine(NCell(r, i, false));
    }
    if (f & RF_IDLE_FULL) {
        TraceLine(FullIdleReport(r));
        for (int i = 0; i < CSimRadio::NEIGHBOURS; ++i)
            TraceLine(NCell(r, i, true));
    }
    if (f & (RF_IDLE_STANDARD | RF_IDLE_FULL))
        TraceLine(CellId(s));
    if ((f & RF_FULL_IDLE_CHAN_DESC) && (m_bDescPending || m_nCycle % 10 == 0)) {
        for (const QByteArray& l : FullIdleDesc(r))
            TraceLine(l);
    }
    if ((f & RF_IDLE_CHAN_DESC) && m_bDescPending)
        TraceLine(IdleChannel(r));
    m_bDescPending = false;
    if (f & RF_ANY_BCCH) {
        TraceLine(BcchReport(r, m_nBcchType % 4 + 1, m_nBcchBlock++));
        m_nBcchType = (m_nBcchType + 1) % 4;
    }
    if (f & RF_PATH_LOSS)
        TraceLine(Fmt("%s C1 %d", ReportName(REPORT_PATH_LOSS), s.nLevel - 10));
    if (f & RF_C2)
        TraceLine(Fmt("%s C2 %d", ReportName(REPORT_C2), s.nLevel - 10));
    if (f & RF_LAYER1)
        TraceLine(Fmt("%s BCCH %d", ReportName(REPORT_L1_DOWNLINK), s.nArfcn));
    if ((f & (RF_PAGING_STANDARD | RF_PAGING_REST)) && m_nCycle % 5 == 0)
        TraceLine(Fmt("%s Paging Normal", ReportName(REPORT_PAGE)));
    if ((f & RF_SYNCH) && m_nCycle % 5 == 0)
        TraceLine(Fmt("%s BCCH %d BSIC %d", ReportName(REPORT_SYNCH), s.nArfcn, s.nBsic));
}

void CSimCore::DedicatedCycle()
{
    const unsigned f = m_nFlags;
    m_nPowerLevel = qBound(5, m_nPowerLevel + m_radio.Random(-1, 1), 10);
    if (f & (RF_DED_STANDARD | RF_DED_FER)) {
        TraceLine(DedicatedRpt(m_radio, m_nPowerLevel, f & RF_DED_FER));
        for (int i = 0; i < CSimRadio::NEIGHBOURS; ++i)
            TraceLine(NCell(m_radio, i, false));
    }
    if (f & RF_DED_FULL) {
        TraceLine(FullDedReport(m_radio, m_nPowerLevel));
        for (int i = 0; i < CSimRadio::NEIGHBOURS; ++i)
            TraceLine(NCell(m_radio, i, false));
    }
    if (f & (RF_SACCH_STANDARD | RF_SACCH_COMPLETE))
        TraceLine(Fmt("%s TA %d PWR %d", ReportName(REPORT_SACCH), m_radio.TimingAdvance(),
                      m_nPowerLevel));
    if (f & RF_LAYER1)
        TraceLine(Fmt("%s PWR %d", ReportName(REPORT_L1_UPLINK), m_nPowerLevel));
}

void CSimCore::ScanCycle()
{
    TraceLine(Fmt("%s Cycle %d", ReportName(REPORT_RF_SCAN), ++m_nScanCycle));
    QByteArray line;
    int nPairs = 0;
    for (int ch : m_scanChannels) {
        const int lev = m_opt.bNoCoverage ? m_radio.Random(0, 6) : m_radio.ScanLevel(ch);
        line += Fmt(nPairs ? " %d %d" : "%d %d", ch, lev);
        if (++nPairs == SCAN_PAIRS_PER_LINE) {
            TraceLine(line);
            line.clear();
            nPairs = 0;
        }
    }
    if (nPairs)
        TraceLine(line);
}
