// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimReplay.h"

#include <QTimer>
#include <climits>
#include <cmath>

#include "protocol/AtCommands.h"
#include "serial/TrafficLog.h"

namespace {
constexpr auto kCallList = AtName(AT_CLCC);
// Received data-port lines that the module sends of its own accord.
const char* const UNSOLICITED[] = {AT_RING, AT_NO_CARRIER, kCallList};
// More unread output than this and the next line waits for the reader.
const qint64 MAX_BACKLOG = 1024;
const int BACKLOG_RETRY_MS = 2;
// Lines sent in one go before the event loop gets its turn again.
const int MAX_BURST = 64;
const qint64 PROGRESS_MS = 5000;
// A longer or backward step between two times is a clock that was set, not
// a pause of the module: the line follows at once.
const qint64 MAX_GAP_MS = 3600 * 1000;
} // namespace

CSimReplay::CSimReplay(const CSimReplayOptions& opt, QObject* pParent)
    : QObject(pParent), m_opt(opt), m_pTimer(new QTimer(this))
{
    m_pTimer->setSingleShot(true);
    m_pTimer->setTimerType(Qt::PreciseTimer);
    connect(m_pTimer, &QTimer::timeout, this, &CSimReplay::PlayDue);
    m_clock.start();
}

CSimReplay::~CSimReplay() = default;

bool CSimReplay::IsUnsolicited(const QByteArray& line)
{
    for (const char* p : UNSOLICITED) {
        if (line.startsWith(p))
            return true;
    }
    return false;
}

bool CSimReplay::IsPlayable(const SLogEntry& e) const
{
    if (e.bSent)
        return false;
    return e.nChannel == LOG_TRACE || (m_opt.bData && IsUnsolicited(e.text));
}

bool CSimReplay::Open(QString* pError)
{
    QString why;
    if (m_log.Open(m_opt.strFile, &why) != CSessionLog::SL_OK) {
        *pError = QStringLiteral("cannot read %1: %2").arg(m_opt.strFile, why);
        return false;
    }
    SLogEntry e;
    m_nTotal = 0;
    while (m_log.Next(&e)) {
        if (!IsPlayable(e))
            continue;
        if (m_nTotal++ == 0)
            m_bTimed = e.nTime >= 0;
    }
    m_nSkipped = m_log.Skipped();
    if (m_nTotal == 0) {
        *pError = QStringLiteral("%1 holds no received lines to replay (%2 lines, %3 of them no "
                                 "log entry)")
                      .arg(m_opt.strFile)
                      .arg(m_log.Lines())
                      .arg(m_nSkipped);
        return false;
    }
    m_log.Rewind();
    m_nPlayed = 0;
    Fetch();
    return true;
}

void CSimReplay::SetOutput(Output out, Backlog backlog)
{
    m_out = std::move(out);
    m_backlog = std::move(backlog);
}

QString CSimReplay::Summary() const
{
    return QStringLiteral("replay: %1, %2 lines to play (%3), %4 lines skipped; starts when the "
                          "panel selects its reports")
        .arg(m_opt.strFile)
        .arg(m_nTotal)
        .arg(m_bTimed ? QStringLiteral("recorded times")
                      : QStringLiteral("%1 lines a second").arg(m_opt.nRate))
        .arg(m_nSkipped);
}

QString CSimReplay::Position() const
{
    return QStringLiteral("%1 of %2 lines").arg(m_nPlayed).arg(m_nTotal);
}

QString CSimReplay::NextLine() const
{
    if (!m_bPending)
        return QStringLiteral("the end, %1 played").arg(Position());
    return QStringLiteral("line %1 of %2").arg(m_nPlayed + 1).arg(m_nTotal);
}

void CSimReplay::Report(const QString& strText)
{
    if (m_progress)
        m_progress(QStringLiteral("replay: ") + strText);
}

bool CSimReplay::Fetch()
{
    SLogEntry e;
    while (m_log.Next(&e)) {
        if (IsPlayable(e)) {
            m_pending = e;
            m_bPending = true;
            return true;
        }
    }
    m_bPending = false;
    return false;
}

qint64 CSimReplay::GapMs(const SLogEntry& prev, const SLogEntry& next) const
{
    if (prev.nTime < 0 || next.nTime < 0)
        return 1000 / qMax(1, m_opt.nRate);
    const qint64 d = next.nTime - prev.nTime;
    if (d < 0 || d > MAX_GAP_MS || m_opt.dSpeed <= 0)
        return 0;
    return std::llround(static_cast<double>(d) / m_opt.dSpeed);
}

void CSimReplay::Arm()
{
    if (!m_bReportsOn || m_bPaused || !m_bPending) {
        m_pTimer->stop();
        return;
    }
    m_pTimer->start(
        static_cast<int>(qBound(qint64(0), m_nDueMs - m_clock.elapsed(), qint64(INT_MAX))));
}

void CSimReplay::PlayDue()
{
    // What goes out in one turn counts against the backlog at once: the line
    // takes a moment to show it.
    qint64 nBurst = 0;
    for (int n = 0; n < MAX_BURST; ++n) {
        if (!m_bReportsOn || m_bPaused || !m_bPending)
            return;
        const qint64 now = m_clock.elapsed();
        if (m_nDueMs > now)
            break;
        const int nPort = m_pending.nChannel == LOG_TRACE ? 1 : 0;
        const qint64 nSize = m_pending.text.size() + 2;
        const qint64 nAhead = nBurst + (m_backlog ? m_backlog(nPort) : 0);
        if (nAhead > 0 && nAhead + nSize > MAX_BACKLOG) {
            // the reader is behind: the rest of the schedule moves with it
            m_nDueMs = now + BACKLOG_RETRY_MS;
            break;
        }
        if (m_out)
            m_out(nPort, m_pending.text);
        nBurst += nSize;
        ++m_nPlayed;
        m_last = m_pending;
        if (now - m_nLastProgressMs >= PROGRESS_MS) {
            m_nLastProgressMs = now;
            Report(Position());
        }
        if (!Fetch()) {
            AtEnd();
            break;
        }
        m_nDueMs += GapMs(m_last, m_pending);
    }
    Arm();
}

void CSimReplay::AtEnd()
{
    Report(QStringLiteral("end of file, %1 played").arg(Position()));
    if (!m_opt.bLoop)
        return;
    m_log.Rewind();
    m_nPlayed = 0;
    if (!Fetch())
        return; // the file went away meanwhile
    m_nDueMs = m_clock.elapsed() + (m_bTimed ? 0 : GapMs(SLogEntry(), m_pending));
    Report(QStringLiteral("starting again"));
}

void CSimReplay::SetReportsOn(bool bOn)
{
    if (bOn == m_bReportsOn)
        return;
    m_bReportsOn = bOn;
    if (!bOn) {
        m_pTimer->stop();
        if (m_bStarted && m_bPending)
            Report(QStringLiteral("held at %1 (the module emits no reports)").arg(NextLine()));
        return;
    }
    if (m_bPending)
        Report(QStringLiteral("playing from %1").arg(NextLine()));
    m_bStarted = true;
    m_nDueMs = m_clock.elapsed();
    Arm();
}

void CSimReplay::Pause()
{
    m_bPaused = true;
    m_pTimer->stop();
}

void CSimReplay::Resume()
{
    if (!m_bPaused)
        return;
    m_bPaused = false;
    m_nDueMs = m_clock.elapsed();
    Arm();
}

bool CSimReplay::Seek(int n)
{
    if (n < 1 || n > m_nTotal)
        return false;
    m_log.Rewind();
    m_bPending = false;
    for (int i = 0; i < n && Fetch(); ++i) {
    }
    m_nPlayed = n - 1;
    m_nDueMs = m_clock.elapsed();
    Arm();
    return true;
}
