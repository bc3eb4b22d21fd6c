// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/SessionReview.h"

#include <QFileInfo>
#include <algorithm>

#include "control/TessolyDlg.h"

namespace {
// Lines presented at a time when playing as fast as possible, so that the
// window keeps answering between them.
const size_t kFastestBatch = 2000;
} // namespace

CSessionReview::CSessionReview(CTessolyDlg* pPanel, QObject* pParent)
    : QObject(pParent), m_pPanel(pPanel)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CSessionReview::OnPlayTimer);
}

CSessionReview::~CSessionReview() = default;

int CSessionReview::Open(const QString& strPath, QString* pError)
{
    CSessionLog log;
    QString error;
    if (log.Open(strPath, &error) != CSessionLog::SL_OK) {
        if (pError)
            *pError = error;
        return SR_OPEN_FAILED;
    }
    std::vector<SLogEntry> entries;
    SLogEntry e;
    while (log.Next(&e)) {
        // A saved log has no times: nothing to place on a timeline.
        if (e.nTime >= 0 && (e.nChannel == LOG_DATA || e.nChannel == LOG_TRACE))
            entries.push_back(e);
    }
    if (entries.empty()) {
        if (pError)
            *pError = QStringLiteral("%1 holds no recorded line of the ports to review.")
                          .arg(QFileInfo(strPath).fileName());
        return SR_NOTHING;
    }
    // Lines keep their order; a clock set back during the drive must not
    // make the timeline run backwards.
    for (size_t i = 1; i < entries.size(); ++i)
        entries[i].nTime = std::max(entries[i].nTime, entries[i - 1].nTime);
    Pause();
    m_entries = std::move(entries);
    m_strPath = strPath;
    m_nBegin = m_entries.front().nTime;
    m_nEnd = m_entries.back().nTime;
    m_pPanel->SetReview(true);
    m_nNext = m_entries.size(); // forces a start from the beginning
    m_nPosition = m_nBegin;
    PresentUpTo(m_nBegin);
    emit PositionChanged(m_nPosition);
    return SR_OK;
}

void CSessionReview::Close()
{
    Pause();
    if (m_entries.empty())
        return;
    m_entries.clear();
    m_strPath.clear();
    m_pPanel->ResetForReview();
    m_pPanel->SetReview(false);
}

void CSessionReview::Seek(qint64 nTime)
{
    if (m_entries.empty())
        return;
    nTime = std::clamp(nTime, m_nBegin, m_nEnd);
    PresentUpTo(nTime);
    m_nPosition = nTime;
    if (IsPlaying()) {
        m_nPlayFrom = nTime;
        m_playClock.restart();
        ScheduleNext();
    }
    emit PositionChanged(m_nPosition);
}

void CSessionReview::PresentUpTo(qint64 nTime)
{
    const auto later = std::upper_bound(m_entries.begin(), m_entries.end(), nTime,
                                        [](qint64 t, const SLogEntry& e) { return t < e.nTime; });
    const size_t nEnd = static_cast<size_t>(later - m_entries.begin());
    m_pPanel->HoldForm(true);
    if (nEnd < m_nNext) {
        m_pPanel->ResetForReview();
        m_nNext = 0;
    }
    for (; m_nNext < nEnd; ++m_nNext)
        PresentEntry(m_entries[m_nNext]);
    m_pPanel->ReviewClock(nTime);
    m_pPanel->HoldForm(false);
}

void CSessionReview::PresentEntry(const SLogEntry& e)
{
    const QString line = QString::fromLatin1(e.text);
    m_pPanel->ReviewClock(e.nTime);
    if (e.bSent)
        m_pPanel->ReviewSentLine(e.nChannel, line);
    else if (e.nChannel == LOG_TRACE)
        m_pPanel->HandleTraceLine(line);
    else
        m_pPanel->HandleDataLine(line);
}

void CSessionReview::Play(int nSpeed)
{
    if (m_entries.empty())
        return;
    m_nSpeed = std::clamp(nSpeed, int(SPEED_FASTEST), 16);
    if (m_nPosition >= m_nEnd)
        Seek(m_nBegin);
    const bool bWasPlaying = IsPlaying();
    m_nPlayFrom = m_nPosition;
    m_playClock.start();
    ScheduleNext();
    if (!bWasPlaying)
        emit PlayingChanged(true);
}

void CSessionReview::Pause()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    emit PlayingChanged(false);
}

void CSessionReview::ScheduleNext()
{
    if (m_nNext >= m_entries.size()) {
        m_timer.stop();
        return;
    }
    if (m_nSpeed == SPEED_FASTEST) {
        m_timer.start(0);
        return;
    }
    // The wall-clock time at which the next line falls due.
    const qint64 nDue = (m_entries[m_nNext].nTime - m_nPlayFrom) / m_nSpeed;
    m_timer.start(static_cast<int>(std::clamp<qint64>(nDue - m_playClock.elapsed(), 0, 3600000)));
}

void CSessionReview::OnPlayTimer()
{
    qint64 nTime;
    if (m_nSpeed == SPEED_FASTEST) {
        const size_t nLast = std::min(m_nNext + kFastestBatch, m_entries.size()) - 1;
        nTime = m_entries[nLast].nTime;
    } else {
        nTime = std::min(m_nPlayFrom + m_playClock.elapsed() * m_nSpeed, m_nEnd);
    }
    PresentUpTo(nTime);
    m_nPosition = nTime;
    emit PositionChanged(m_nPosition);
    if (m_nNext >= m_entries.size()) {
        m_nPosition = m_nEnd;
        Pause();
        return;
    }
    ScheduleNext();
}
